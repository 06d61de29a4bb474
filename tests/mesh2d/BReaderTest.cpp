// The object stream: every class number of the table, reference numbering,
// back-references, bits, and the errors that end a read.
#include <cstring>

#include "mesh2d/id/BaseDataID.h"
#include "mesh2d/id/DrawDataID.h"
#include "mesh2d/id/ParamID.h"
#include "mesh2d/id/PartsDataID.h"
#include "mesh2d/io/BReader.h"
#include "mesh2d/io/FileFormat2.h"
#include "mesh2d/model/AvatarPartsItem.h"
#include "mesh2d/type/LDAffineTransform.h"
#include "mesh2d/type/LDColor.h"
#include "mesh2d/type/LDPoint.h"
#include "mesh2d/type/LDPointF.h"
#include "mesh2d/type/LDRect.h"
#include "mesh2d/type/LDRectF.h"
#include "tests/mesh2d/ReaderTestSupport.h"
#include "tools/modelwriter/Encoder.h"

namespace mesh2d::test {
namespace {

using Bytes = std::vector<uint8_t>;
using F = FileFormat2;

class BReaderTest : public ReaderRuntimeTest {
protected:
    MemoryParam* tmp() { return UtMemory::getTmpMemoryParam(); }
};

TEST_F(BReaderTest, NullClassesTakeAReferenceNumberAndConsumeNothing) {
    for (int cls : {0, 16, 48, 49, 99, 135, 200, 100000}) {
        modelwriter::Encoder enc;
        enc.num(static_cast<uint32_t>(cls));
        enc.byte(0x2A);
        BReader br(enc.bytes().data(), static_cast<int>(enc.bytes().size()));
        EXPECT_EQ(br.readObject(tmp()), nullptr) << cls;
        EXPECT_FALSE(br.hasError()) << cls;
        ASSERT_EQ(br.getReferenceCount(), 1) << cls;
        EXPECT_EQ(br.getReference(0).object, nullptr);
        EXPECT_EQ(br.getReference(0).classNo, cls);
        EXPECT_EQ(br.readByte(), 0x2A) << cls;  // nothing was consumed
    }
}

// Hand-written bytes, independent of the writer: classes 16, 49 and 128
// (two-byte class number) give null, and a back-reference (class 33 with a
// 4-byte index) returns entry 1.
TEST_F(BReaderTest, HandWrittenNullClassesAndBackReference) {
    const Bytes bytes = {16, 49, 0x81, 0x00, 33, 0x00, 0x00, 0x00, 0x01, 1, 2, 'h', 'i', 33, 0x00, 0x00, 0x00, 0x03};
    BReader br(bytes.data(), static_cast<int>(bytes.size()));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(br.readObject(tmp()), nullptr) << i;
    }
    EXPECT_EQ(br.getReference(1).classNo, 49);
    EXPECT_EQ(br.getReference(2).classNo, 128);
    auto* hi = static_cast<LDString*>(br.readObject(tmp()));
    ASSERT_NE(hi, nullptr);
    EXPECT_TRUE(*hi == "hi");
    EXPECT_EQ(br.readObject(tmp()), hi);
    EXPECT_FALSE(br.hasError());
    EXPECT_EQ(br.getReferenceCount(), 4);
    delete hi;
}

TEST_F(BReaderTest, ValueClassesReadTheirPayloads) {
    modelwriter::Encoder enc;
    enc.classNo(F::LD_STRING); enc.string("hello");
    enc.classNo(F::LD_COLOR); enc.i32(0x11223344);
    enc.classNo(F::LD_RECTF_DOUBLE); enc.f64(1.5); enc.f64(2.5); enc.f64(3.5); enc.f64(4.5);
    enc.classNo(F::LD_RECTF); enc.f32(-1); enc.f32(-2); enc.f32(-3); enc.f32(-4);
    enc.classNo(F::LD_POINTF_DOUBLE); enc.f64(0.25); enc.f64(0.75);
    enc.classNo(F::LD_POINTF); enc.f32(8); enc.f32(9);
    enc.classNo(F::LD_AFFINE_TRANSFORM); for (int i = 1; i <= 6; ++i) enc.f64(i);
    enc.classNo(F::LD_RECT); enc.i32(1); enc.i32(2); enc.i32(3); enc.i32(4);
    enc.classNo(F::LD_POINT); enc.i32(-7); enc.i32(7);
    BReader br(enc.bytes().data(), static_cast<int>(enc.bytes().size()));

    auto* s = static_cast<LDString*>(br.readObject(tmp()));
    auto* color = static_cast<LDColor*>(br.readObject(tmp()));
    auto* rd = static_cast<LDRectF*>(br.readObject(tmp()));
    auto* rf = static_cast<LDRectF*>(br.readObject(tmp()));
    auto* pd = static_cast<LDPointF*>(br.readObject(tmp()));
    auto* pf = static_cast<LDPointF*>(br.readObject(tmp()));
    auto* at = static_cast<LDAffineTransform*>(br.readObject(tmp()));
    auto* r = static_cast<LDRect*>(br.readObject(tmp()));
    auto* p = static_cast<LDPoint*>(br.readObject(tmp()));
    ASSERT_FALSE(br.hasError()) << br.getErrorText();
    EXPECT_EQ(br.getByteBuffer().getRemaining(), 0);
    EXPECT_TRUE(*s == "hello");
    EXPECT_EQ(color->color, 0x11223344);
    EXPECT_EQ(rd->x, 1.5f); EXPECT_EQ(rd->y, 2.5f); EXPECT_EQ(rd->width, 3.5f); EXPECT_EQ(rd->height, 4.5f);
    EXPECT_EQ(rf->x, -1.0f); EXPECT_EQ(rf->height, -4.0f);
    EXPECT_EQ(pd->x, 0.25f); EXPECT_EQ(pd->y, 0.75f);
    EXPECT_EQ(pf->x, 8.0f); EXPECT_EQ(pf->y, 9.0f);
    EXPECT_EQ(at->m00, 1.0f); EXPECT_EQ(at->m10, 2.0f); EXPECT_EQ(at->m12, 6.0f);
    EXPECT_EQ(r->x, 1); EXPECT_EQ(r->height, 4);
    EXPECT_EQ(p->x, -7); EXPECT_EQ(p->y, 7);
    EXPECT_EQ(br.getReferenceCount(), 9);
    delete s; delete color; delete rd; delete rf; delete pd; delete pf; delete at; delete r; delete p;
}

TEST_F(BReaderTest, PlainArraysRecordTheirClassAndCount) {
    modelwriter::Encoder enc;
    enc.intArray({1, 2, 0x10003});
    enc.intArray({1, 2, 0x10003});  // read with flag bit 0: unsigned 16-bit
    enc.doubleArray({0.5});
    enc.floatArray({1, 2, 3, 4});
    BReader br(enc.bytes().data(), static_cast<int>(enc.bytes().size()));
    auto* ints = static_cast<int32_t*>(br.readObject(tmp()));
    auto* shorts = static_cast<uint16_t*>(br.readObject(tmp(), -1, 1));
    auto* doubles = static_cast<double*>(br.readObject(tmp()));
    auto* floats = static_cast<float*>(br.readObject(tmp()));
    ASSERT_FALSE(br.hasError());
    EXPECT_EQ(ints[2], 0x10003);
    EXPECT_EQ(shorts[2], 3);
    EXPECT_EQ(doubles[0], 0.5);
    EXPECT_EQ(floats[3], 4.0f);
    const int expectedCounts[] = {3, 3, 1, 4};
    const int expectedClasses[] = {F::ARRAY_INT, F::ARRAY_INT, F::ARRAY_DOUBLE, F::ARRAY_FLOAT};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(br.getReference(i).count, expectedCounts[i]);
        EXPECT_EQ(br.getReference(i).classNo, expectedClasses[i]);
    }
    int cls = 0, count = 0;
    ASSERT_TRUE(br.findReference(floats, &cls, &count));
    EXPECT_EQ(cls, F::ARRAY_FLOAT);
    EXPECT_EQ(count, 4);
    EXPECT_FALSE(br.findReference(floats + 1, &cls, &count));
    for (void* block : {static_cast<void*>(ints), static_cast<void*>(shorts), static_cast<void*>(doubles),
                        static_cast<void*>(floats)}) {
        UtMemory::free(block);
    }
}

