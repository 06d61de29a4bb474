// Hash, equality, construction and concatenation of LDString.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "Mesh2DTestSupport.h"
#include "mesh2d/type/LDString.h"
#include "mesh2d/type/StringRef.h"
#include "mesh2d/util/UtMemory.h"

namespace mesh2d {
namespace {

using LDStringTest = test::RuntimeTest;

TEST_F(LDStringTest, HashWeightsTheFirstByteLowestAndReservesMinusOne)
{
    const struct {
        std::string bytes;
        int hash;
    } cases[] = {
        {"a", 97},
        {"ab", 97 + 31 * 98},
        {"", -1},
        {std::string("\xff", 1), -2},        // -1 as a signed byte would collide with the empty mark
        {std::string("\x80", 1), -128},      // bytes are signed
        {"abc", 97 + 31 * 98 + 31 * 31 * 99},
    };
    for (const auto& c : cases) {
        LDString s(c.bytes.data(), static_cast<int>(c.bytes.size()));
        EXPECT_EQ(s.getHashcode(), c.hash) << c.bytes;
        EXPECT_EQ(LDString::calcHash(c.bytes.data(), static_cast<int>(c.bytes.size())), c.hash);
    }
    // Wrapping 32-bit arithmetic on a long name.
    const std::string longName(200, 'z');
    uint32_t h = 0;
    for (int i = 199; i >= 0; --i) h = static_cast<uint32_t>('z') + 31u * h;
    EXPECT_EQ(LDString(longName.c_str()).getHashcode(), static_cast<int32_t>(h));
}

TEST_F(LDStringTest, EqualityNeedsLengthHashAndEveryByte)
{
    EXPECT_EQ(LDString("PARAM_BUST"), LDString("PARAM_BUST"));
    // Same hash (97 + 31·0 = 97), one byte longer.
    LDString a("a");
    LDString aNul("a\0", 2);
    ASSERT_EQ(a.getHashcode(), aNul.getHashcode());
    EXPECT_NE(a, aNul);
    // Same length and hash, different bytes: 97 + 31·65 = 66 + 31·66.
    LDString x("aA");
    LDString y("BB");
    ASSERT_EQ(x.getHashcode(), y.getHashcode());
    EXPECT_NE(x, y);
    EXPECT_TRUE(x == "aA");
    EXPECT_FALSE(x == "aAx");
    EXPECT_FALSE(x == "a");
    EXPECT_TRUE(LDString() == "");
    EXPECT_EQ(LDString(), LDString(""));
}

TEST_F(LDStringTest, EmptyStringHasNoBufferButPrintableCharacters)
{
    LDString s;
    EXPECT_EQ(s.length(), 0);
    EXPECT_EQ(s.getHashcode(), -1);
    EXPECT_STREQ(s.c_str(), "");
    LDString t("text");
    t.clear();
    EXPECT_EQ(t.length(), 0);
    EXPECT_EQ(t.getHashcode(), -1);
    EXPECT_STREQ(t.c_str(), "");
}

TEST_F(LDStringTest, ConstructionFormsAgree)
{
    const char bytes[] = "EYE_L_OPEN and more";
    LDString fromBytes(bytes, 10);
    LDString fromRef(StringRef(bytes, 10));
    LDString fromChars("EYE_L_OPEN");
    LDString copy(fromChars);
    for (const LDString* s : {&fromBytes, &fromRef, &copy}) {
        EXPECT_EQ(*s, fromChars);
        EXPECT_EQ(s->c_str()[10], '\0');
        EXPECT_NE(s->c_str(), fromChars.c_str());  // own buffers
    }
    EXPECT_NE(fromBytes.getSerial(), fromRef.getSerial());
}

TEST_F(LDStringTest, TakeOverAdoptsTheBuffer)
{
    auto* buffer = static_cast<char*>(LD_MALLOC(nullptr, 4));
    std::memcpy(buffer, "abc", 4);
    LDString adopted(buffer, 3, nullptr, 1);
    EXPECT_EQ(adopted.c_str(), buffer);
    EXPECT_EQ(adopted, "abc");
    char local[] = "xyz";
    LDString copied(local, 3, nullptr, 0);
    EXPECT_NE(copied.c_str(), local);
    EXPECT_EQ(copied, "xyz");
}

TEST_F(LDStringTest, AssignmentReplacesTextAndHash)
{
    LDString s("first");
    s = "second value";
    EXPECT_EQ(s, "second value");
    EXPECT_EQ(s.getHashcode(), LDString("second value").getHashcode());
    LDString other("third");
    s = other;
    EXPECT_EQ(s, other);
    s = s;
    EXPECT_EQ(s, "third");
    s = s.c_str() + 2;  // from its own bytes
    EXPECT_EQ(s, "ird");
    s = "";
    EXPECT_EQ(s.getHashcode(), -1);
}

TEST_F(LDStringTest, ConcatenationJoinsIntoANewString)
{
    LDString a("PARAM_");
    LDString joined = a + LDString("ANGLE_X");
    EXPECT_EQ(joined, "PARAM_ANGLE_X");
    EXPECT_EQ(joined.getHashcode(), LDString("PARAM_ANGLE_X").getHashcode());
    EXPECT_EQ(a + "", "PARAM_");
    EXPECT_EQ(LDString() + "tail", "tail");
    EXPECT_EQ((LDString() + LDString()).length(), 0);
    EXPECT_EQ(a, "PARAM_");
}

}  // namespace
}  // namespace mesh2d
