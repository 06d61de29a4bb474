// DrawParam_iPhone on a real OpenGL ES 1.1 context: blending, colour,
// culling and the texture-number tables, checked on read-back pixels.
#include <GLES/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

#include "mesh2d/graphics/DrawParam_iPhone.h"
#include "platform/GLContext.h"
#include "tests/mesh2d/PipelineTestSupport.h"

namespace mesh2d::pipeline {
namespace {

using Rgba = std::array<int, 4>;

class DrawParamGL : public PipelineTest {
protected:
    void SetUp() override {
        PipelineTest::SetUp();
        gl_ = platform::createOffscreenGLContext(8, 8);
        ASSERT_NE(gl_, nullptr);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
    void TearDown() override {
        if (texture_) glDeleteTextures(1, &texture_);
        gl_.reset();
        PipelineTest::TearDown();
    }

    // A 1×1 texture of the given bytes.
    GLuint makeTexture(Rgba c) {
        const unsigned char px[4] = {static_cast<unsigned char>(c[0]), static_cast<unsigned char>(c[1]),
                                     static_cast<unsigned char>(c[2]), static_cast<unsigned char>(c[3])};
        glGenTextures(1, &texture_);
        glBindTexture(GL_TEXTURE_2D, texture_);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, px);
        return texture_;
    }