TEST_F(BReaderTest, IdsAreInternedPerKindAndNeverCopied) {
    const int kinds[] = {F::DRAW_DATA_ID, F::BASE_DATA_ID, F::PARAM_ID, F::PARTS_DATA_ID};
    modelwriter::Encoder enc;
    enc.setBackReferences(false);
    for (int kind : kinds) {
        enc.id(kind, "SAME_NAME");
        enc.id(kind, "SAME_NAME");
    }
    BReader br(enc.bytes().data(), static_cast<int>(enc.bytes().size()));
    void* first[4];
    for (int k = 0; k < 4; ++k) {
        first[k] = br.readObject(tmp());
        EXPECT_EQ(br.readObject(tmp()), first[k]);
    }
    ASSERT_FALSE(br.hasError());
    EXPECT_EQ(first[0], DrawDataID::getID("SAME_NAME"));
    EXPECT_EQ(first[1], BaseDataID::getID("SAME_NAME"));
    EXPECT_EQ(first[2], ParamID::getID("SAME_NAME"));
    EXPECT_EQ(first[3], PartsDataID::getID("SAME_NAME"));
    EXPECT_NE(first[0], first[1]);
    EXPECT_EQ(br.getReferenceCount(), 8);
}

// Objects are numbered in the order they complete: a container after its contents.
TEST_F(BReaderTest, ContainersAreNumberedAfterTheirContentsAndBackReferencesReturnThem) {
    modelwriter::Encoder enc;
    enc.classNo(F::OBJECT_ARRAY);
    enc.num(3);
    enc.stringObject("first");  // 0
    enc.nullObject();           // 1
    enc.classNo(F::OBJECT_ARRAY);
    enc.num(1);
    enc.stringObject("inner");  // 2
    enc.complete();             // 3: the inner array
    enc.complete();             // 4: the outer array
    enc.backReference(0);
    enc.backReference(4);
    enc.backReference(1);
    BReader br(enc.bytes().data(), static_cast<int>(enc.bytes().size()));
    auto* outer = static_cast<ObjectArray*>(br.readObject(tmp()));
    ASSERT_NE(outer, nullptr);
    ASSERT_EQ(outer->size(), 3);
    EXPECT_EQ(br.getReferenceCount(), 5);
    EXPECT_EQ(br.getReference(4).object, outer);
    EXPECT_EQ(br.getReference(4).count, 3);
    auto* inner = static_cast<ObjectArray*>((*outer)[2]);
    EXPECT_EQ(br.getReference(3).object, inner);
    EXPECT_EQ(br.readObject(tmp()), (*outer)[0]);
    EXPECT_EQ(br.readObject(tmp()), outer);
    EXPECT_EQ(br.readObject(tmp()), nullptr);
    EXPECT_FALSE(br.hasError());
    EXPECT_EQ(br.getReferenceCount(), 5);  // back-references add nothing
    EXPECT_TRUE(*static_cast<LDString*>((*outer)[0]) == "first");
    delete static_cast<LDString*>((*inner)[0]);
    delete inner;
    delete static_cast<LDString*>((*outer)[0]);
    delete outer;
}

