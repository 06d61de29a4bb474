// Primitive encodings of the model file, checked against hand-written bytes
// and against the model writer's encoder.
#include <cmath>
#include <cstring>
#include <limits>

#include "mesh2d/io/ByteBuffer.h"
#include "tests/mesh2d/ReaderTestSupport.h"
#include "tools/modelwriter/Encoder.h"

namespace mesh2d::test {
namespace {

using Bytes = std::vector<uint8_t>;

class ByteBufferTest : public ReaderRuntimeTest {};

struct NumCase {
    Bytes bytes;
    int value;
    int consumed;
    bool error;
};

TEST_F(ByteBufferTest, ReadNumDecodesOneToFourBytesAndRejectsAFifth) {
    const NumCase cases[] = {
        {{0x00}, 0, 1, false},
        {{0x7F}, 127, 1, false},
        {{0x81, 0x00}, 128, 2, false},
        {{0xFF, 0x7F}, 16383, 2, false},
        {{0x81, 0x80, 0x00}, 16384, 3, false},
        {{0x81, 0x80, 0x80, 0x00}, 1 << 21, 4, false},
        {{0xFF, 0xFF, 0xFF, 0x7F}, 268435455, 4, false},
        {{0x80, 0x80, 0x80, 0x80}, 0, 4, true},
        {{0x81}, 0, 1, true},  // continuation without a next byte
    };
    for (const NumCase& c : cases) {
        ByteBuffer bb(c.bytes.data(), static_cast<int>(c.bytes.size()));
        EXPECT_EQ(bb.readNum(), c.value) << c.value;
        EXPECT_EQ(bb.hasError(), c.error) << c.value;
        if (!c.error) {
            EXPECT_EQ(bb.getPosition(), c.consumed);
        }
    }
    const Bytes bad = {0x80, 0x80, 0x80, 0x80};
    ByteBuffer bb(bad.data(), 4);
    bb.readNum();
    EXPECT_STREQ(bb.getErrorText(), "[4] readNum error");
}

TEST_F(ByteBufferTest, WriterEncodingOfNumbersReadsBack) {
    const uint32_t values[] = {0, 1, 127, 128, 16383, 16384, 2097151, 2097152, 268435455};
    for (uint32_t v : values) {
        modelwriter::Encoder enc;
        enc.num(v);
        ByteBuffer bb(enc.bytes().data(), static_cast<int>(enc.bytes().size()));
        EXPECT_EQ(bb.readNum(), static_cast<int>(v));
        EXPECT_EQ(bb.getRemaining(), 0) << v;
        EXPECT_FALSE(bb.hasError());
    }
}

TEST_F(ByteBufferTest, FixedSizeNumbersAreBigEndian) {
    const Bytes bytes = {0xFF, 0xFF, 0xFF, 0xFE,                          // int -2
                         0x3F, 0xC0, 0x00, 0x00,                          // float 1.5
                         0xC0, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // double -2.5
                         0x80,                                            // byte -128
                         0x02, 0x00};                                     // booleans
    ByteBuffer bb(bytes.data(), static_cast<int>(bytes.size()));
    EXPECT_EQ(bb.readInt(), -2);
    EXPECT_EQ(bb.readFloat(), 1.5f);
    EXPECT_EQ(bb.readDouble(), -2.5);
    EXPECT_EQ(bb.readByte(), -128);
    EXPECT_TRUE(bb.readBoolean());
    EXPECT_FALSE(bb.readBoolean());
    EXPECT_FALSE(bb.hasError());
    EXPECT_EQ(bb.getRemaining(), 0);
}

TEST_F(ByteBufferTest, DataInHostOrderIsReadWithoutSwapping) {
    const Bytes bytes = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x3F, 0x01, 0x02, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00};
    ByteBuffer bb(bytes.data(), static_cast<int>(bytes.size()));
    bb.setDataBigEndian(false);  // the test host is little-endian
    EXPECT_EQ(bb.readInt(), 1);
    EXPECT_EQ(bb.readFloat(), 1.5f);
    int n = 0;
    const Bytes rest(bytes.begin() + 8, bytes.end());
    // One element: low half of 0x00000201 in file order is its first two bytes.
    modelwriter::Encoder enc;
    enc.num(2);
    enc.raw(rest);
    ByteBuffer arrays(enc.bytes().data(), static_cast<int>(enc.bytes().size()));
    arrays.setDataBigEndian(false);
    uint16_t* shorts = arrays.readArrayIntAsUShort(UtMemory::getTmpMemoryParam(), &n);
    ASSERT_EQ(n, 2);
    EXPECT_EQ(shorts[0], 0x0201);
    EXPECT_EQ(shorts[1], 5);
    UtMemory::free(shorts);
}

TEST_F(ByteBufferTest, FirstErrorIsStickyAndLaterReadsYieldZero) {
    const Bytes bytes = {0x00, 0x00, 0x00, 0x01, 0x05};
    ByteBuffer bb(bytes.data(), static_cast<int>(bytes.size()));
    EXPECT_EQ(bb.readInt(), 1);
    EXPECT_EQ(bb.readInt(), 0);  // only one byte left
    EXPECT_STREQ(bb.getErrorText(), "[4] range error");
    EXPECT_EQ(bb.readByte(), 0);  // the byte is there, but the read already failed
    EXPECT_EQ(bb.getPosition(), 4);
    int count = -1;
    EXPECT_EQ(bb.readArrayFloat(UtMemory::getTmpMemoryParam(), &count), nullptr);
    EXPECT_EQ(count, 0);
}

TEST_F(ByteBufferTest, StringsAreCopiedOrViewedInPlace) {
    const Bytes bytes = {0x03, 'a', 'b', 'c', 0x02, 'x', 'y', 0x05, 'z'};
    ByteBuffer bb(bytes.data(), static_cast<int>(bytes.size()));
    LDString* s = bb.readString(UtMemory::getTmpMemoryParam());
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(*s == "abc");
    delete s;
    const StringRef ref = bb.readStringRef();
    EXPECT_EQ(ref.length(), 2);
    EXPECT_EQ(ref.ptr(), reinterpret_cast<const char*>(bytes.data() + 5));
    EXPECT_EQ(bb.readString(UtMemory::getTmpMemoryParam()), nullptr);  // claims 5, holds 1
    EXPECT_TRUE(bb.hasError());
}

TEST_F(ByteBufferTest, ArraysDecodeEveryElementForm) {
    modelwriter::Encoder enc;
    enc.vectorInt({1, -1, 0x12345678});       // readArrayInt
    enc.vectorInt({0x00010002, 0x7FFFFFFF});  // readArrayIntAsUShort keeps the low halves
    enc.vectorFloat({0.5f, -8.0f});
    enc.num(2);
    enc.f64(1.25);
    enc.f64(-3.0);
    enc.vectorInt({7, 8});
    enc.vectorFloat({});
    const Bytes& bytes = enc.bytes();
    ByteBuffer bb(bytes.data(), static_cast<int>(bytes.size()));
    MemoryParam* p = UtMemory::getTmpMemoryParam();
    int n = 0;
    int32_t* ints = bb.readArrayInt(p, &n);
    ASSERT_EQ(n, 3);
    EXPECT_EQ(ints[0], 1);
    EXPECT_EQ(ints[1], -1);
    EXPECT_EQ(ints[2], 0x12345678);
    uint16_t* shorts = bb.readArrayIntAsUShort(p, &n);
    ASSERT_EQ(n, 2);
    EXPECT_EQ(shorts[0], 2);
    EXPECT_EQ(shorts[1], 0xFFFF);
    float* floats = bb.readArrayFloat(p, &n);
    ASSERT_EQ(n, 2);
    EXPECT_EQ(floats[0], 0.5f);
    EXPECT_EQ(floats[1], -8.0f);
    double* doubles = bb.readArrayDouble(p, &n);
    ASSERT_EQ(n, 2);
    EXPECT_EQ(doubles[0], 1.25);
    EXPECT_EQ(doubles[1], -3.0);
    LDVector<int>* vi = bb.readVectorInt(p);
    ASSERT_EQ(vi->size(), 2);
    EXPECT_EQ((*vi)[1], 8);
    LDVector<float>* vf = bb.readVectorFloat(p);
    EXPECT_EQ(vf->size(), 0);
    EXPECT_FALSE(bb.hasError());
    EXPECT_EQ(bb.getRemaining(), 0);
    for (void* block : {static_cast<void*>(ints), static_cast<void*>(shorts), static_cast<void*>(floats),
                        static_cast<void*>(doubles)}) {
        UtMemory::free(block);
    }
    delete vi;
    delete vf;
}

// A count is accepted only when count x element size fits in what remains:
// a 10-byte file must not be able to ask for 2^28 elements.
TEST_F(ByteBufferTest, ArrayCountsBeyondTheRemainingBytesAreRefused) {
    struct Case {
        uint32_t count;
        int payloadBytes;
        int elementSize;
    };
    const Case cases[] = {{268435455, 6, 4}, {3, 8, 4}, {2, 12, 8}, {1, 3, 4}};
    for (const Case& c : cases) {
        for (int form = 0; form < 5; ++form) {
            if ((form == 3) != (c.elementSize == 8)) continue;  // the double form for 8-byte cases only
            modelwriter::Encoder enc;
            enc.num(c.count);
            for (int i = 0; i < c.payloadBytes; ++i) enc.byte(0);
            ByteBuffer bb(enc.bytes().data(), static_cast<int>(enc.bytes().size()));
            MemoryParam* p = UtMemory::getTmpMemoryParam();
            int n = -1;
            void* result = nullptr;
            switch (form) {
                case 0: result = bb.readArrayInt(p, &n); break;
                case 1: result = bb.readArrayIntAsUShort(p, &n); break;
                case 2: result = bb.readArrayFloat(p, &n); break;
                case 3: result = bb.readArrayDouble(p, &n); break;
                case 4: {
                    LDVector<float>* v = bb.readVectorFloat(p);
                    ASSERT_NE(v, nullptr);
                    EXPECT_EQ(v->size(), 0);
                    delete v;
                    n = 0;
                    break;
                }
            }
            EXPECT_EQ(result, nullptr) << c.count << " form " << form;
            EXPECT_EQ(n, 0);
            EXPECT_NE(std::strstr(bb.getErrorText(), "illegal size of array"), nullptr) << bb.getErrorText();
        }
    }
}

TEST_F(ByteBufferTest, NonFiniteFloatsAreNoticed) {
    const float oddValues[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                              -std::numeric_limits<float>::infinity()};
    for (float oddValue : oddValues) {
        for (bool asArray : {false, true}) {
            modelwriter::Encoder enc;
            if (asArray) {
                enc.vectorFloat({1.0f, oddValue});
            } else {
                enc.f32(oddValue);
            }
            ByteBuffer bb(enc.bytes().data(), static_cast<int>(enc.bytes().size()));
            int n = 0;
            if (asArray) {
                UtMemory::free(bb.readArrayFloat(UtMemory::getTmpMemoryParam(), &n));
            } else {
                bb.readFloat();
            }
            EXPECT_TRUE(bb.sawNonFiniteFloat());
        }
    }
    modelwriter::Encoder fine;
    fine.f32(std::numeric_limits<float>::max());
    fine.f32(std::numeric_limits<float>::denorm_min());
    ByteBuffer bb(fine.bytes().data(), 8);
    bb.readFloat();
    bb.readFloat();
    EXPECT_FALSE(bb.sawNonFiniteFloat());
}

TEST_F(ByteBufferTest, AnEmptyOrNullBufferFailsCleanly) {
    ByteBuffer empty(nullptr, 100);
    EXPECT_EQ(empty.getSize(), 0);
    EXPECT_EQ(empty.readNum(), 0);
    EXPECT_TRUE(empty.hasError());
    const uint8_t one = 1;
    ByteBuffer negative(&one, -5);
    EXPECT_EQ(negative.readByte(), 0);
    EXPECT_TRUE(negative.hasError());
}

}  // namespace
}  // namespace mesh2d::test