    void clear(Rgba c) {
        glDisable(GL_BLEND);
        glClearColor(c[0] / 255.0f, c[1] / 255.0f, c[2] / 255.0f, c[3] / 255.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }

    // Two triangles over the whole viewport, wound `clockwise` on screen or not.
    void drawQuad(DrawParam_iPhone& dp, int textureNo, float opacity, int type, bool clockwise = true) {
        static const float points[] = {-1, -1, 1, -1, -1, 1, 1, 1};
        static const float uvs[] = {0, 0, 1, 0, 0, 1, 1, 1};
        static const unsigned short cw[] = {0, 2, 1, 1, 2, 3};
        static const unsigned short ccw[] = {0, 1, 2, 1, 3, 2};
        dp.setupDraw();
        dp.drawTexture(textureNo, 6, 4, clockwise ? cw : ccw, points, uvs, opacity, type);
        glFinish();
    }

    Rgba centre() {
        const auto px = gl_->readPixels();
        const size_t i = (4 * 8 + 4) * 4;
        return {px[i], px[i + 1], px[i + 2], px[i + 3]};
    }

    std::unique_ptr<platform::GLContext> gl_;
    GLuint texture_ = 0;
};

void expectNear(Rgba got, Rgba want, const char* what) {
    for (int c = 0; c < 4; ++c) {
        EXPECT_LE(std::abs(got[c] - want[c]), 2) << what << " channel " << c << ": got " << got[c] << " want "
                                                 << want[c];
    }
}

struct BlendCase {
    const char* name;
    bool premultiplied;
    int type;
    float opacity;
    Rgba texel;
    Rgba destination;
    Rgba expected;
};

void PrintTo(const BlendCase& c, std::ostream* os) { *os << c.name; }

// Expected values worked out by hand from the blend factors of each type.
const BlendCase kBlendCases[] = {
    // normal, premultiplied: src + dst·(1 − srcA) on colour and alpha
    {"NormalPremultiplied", true, 0, 1.0f, {128, 0, 0, 128}, {0, 0, 255, 255}, {128, 0, 127, 255}},
    // opacity scales colour and alpha alike
    {"NormalPremultipliedHalf", true, 0, 0.5f, {128, 0, 0, 128}, {0, 0, 255, 255}, {64, 0, 191, 255}},
    // straight alpha: colour by srcA
    {"NormalStraight", false, 0, 1.0f, {255, 0, 0, 128}, {0, 0, 255, 255}, {128, 0, 127, 255}},
    // additive keeps the destination alpha
    {"Additive", true, 1, 1.0f, {128, 128, 0, 128}, {0, 0, 128, 64}, {64, 64, 128, 64}},
    {"AdditiveStraight", false, 1, 1.0f, {128, 128, 0, 128}, {0, 0, 128, 64}, {64, 64, 128, 64}},
    // multiplicative, premultiplied: src·dst + dst·(1 − srcA); alpha kept
    {"MultiplyPremultiplied", true, 2, 1.0f, {128, 0, 128, 128}, {128, 255, 255, 128}, {128, 128, 255, 128}},
    // multiplicative, straight: dst·src; alpha kept
    {"MultiplyStraight", false, 2, 1.0f, {128, 255, 0, 255}, {255, 128, 255, 128}, {128, 128, 0, 128}},
    // unknown types draw as normal
    {"OtherTypeIsNormal", true, 7, 1.0f, {128, 0, 0, 128}, {0, 0, 255, 255}, {128, 0, 127, 255}},
};

class DrawParamBlend : public DrawParamGL, public ::testing::WithParamInterface<BlendCase> {};

TEST_P(DrawParamBlend, BlendsAsItsTypeSays) {
    const BlendCase& c = GetParam();
    DrawParam_iPhone dp;
    dp.setPremultipliedAlpha(c.premultiplied);
    ASSERT_TRUE(dp.setTexture(0, makeTexture(c.texel)));
    clear(c.destination);
    drawQuad(dp, 0, c.opacity, c.type);
    expectNear(centre(), c.expected, c.name);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

INSTANTIATE_TEST_SUITE_P(Types, DrawParamBlend, ::testing::ValuesIn(kBlendCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DrawParamGL, TextureInfoTintsByItsAlphaAndBaseColourApplies) {
    DrawParam_iPhone dp;
    ASSERT_TRUE(dp.setTexture(0, makeTexture({255, 255, 255, 255})));
    TextureInfo* info = dp.getTextureInfo(0);
    ASSERT_NE(info, nullptr);
    info->r = 1.0f;
    info->g = 0.5f;
    info->b = 0.0f;
    info->a = 0.5f;  // multiplies red, green and blue
    dp.setBaseColor(1.0f, 1.0f, 1.0f, 2.0f);  // blue clamped to 1
    clear({0, 0, 0, 0});
    drawQuad(dp, 0, 1.0f, 0);
    expectNear(centre(), {128, 64, 0, 255}, "tinted");
}

TEST_F(DrawParamGL, NumberOutsideTheTableDrawsUntextured) {
    DrawParam_iPhone dp;
    ASSERT_TRUE(dp.setTexture(0, makeTexture({255, 0, 0, 255})));
    clear({0, 0, 0, 0});
    drawQuad(dp, 50, 1.0f, 0);  // never set: name 0, the vertex colour alone
    expectNear(centre(), {255, 255, 255, 255}, "untextured");
    EXPECT_EQ(dp.getTextureName(50), 0u);
    EXPECT_EQ(dp.getTextureName(-3), 0u);
}

TEST_F(DrawParamGL, CullingDropsCounterClockwiseFacesOnly) {
    struct Case {
        bool culling, clockwise, drawn;
    } cases[] = {{true, true, true}, {true, false, false}, {false, false, true}};
    for (const Case& c : cases) {
        DrawParam_iPhone dp;
        ASSERT_TRUE(dp.setTexture(0, makeTexture({255, 255, 255, 255})));
        dp.setCulling(c.culling);
        clear({0, 0, 0, 0});
        drawQuad(dp, 0, 1.0f, 0, c.clockwise);
        EXPECT_EQ(centre()[3], c.drawn ? 255 : 0) << c.culling << c.clockwise;
        glDeleteTextures(1, &texture_);
        texture_ = 0;
    }
}

TEST_F(DrawParamGL, SetupDrawSetsAnisotropyOnlyWhereListed) {
    DrawParam_iPhone dp;
    ASSERT_TRUE(dp.setTexture(3, makeTexture({1, 2, 3, 4})));
    dp.setAnisotropy(4);
    while (glGetError() != GL_NO_ERROR) {
    }
    dp.setupDraw();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    GLint frontFace = 0;
    glGetIntegerv(GL_FRONT_FACE, &frontFace);
    EXPECT_EQ(frontFace, GL_CW);
}

TEST_F(PipelineTest, TextureTablesGrowAndRefuseNegativeNumbers) {
    DrawParam_iPhone dp;
    EXPECT_EQ(dp.getTextureNameCount(), 32);
    ASSERT_TRUE(dp.setTexture(40, 7));
    EXPECT_EQ(dp.getTextureNameCount(), 41);
    EXPECT_EQ(dp.getTextureInfoCount(), 41);
    for (int i = 32; i < 40; ++i) EXPECT_EQ(dp.getTextureName(i), 0u) << i;
    EXPECT_EQ(dp.getTextureName(40), 7u);
    ::testing::internal::CaptureStdout();
    EXPECT_FALSE(dp.setTexture(-1, 9));
    ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(dp.getTextureNameCount(), 41);
}

TEST_F(PipelineTest, GeneratedTextureNumbersStartAt32) {
    DrawParam_iPhone dp;
    EXPECT_EQ(dp.generateModelTextureNo(), 32);
    EXPECT_EQ(dp.generateModelTextureNo(), 33);
    dp.releaseModelTextureNo(32);
    EXPECT_EQ(dp.generateModelTextureNo(), 32);
    dp.releaseModelTextureNo(500);  // beyond the table: nothing
    dp.releaseModelTextureNo(-1);
    for (int i = 34; i < 64; ++i) EXPECT_EQ(dp.generateModelTextureNo(), i);
    EXPECT_EQ(dp.generateModelTextureNo(), 64);  // the table doubles
    EXPECT_EQ(dp.getTextureNameCount(), 128);
}

}  // namespace
}  // namespace mesh2d::pipeline
