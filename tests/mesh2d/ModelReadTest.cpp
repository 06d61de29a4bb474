// Round trips: writer-made models of every format version read back field by
// field, plus the header, version and end-marker rules.
#include <cstring>

#include "mesh2d/Mesh2D.h"
#include "mesh2d/base/AffineEnt.h"
#include "mesh2d/base/BDAffine.h"
#include "mesh2d/base/BDBoxGrid.h"
#include "mesh2d/draw/DDTexture.h"
#include "mesh2d/id/BaseDataID.h"
#include "mesh2d/id/DrawDataID.h"
#include "mesh2d/id/ParamID.h"
#include "mesh2d/id/PartsDataID.h"
#include "mesh2d/memory/AllocationMode.h"
#include "mesh2d/memory/MemoryParam.h"
#include "mesh2d/model/PartsData.h"
#include "mesh2d/param/ParamDefFloat.h"
#include "mesh2d/param/ParamDefSet.h"
#include "mesh2d/param/ParamPivots.h"
#include "mesh2d/param/PivotManager.h"
#include "tests/mesh2d/ReaderTestSupport.h"

namespace mesh2d::test {
namespace {

struct VersionCase {
    int version;
    bool header;
    bool backReferences;
};

class ModelRoundTripTest : public ReaderRuntimeTest, public ::testing::WithParamInterface<VersionCase> {};

std::string name(const ID* id) { return id ? id->toChar() : "(null)"; }

TEST_P(ModelRoundTripTest, EveryFieldReadsBack) {
    const VersionCase vc = GetParam();
    modelwriter::Model desc = sampleModel(vc.version);
    desc.header = vc.header;
    desc.backReferences = vc.backReferences;
    const int version = vc.header ? vc.version : 0;

    LoadResult r = load(modelwriter::writeModel(desc));
    ASSERT_EQ(r.code, 0) << r.output;
    ASSERT_NE(r.model, nullptr);
    EXPECT_EQ(r.output.find("Invalid model data") != std::string::npos, !vc.header) << r.output;
    const ModelImpl& m = *r.model;
    EXPECT_EQ(m.getCanvasWidth(), 1024);
    EXPECT_EQ(m.getCanvasHeight(), 2048);

    const ParamDefSet* defs = m.getParamDefSet();
    ASSERT_EQ(defs->getParamDefFloatCount(), 2);
    EXPECT_EQ(defs->getParamDefFloat(0)->getParamID(), ParamID::getID("PARAM_ANGLE_X"));
    EXPECT_EQ(defs->getParamDefFloat(0)->getMinValue(), -30.0f);
    EXPECT_EQ(defs->getParamDefFloat(0)->getMaxValue(), 30.0f);
    EXPECT_EQ(defs->getParamDefFloat(1)->getDefaultValue(), 0.5f);

    ASSERT_EQ(m.getPartsDataCount(), 2);
    const PartsData* p0 = m.getPartsData(0);
    const PartsData* p1 = m.getPartsData(1);
    EXPECT_EQ(p0->getPartsDataID(), PartsDataID::getID("PARTS_01"));
    EXPECT_TRUE(p0->isLocked());
    EXPECT_TRUE(p0->isVisible());
    EXPECT_FALSE(p1->isLocked());
    EXPECT_FALSE(p1->isVisible());

    ASSERT_EQ(p0->getBaseDataCount(), 2);
    ASSERT_EQ(p0->getBaseData(0)->getType(), IBaseData::TYPE_BD_AFFINE);
    const auto* affine = static_cast<const BDAffine*>(p0->getBaseData(0));
    EXPECT_EQ(name(affine->getBaseDataID()), "D_ROOT");
    EXPECT_EQ(name(affine->getTargetBaseDataID()), "DST_BASE");
    EXPECT_FALSE(affine->hasParent());
    const PivotManager* pm = affine->getPivotManager();
    ASSERT_EQ(pm->getParamPivotsCount(), 1);
    EXPECT_EQ(pm->getParamPivots(0)->getParamID(), ParamID::getID("PARAM_ANGLE_X"));
    ASSERT_EQ(pm->getParamPivots(0)->getPivotCount(), 2);
    EXPECT_EQ(pm->getParamPivots(0)->getPivotValues()[1], 30.0f);
    ASSERT_EQ(affine->getAffineCount(), 2);
    const AffineEnt* s0 = affine->getAffine(0);
    const AffineEnt* s1 = affine->getAffine(1);
    EXPECT_EQ(s0->originX, 10.0f);
    EXPECT_EQ(s0->originY, 20.0f);
    EXPECT_EQ(s0->scaleX, 1.5f);
    EXPECT_EQ(s0->scaleY, 2.5f);
    EXPECT_EQ(s0->rotationDeg, -15.0f);
    EXPECT_EQ(s1->rotationDeg, 15.0f);
    // Reflect bytes and deformer opacities exist from version 10 on.
    EXPECT_EQ(s0->reflectX, version >= 10);
    EXPECT_FALSE(s0->reflectY);
    EXPECT_EQ(s1->reflectY, version >= 10);
    if (version >= 10) {
        ASSERT_NE(affine->getPivotOpacities(), nullptr);
        ASSERT_EQ(affine->getPivotOpacities()->size(), 2);
        EXPECT_EQ((*affine->getPivotOpacities())[1], 0.75f);
    } else {
        EXPECT_EQ(affine->getPivotOpacities(), nullptr);
    }

    ASSERT_EQ(p0->getBaseData(1)->getType(), IBaseData::TYPE_BD_BOX_GRID);
    const auto* grid = static_cast<const BDBoxGrid*>(p0->getBaseData(1));
    EXPECT_EQ(grid->getTargetBaseDataID(), affine->getBaseDataID());
    EXPECT_TRUE(grid->hasParent());
    EXPECT_EQ(grid->getRowCount(), 2);  // rows come first in the file
    EXPECT_EQ(grid->getColumnCount(), 3);
    ASSERT_EQ(grid->getPivotPointsCount(), 1);
    const float* lattice = grid->getPivotPoints(0);
    EXPECT_FLOAT_EQ(lattice[2 * (1 * 4 + 3)], 1.0f);      // point (3, 1): x
    EXPECT_FLOAT_EQ(lattice[2 * (1 * 4 + 3) + 1], 0.5f);  // and y
    EXPECT_EQ(grid->getPivotOpacities() != nullptr, version >= 10);

    ASSERT_EQ(p0->getDrawDataCount(), 1);
    const auto* face = static_cast<const DDTexture*>(p0->getDrawData(0));
    EXPECT_EQ(face->getType(), IDrawData::TYPE_DD_TEXTURE);
    EXPECT_EQ(face->getDrawDataID(), DrawDataID::getID("D_FACE"));
    EXPECT_EQ(face->getTargetBaseDataID(), BaseDataID::getID("D_WARP"));
    EXPECT_EQ(face->getAverageDrawOrder(), 510);
    ASSERT_EQ(face->getPivotDrawOrders()->size(), 3);
    EXPECT_EQ((*face->getPivotDrawOrders())[2], 515);
    EXPECT_EQ((*face->getPivotOpacities())[1], 0.5f);
    EXPECT_EQ(face->getTextureNo(), 3);
    EXPECT_EQ(face->getNumPoints(), 4);
    EXPECT_EQ(face->getNumPolygons(), 2);
    const unsigned short expectedIndices[] = {0, 1, 2, 1, 3, 2};
    EXPECT_EQ(std::memcmp(face->getIndexArray(), expectedIndices, sizeof(expectedIndices)), 0);
    ASSERT_EQ(face->getPivotPointsCount(), 3);
    EXPECT_EQ(face->getPivotPoints(2)[7], 3.0f);
    EXPECT_EQ(face->getUvMap()[6], 1.0f);
    // Option flags exist from version 8 on.
    EXPECT_EQ(face->getOptionFlag(), version >= 8 ? 0x25 : 0);
    EXPECT_EQ(face->getOptionKanfGroup(), version >= 8 ? 77 : 0);
    EXPECT_EQ(face->getColorCompositionType(), version >= 8 ? 2 : 0);
    EXPECT_EQ(face->isCulling(), version < 8);

    const auto* hair = static_cast<const DDTexture*>(p1->getDrawData(0));
    EXPECT_EQ(name(hair->getTargetBaseDataID()), "DST_BASE");
    EXPECT_EQ(hair->getColorCompositionType(), 0);
    EXPECT_TRUE(hair->isCulling());
    EXPECT_EQ(hair->getPivotManager()->getParamPivotsCount(), 0);

    delete r.model;
}

INSTANTIATE_TEST_SUITE_P(Versions, ModelRoundTripTest,
                         ::testing::Values(VersionCase{10, false, true}, VersionCase{0, true, true},
                                           VersionCase{7, true, false}, VersionCase{8, true, true},
                                           VersionCase{9, true, false}, VersionCase{10, true, true},
                                           VersionCase{10, true, false}),
                         [](const auto& info) {
                             return "v" + std::to_string(info.param.version) +
                                    (info.param.header ? "" : "_noheader") +
                                    (info.param.backReferences ? "_refs" : "_norefs");
                         });

class ModelFileRulesTest : public ReaderRuntimeTest {};

// The smallest model, written by hand: header, class 136 (two-byte number),
// class 137 with an empty list, an empty part list, width, height, end marker.
TEST_F(ModelFileRulesTest, HandWrittenEmptyModelMatchesTheWriter) {
    const std::vector<uint8_t> hand = {'m', 'o', 'c', 10, 0x81, 0x08, 0x81, 0x09, 15, 0, 15, 0,
                                       0, 0, 2, 128, 0, 0, 1, 224, 0x88, 0x88, 0x88, 0x88};
    modelwriter::Model empty;
    empty.width = 640;
    empty.height = 480;
    EXPECT_EQ(modelwriter::writeModel(empty), hand);
    LoadResult r = load(hand);
    ASSERT_EQ(r.code, 0) << r.output;
    EXPECT_EQ(r.model->getPartsDataCount(), 0);
    EXPECT_EQ(r.model->getParamDefSet()->getParamDefFloatCount(), 0);
    EXPECT_EQ(r.model->getCanvasWidth(), 640);
    EXPECT_EQ(r.model->getCanvasHeight(), 480);
    delete r.model;
}

TEST_F(ModelFileRulesTest, VersionsAboveTenAreRefusedWithCode2000) {
    for (int version : {11, 200, 255}) {
        modelwriter::Model desc = sampleModel(10);
        std::vector<uint8_t> bytes = modelwriter::writeModel(desc);
        bytes[3] = static_cast<uint8_t>(version);
        LoadResult r = load(bytes);
        EXPECT_EQ(r.code, 2000);
        EXPECT_EQ(r.model, nullptr);
        EXPECT_NE(r.output.find("Illegal data version ( available : 10 < loaded :: " + std::to_string(version)),
                  std::string::npos)
            << r.output;
    }
}

TEST_F(ModelFileRulesTest, EndMarkerIsRequiredFromVersionEight) {
    struct Case {
        int version;
        bool marker;
        int code;
    };
    const Case cases[] = {{7, false, 0}, {7, true, 0}, {8, true, 0}, {8, false, 2001}, {9, false, 2001},
                          {10, false, 2001}};
    for (const Case& c : cases) {
        modelwriter::Model desc = sampleModel(c.version);
        desc.endMarker = c.marker;
        LoadResult r = load(modelwriter::writeModel(desc));
        EXPECT_EQ(r.code, c.code) << "version " << c.version << " marker " << c.marker;
        if (c.code == 2001) {
            EXPECT_NE(r.output.find("Load Model EOF Check Error"), std::string::npos) << r.output;
        }
        delete r.model;
    }
    // A wrong marker value is as bad as none.
    std::vector<uint8_t> bytes = modelwriter::writeModel(sampleModel(9));
    bytes.back() = 0x89;
    LoadResult r = load(bytes);
    EXPECT_EQ(r.code, 2001);
    EXPECT_EQ(r.model, nullptr);
}

TEST_F(ModelFileRulesTest, IdsAreSharedAcrossModels) {
    const std::vector<uint8_t> bytes = modelwriter::writeModel(sampleModel(10));
    LoadResult a = load(bytes);
    LoadResult b = load(bytes);
    ASSERT_EQ(a.code, 0);
    ASSERT_EQ(b.code, 0);
    EXPECT_EQ(a.model->getPartsData(0)->getPartsDataID(), b.model->getPartsData(0)->getPartsDataID());
    EXPECT_NE(a.model->getPartsData(0), b.model->getPartsData(0));
    delete a.model;
    delete b.model;
}

TEST_F(ModelFileRulesTest, AcceptedModelsWidenTheDrawOrderRange) {
    modelwriter::Model desc = sampleModel(10);
    desc.parts[1].meshes[0].drawOrders = std::vector<int32_t>{-1234};
    LoadResult r = load(modelwriter::writeModel(desc));
    ASSERT_EQ(r.code, 0) << r.output;
    EXPECT_LE(IDrawData::getTotalMinOrder(), -1234);
    EXPECT_GE(IDrawData::getTotalMaxOrder(), 515);
    delete r.model;
}

TEST_F(ModelFileRulesTest, IndicesAndTextureCoordinatesComeFromTheGpuHolder) {
    // Paged holders, so chunks of one holder share a page.
    const AllocationMode mode = defaultAllocationMode();
    setDefaultAllocationMode(AllocationMode::Paged);
    LoadResult r = load(modelwriter::writeModel(sampleModel(10)));
    setDefaultAllocationMode(mode);
    ASSERT_EQ(r.code, 0);
    MemoryParam* param = r.model->getMemoryParam();
    ASSERT_NE(param->getGPUMemoryHolder(), nullptr);
    EXPECT_EQ(param->getAllocType(), 0);  // restored after the GPU arrays
    // The word before a chunk leads to its page, which names the holder's allocation type.
    const auto* face = static_cast<const DDTexture*>(r.model->getPartsData(0)->getDrawData(0));
    EXPECT_NE(UtMemory::getPageHeader(face->getIndexArray()), UtMemory::getPageHeader(face->getPivotPoints(0)));
    EXPECT_EQ(UtMemory::getPageHeader(face->getIndexArray()), UtMemory::getPageHeader(face->getUvMap()));
    delete r.model;
}

}  // namespace
}  // namespace mesh2d::test
