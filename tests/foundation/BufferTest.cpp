#include "foundation/Buffer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace {

void* block(const char* text) {
    void* p = std::malloc(std::strlen(text));
    std::memcpy(p, text, std::strlen(text));
    return p;
}

TEST(Buffer, NewBufferIsEmptyAndAdoptTakesTheBlockAsItIs) {
    RK::Buffer buffer;
    EXPECT_TRUE(buffer.isEmpty());
    EXPECT_EQ(buffer.data(), nullptr);
    void* p = block("abc");
    buffer.adopt(p, 3);
    EXPECT_FALSE(buffer.isEmpty());
    EXPECT_EQ(buffer.data(), p);
    EXPECT_EQ(buffer.length(), 3);
    buffer.clear();
    EXPECT_TRUE(buffer.isEmpty());
    EXPECT_EQ(buffer.data(), nullptr);
    EXPECT_EQ(buffer.length(), 0);
}

TEST(Buffer, ZeroLengthBlockCountsAsEmpty) {
    RK::Buffer buffer;
    buffer.adopt(std::malloc(1), 0);
    EXPECT_TRUE(buffer.isEmpty());
}

// Under LeakSanitizer the first block would be reported if adopt dropped it.
TEST(Buffer, AdoptingIntoAUsedBufferFreesTheOldBlock) {
    RK::Buffer buffer;
    buffer.adopt(block("first"), 5);
    void* second = block("second");
    buffer.adopt(second, 6);
    EXPECT_EQ(buffer.data(), second);
    EXPECT_EQ(buffer.length(), 6);
    buffer.adopt(second, 6);  // the same block again stays valid
    EXPECT_EQ(std::memcmp(buffer.data(), "second", 6), 0);
}

TEST(Buffer, MoveTransfersOwnership) {
    RK::Buffer a;
    a.adopt(block("xyz"), 3);
    RK::Buffer b(std::move(a));
    EXPECT_TRUE(a.isEmpty());
    EXPECT_EQ(b.length(), 3);
    RK::Buffer c;
    c.adopt(block("old"), 3);
    c = std::move(b);
    EXPECT_TRUE(b.isEmpty());
    EXPECT_EQ(std::memcmp(c.data(), "xyz", 3), 0);
}

}  // namespace
