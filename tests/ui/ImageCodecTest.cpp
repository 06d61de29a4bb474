// Decoding, encoding and the named-picture lookup.
#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <filesystem>
#include <fstream>

#include "HeadlessFixture.h"
#include "platform/Directories.h"
#include "platform/Log.h"
#include "platform/ui/ImageCodec.h"

using namespace platform::ui;
namespace fs = std::filesystem;

namespace {

ImagePtr gradient(int w, int h) {
    std::vector<std::uint8_t> px(std::size_t(w) * h * 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* p = &px[(std::size_t(y) * w + x) * 4];
            p[0] = std::uint8_t(x * 10), p[1] = std::uint8_t(y * 20), p[2] = 7, p[3] = std::uint8_t(255 - x);
        }
    return Image::fromPixels(w, h, std::move(px));
}

void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

TEST(ImageCodec, PngRoundTripKeepsEveryPixelIncludingAlpha) {
    ImagePtr src = gradient(9, 5);
    std::vector<std::uint8_t> png = encodePng(*src);
    ASSERT_FALSE(png.empty());
    ImagePtr back = decodeImage(png.data(), png.size());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->pixels(), src->pixels());
}

TEST(ImageCodec, DecodesJpeg) {
    ImagePtr src = gradient(16, 8);
    std::vector<std::uint8_t> jpg;
    stbi_write_jpg_to_func(
        [](void* ctx, void* data, int n) {
            auto* out = static_cast<std::vector<std::uint8_t>*>(ctx);
            out->insert(out->end(), static_cast<std::uint8_t*>(data), static_cast<std::uint8_t*>(data) + n);
        },
        &jpg, 16, 8, 4, src->pixels().data(), 95);
    ImagePtr back = decodeImage(jpg.data(), jpg.size());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->width(), 16);
    EXPECT_EQ(back->pixel(0, 0) & 0xff, 0xffu);  // opaque after JPEG
}

TEST(ImageCodec, BadDataGivesNullAndALogLine) {
    platform::LogCapture log;
    const std::uint8_t junk[] = {0x89, 'P', 'N', 'G', 0, 1, 2, 3};
    EXPECT_EQ(decodeImage(junk, sizeof junk), nullptr);
    EXPECT_EQ(decodeImage(nullptr, 0), nullptr);
    // A valid PNG cut in half.
    std::vector<std::uint8_t> png = encodePng(*gradient(20, 20));
    EXPECT_EQ(decodeImage(png.data(), png.size() / 2), nullptr);
    EXPECT_TRUE(log.contains("Image: cannot decode"));
    EXPECT_EQ(decodeImageFile("/nonexistent/picture.png"), nullptr);
}

std::vector<std::uint8_t> pngHeaderOnly(std::uint32_t w, std::uint32_t h) {
    // A PNG whose header announces the size; the pixel data never comes.
    std::vector<std::uint8_t> png = encodePng(*gradient(1, 1));
    auto put = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) png[at + i] = std::uint8_t(v >> (24 - 8 * i));
    };
    put(16, w);
    put(20, h);
    // Fix the header's CRC so only the size can be the reason for refusing it.
    std::uint32_t crc = 0xffffffffu;
    for (std::size_t i = 12; i < 29; ++i) {
        crc ^= png[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1)));
    }
    put(29, ~crc);
    return png;
}

TEST(ImageCodec, HugeAnnouncedSizesAreRefusedBeforeDecoding) {
    platform::LogCapture log;
    auto huge = pngHeaderOnly(100000, 100000);
    EXPECT_EQ(decodeImage(huge.data(), huge.size()), nullptr);
    auto tall = pngHeaderOnly(1, 9000);
    EXPECT_EQ(decodeImage(tall.data(), tall.size()), nullptr);
    EXPECT_TRUE(log.contains("refusing a 1x9000 picture"));
}

TEST(Image, FromPixelsChecksTheSize) {
    EXPECT_EQ(Image::fromPixels(2, 2, std::vector<std::uint8_t>(15)), nullptr);
    EXPECT_EQ(Image::fromPixels(0, 2, {}), nullptr);
    ImagePtr ok = Image::fromPixels(1, 1, {1, 2, 3, 4});
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->pixel(0, 0), 0x01020304u);
    EXPECT_EQ(ok->pixel(1, 0), 0u);
}

TEST(Image, FromPremultipliedUndoesAlphaAndFlipsGlRows) {
    // Two rows as a GL read-back gives them: bottom row first.
    std::vector<std::uint8_t> gl = {
        0, 0, 0, 0,        // bottom row: transparent
        100, 50, 0, 128,   // top row: premultiplied half-transparent
    };
    ImagePtr img = Image::fromPremultipliedPixels(1, 2, gl, true);
    ASSERT_TRUE(img);
    EXPECT_EQ(img->pixel(0, 0), 0xc7640080u);  // 100 * 255 / 128 = 199, 50 * 255 / 128 = 100
    EXPECT_EQ(img->pixel(0, 1), 0u);
    EXPECT_EQ(Image::fromPremultipliedPixels(2, 2, gl, false), nullptr);
}

TEST(Image, PremultipliedPixelsScaleColourByAlpha) {
    ImagePtr img = Image::fromPixels(2, 1, {200, 100, 50, 128, 10, 20, 30, 0});
    EXPECT_EQ(img->premultipliedPixels(), (std::vector<std::uint8_t>{100, 50, 25, 128, 0, 0, 0, 0}));
    // And back again within rounding.
    ImagePtr back = Image::fromPremultipliedPixels(2, 1, img->premultipliedPixels(), false);
    EXPECT_NEAR(double(back->pixel(0, 0) >> 24), 200, 2);
}

TEST(Image, ScaledToRedrawsAtTheNewSize) {
    ImagePtr src = Image::fromPixels(4, 2, std::vector<std::uint8_t>(32, 200));
    ImagePtr half = src->scaledTo({2.0, 1.9});  // rounded down to whole pixels
    ASSERT_TRUE(half);
    EXPECT_EQ(half->width(), 2);
    EXPECT_EQ(half->height(), 1);
    EXPECT_NEAR(double(half->pixel(1, 0) >> 24), 200, 2);
    EXPECT_EQ(src->scaledTo({0.5, 3}), nullptr);
    ImagePtr capped = src->withCapInsets({0, 1, 0, 1});
    EXPECT_TRUE(capped->isStretchable());
    EXPECT_EQ(&capped->pixels(), &src->pixels());  // same pixels, shared
}

class NamedImages : public uitest::HeadlessFixture {};

TEST_F(NamedImages, LooksInTheBundleThenTheCaches) {
    auto& dirs = backend().directories();
    std::vector<std::uint8_t> png = encodePng(*gradient(3, 3));
    writeFile(dirs.bundle() + "/footer_menu.png", png);
    writeFile(dirs.caches() + "/install01.jpg", png);  // content type is sniffed, not taken from the name
    writeFile(dirs.caches() + "/now_loading1.png", png);

    struct Case {
        const char* name;
        bool found;
    } cases[] = {
        {"footer_menu.png", true},
        {"footer_menu", true},        // ".png" is tried for bare names
        {"install01.jpg", true},      // from the caches
        {"now_loading1", true},
        {"missing.png", false},
        {"../footer_menu.png", false},
        {"/etc/passwd", false},
        {"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(imageNamed(c.name) != nullptr, c.found) << c.name;
}

}  // namespace
