// Real pixels from the offscreen OpenGL ES 1.1 context.
#include <GLES/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

#include "platform/GLContext.h"

namespace {

std::array<int, 4> pixelAt(const std::vector<std::uint8_t>& px, int width, int x, int y) {
    const size_t i = (static_cast<size_t>(y) * width + x) * 4;
    return {px[i], px[i + 1], px[i + 2], px[i + 3]};
}

TEST(GLContext, CreatesGles1ContextWithRequiredExtensions) {
    auto gl = platform::createOffscreenGLContext(32, 16);
    ASSERT_NE(gl, nullptr);
    EXPECT_EQ(gl->width(), 32);
    EXPECT_EQ(gl->height(), 16);
    EXPECT_EQ(gl->version().rfind("OpenGL ES-C", 0), 0u) << gl->version();
    EXPECT_TRUE(gl->hasExtension("GL_OES_blend_func_separate"));
    EXPECT_FALSE(gl->hasExtension("GL_OES_blend"));  // a prefix of a listed name is not a match
    EXPECT_FALSE(gl->hasExtension(""));
    EXPECT_EQ(gl->hasAnisotropicFiltering(), gl->hasExtension("GL_EXT_texture_filter_anisotropic"));
}

TEST(GLContext, ReadPixelsIsTopDownRgba) {
    auto gl = platform::createOffscreenGLContext(8, 4);
    ASSERT_NE(gl, nullptr);
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    // Paint only the bottom row (GL row 0) red with a scissor.
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 8, 1);
    glClearColor(1, 0, 0, 0.5f);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    const auto px = gl->readPixels();
    ASSERT_EQ(px.size(), 8u * 4u * 4u);
    EXPECT_EQ(pixelAt(px, 8, 0, 0), (std::array<int, 4>{0, 0, 255, 255}));  // top row
    const auto bottom = pixelAt(px, 8, 7, 3);
    EXPECT_EQ(bottom[0], 255);
    EXPECT_EQ(bottom[2], 0);
    EXPECT_NEAR(bottom[3], 128, 1);
}

TEST(GLContext, ResizeChangesTheBufferAndRejectsBadSizes) {
    auto gl = platform::createOffscreenGLContext(4, 4);
    ASSERT_NE(gl, nullptr);
    ASSERT_TRUE(gl->resize(10, 6));
    glClearColor(0, 1, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    const auto px = gl->readPixels();
    ASSERT_EQ(px.size(), 10u * 6u * 4u);
    EXPECT_EQ(pixelAt(px, 10, 9, 5), (std::array<int, 4>{0, 255, 0, 255}));
    EXPECT_FALSE(gl->resize(0, 5));
    EXPECT_EQ(platform::createOffscreenGLContext(-1, 5), nullptr);
}

TEST(GLContext, TwoContextsLiveSideBySide) {
    auto a = platform::createOffscreenGLContext(2, 2);
    auto b = platform::createOffscreenGLContext(2, 2);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    ASSERT_TRUE(a->makeCurrent());
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    ASSERT_TRUE(b->makeCurrent());
    glClearColor(0, 1, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    b.reset();  // destroying one leaves the shared display to the other
    EXPECT_EQ(pixelAt(a->readPixels(), 2, 1, 1), (std::array<int, 4>{255, 0, 0, 255}));
}

}  // namespace

namespace {

// Mesa reads the extension override once per process, so the refusal is
// checked in a fresh child process.
TEST(GLContextDeathTest, RefusesAContextWithoutSeparateBlending) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            setenv("MESA_EXTENSION_OVERRIDE", "-GL_OES_blend_func_separate", 1);
            auto gl = platform::createOffscreenGLContext(4, 4);
            std::exit(gl == nullptr ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "GL_OES_blend_func_separate is missing");
}

}  // namespace