TEST_F(BReaderTest, BackReferenceIndicesAreReadAsFourByteIntegers) {
    modelwriter::Encoder enc;
    for (int i = 0; i < 130; ++i) enc.nullObject();
    enc.stringObject("target");  // number 130: a readNum would need two bytes, readInt takes four
    enc.backReference(130);
    BReader br(enc.bytes().data(), static_cast<int>(enc.bytes().size()));
    for (int i = 0; i < 131; ++i) br.readObject(tmp());
    void* target = br.getReference(130).object;
    EXPECT_EQ(br.readObject(tmp()), target);
    EXPECT_FALSE(br.hasError());
    delete static_cast<LDString*>(target);
}

TEST_F(BReaderTest, NestedArraysReadEachDimension) {
    modelwriter::Encoder enc;
    enc.classNo(F::NESTED_ARRAY);
    enc.num(2);   // dimensions
    enc.num(27);  // element class
    enc.num(2);   // two rows
    enc.num(1);
    enc.floatArray({1, 2});
    enc.num(2);
    enc.floatArray({3});
    enc.nullObject();
    BReader br(enc.bytes().data(), static_cast<int>(enc.bytes().size()));
    auto* rows = static_cast<ObjectArray*>(br.readObject(tmp()));
    ASSERT_FALSE(br.hasError()) << br.getErrorText();
    ASSERT_EQ(rows->size(), 2);
    auto* row0 = static_cast<ObjectArray*>((*rows)[0]);
    auto* row1 = static_cast<ObjectArray*>((*rows)[1]);
    ASSERT_EQ(row0->size(), 1);
    ASSERT_EQ(row1->size(), 2);
    EXPECT_EQ(static_cast<float*>((*row0)[0])[1], 2.0f);
    EXPECT_EQ((*row1)[1], nullptr);
    EXPECT_EQ(br.getReferenceCount(), 4);  // three elements, then the array itself
    UtMemory::free((*row0)[0]);
    UtMemory::free((*row1)[0]);
    delete row0;
    delete row1;
    delete rows;
}

