#include "tools/render-model/PngFile.h"

#include <png.h>

#include <cstring>

namespace rendermodel {

bool readPng(const std::string& path, Image& image, std::string& error) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) {
        error = path + ": " + png.message;
        return false;
    }
    png.format = PNG_FORMAT_RGBA;
    if (png.width == 0 || png.height == 0 || png.width > 8192 || png.height > 8192) {
        png_image_free(&png);
        error = path + ": unsupported picture size";
        return false;
    }
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, pixels.data(), 0, nullptr)) {
        error = path + ": " + png.message;
        png_image_free(&png);
        return false;
    }
    image.width = static_cast<int>(png.width);
    image.height = static_cast<int>(png.height);
    image.rgba = std::move(pixels);
    return true;
}

bool writePng(const std::string& path, const Image& image, std::string& error) {
    if (image.width <= 0 || image.height <= 0 ||
        image.rgba.size() != static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 4) {
        error = path + ": no picture to write";
        return false;
    }
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    png.format = PNG_FORMAT_RGBA;
    if (!png_image_write_to_file(&png, path.c_str(), 0, image.rgba.data(), 0, nullptr)) {
        error = path + ": " + png.message;
        return false;
    }
    return true;
}

}  // namespace rendermodel