struct StreamErrorCase {
    const char* name;
    Bytes bytes;
    const char* message;
};

TEST_F(BReaderTest, FatalStreamErrorsEndTheRead) {
    const StreamErrorCase cases[] = {
        {"back-reference before anything", {33, 0, 0, 0, 0}, "illegal refNo @Breader"},
        {"negative back-reference", {0, 33, 0xFF, 0xFF, 0xFF, 0xFF}, "illegal refNo @Breader"},
        {"class 2", {2}, "not impl : readObject() of 2-9 ,18,19,20,24,28"},
        {"class 9", {9}, "not impl : readObject() of 2-9 ,18,19,20,24,28"},
        {"class 18", {18}, "not impl : readObject() of 2-9 ,18,19,20,24,28"},
        {"class 28", {28}, "not impl : readObject() of 2-9 ,18,19,20,24,28"},
        {"class 29", {29}, "not impl : readObject() NO DEF"},
        {"class 47", {47}, "not impl : readObject() NO DEF"},
        {"2-D array of class 5", {23, 2, 5, 0}, "not impl type @BReader#read_array_int()"},
        {"object array longer than the file", {15, 0x81, 0x00, 0}, "illegal size of array"},
        {"truncated payload", {1, 5, 'a'}, "range error"},
    };
    for (const StreamErrorCase& c : cases) {
        BReader br(c.bytes.data(), static_cast<int>(c.bytes.size()));
        void* first = br.readObject(tmp());
        if (c.bytes[0] == 0) {
            EXPECT_EQ(first, nullptr);
            br.readObject(tmp());
        }
        EXPECT_TRUE(br.hasError()) << c.name;
        EXPECT_NE(std::strstr(br.getErrorText(), c.message), nullptr) << c.name << ": " << br.getErrorText();
        EXPECT_EQ(br.readObject(tmp()), nullptr) << c.name;  // every later read yields null
    }
}

TEST_F(BReaderTest, NestingDeeperThanTheLimitIsRefused) {
    modelwriter::Encoder enc;
    for (int i = 0; i < BReader::kMaxDepth + 5; ++i) {
        enc.classNo(F::OBJECT_ARRAY);
        enc.num(1);
    }
    enc.nullObject();
    BReader br(enc.bytes().data(), static_cast<int>(enc.bytes().size()));
    ObjectArray* outer = static_cast<ObjectArray*>(br.readObject(tmp()));
    EXPECT_TRUE(br.hasError());
    EXPECT_NE(std::strstr(br.getErrorText(), "too deep"), nullptr);
    // Whatever was built is in the reference table; free it from there.
    for (int i = 0; i < br.getReferenceCount(); ++i) {
        delete static_cast<ObjectArray*>(br.getReference(i).object);
    }
    (void)outer;
}

TEST_F(BReaderTest, BitsComeMostSignificantFirstAndOtherReadsStartAFreshByte) {
    const Bytes bytes = {0b10110000, 0b01000000, 0x00, 0x00, 0x00, 0x07, 0b10000000};
    BReader br(bytes.data(), static_cast<int>(bytes.size()));
    EXPECT_TRUE(br.readBit());
    EXPECT_FALSE(br.readBit());
    EXPECT_TRUE(br.readBit());
    EXPECT_TRUE(br.readBit());
    EXPECT_FALSE(br.readBit());
    for (int i = 0; i < 3; ++i) br.readBit();
    EXPECT_FALSE(br.readBit());  // ninth bit: first of the second byte
    EXPECT_TRUE(br.readBit());
    EXPECT_EQ(br.readInt(), 7);  // drops the rest of the bit byte
    EXPECT_TRUE(br.readBit());
    EXPECT_FALSE(br.hasError());
}

TEST_F(BReaderTest, CheckedFieldsRefuseOtherClassesAndSharedObjects) {
    struct Case {
        const char* name;
        std::function<void(modelwriter::Encoder&)> write;
        const ObjectExpect* expect;
        bool ok;
    };
    const Case cases[] = {
        {"param ID where a param ID is expected", [](auto& e) { e.id(F::PARAM_ID, "P"); }, &expect::kParamId, true},
        {"base ID where a param ID is expected", [](auto& e) { e.id(F::BASE_DATA_ID, "P"); }, &expect::kParamId,
         false},
        {"null where a parent may be null", [](auto& e) { e.nullObject(); }, &expect::kParentId, true},
        {"class 16 where a parent may be null", [](auto& e) { e.classNo(16); }, &expect::kParentId, true},
        {"null where an ID is required", [](auto& e) { e.nullObject(); }, &expect::kDrawId, false},
        {"string where a float array is expected", [](auto& e) { e.stringObject("x"); }, &expect::kFloatArray,
         false},
        {"model inside a part list", [](auto& e) { e.classNo(15); e.num(1); e.classNo(F::MODEL_IMPL); },
         &expect::kPartsList, false},
        {"avatar item as a deformer", [](auto& e) { e.classNo(15); e.num(1); e.classNo(F::AVATAR_PARTS_ITEM); },
         &expect::kDeformerList, false},
        {"shared ID through a back-reference",
         [](auto& e) { e.classNo(15); e.num(2); e.floatArray({1}); e.complete(); e.id(F::PARAM_ID, "Q");
                       e.backReference(1); },
         &expect::kParamId, true},
        {"shared array through a back-reference",
         [](auto& e) { e.floatArray({1}); e.backReference(0); }, &expect::kFloatArray, false},
    };
    for (const Case& c : cases) {
        modelwriter::Encoder enc;
        enc.setBackReferences(false);
        c.write(enc);
        BReader br(enc.bytes().data(), static_cast<int>(enc.bytes().size()));
        void* last = nullptr;
        // Anything written before the checked object is read generically first.
        const bool twoStep = std::string(c.name).find("back-reference") != std::string::npos;
        if (twoStep) {
            last = br.readObject(tmp());
        }
        void* checked = br.readObject(tmp(), *c.expect);
        EXPECT_EQ(!br.hasError(), c.ok) << c.name << ": " << br.getErrorText();
        for (int i = 0; i < br.getReferenceCount(); ++i) {
            const BReader::Reference& ref = br.getReference(i);
            if (ref.classNo == F::ARRAY_FLOAT) UtMemory::free(ref.object);
            if (ref.classNo == F::OBJECT_ARRAY) delete static_cast<ObjectArray*>(ref.object);
            if (ref.classNo == F::LD_STRING) delete static_cast<LDString*>(ref.object);
        }
        (void)last;
        (void)checked;
    }
}

TEST_F(BReaderTest, ReadObjectTraceNamesEachClassNumber) {
    modelwriter::Encoder enc;
    enc.nullObject();
    enc.classNo(70000);
    BReader br(enc.bytes().data(), static_cast<int>(enc.bytes().size()));
    UtDebug::setExtraDebugFlags(UtDebug::READ_OBJECT_DEBUG);
    ::testing::internal::CaptureStdout();
    br.readObject(tmp());
    br.readObject(tmp());
    const std::string trace = ::testing::internal::GetCapturedStdout();
    UtDebug::setExtraDebugFlags(0);
    EXPECT_NE(trace.find("[00] readObject()  cno == 0"), std::string::npos) << trace;
    EXPECT_NE(trace.find("[01] readObject()  cno == 70000"), std::string::npos) << trace;
}

TEST_F(BReaderTest, AvatarPartsItemHoldsThreeObjects) {
    modelwriter::Encoder enc;
    enc.classNo(F::AVATAR_PARTS_ITEM);
    enc.stringObject("a");
    enc.nullObject();
    enc.id(F::PARAM_ID, "PARAM_X");
    BReader br(enc.bytes().data(), static_cast<int>(enc.bytes().size()));
    auto* item = static_cast<AvatarPartsItem*>(static_cast<ISerializableV2*>(br.readObject(tmp())));
    ASSERT_FALSE(br.hasError());
    EXPECT_TRUE(*static_cast<LDString*>(item->getObject(0)) == "a");
    EXPECT_EQ(item->getObject(1), nullptr);
    EXPECT_EQ(item->getObject(2), ParamID::getID("PARAM_X"));
    EXPECT_EQ(br.getReferenceCount(), 4);
    EXPECT_EQ(br.getReference(3).object, static_cast<void*>(static_cast<ISerializableV2*>(item)));
    delete static_cast<LDString*>(item->getObject(0));
    delete item;
}

}  // namespace
}  // namespace mesh2d::test
