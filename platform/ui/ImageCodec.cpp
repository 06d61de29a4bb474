#include "platform/ui/ImageCodec.h"

#include <png.h>
#include <stb_image.h>
#include <stb_image_write.h>

#include <climits>
#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/Backend.h"
#include "platform/Directories.h"
#include "platform/Log.h"
#include "platform/PathNames.h"

namespace platform::ui {

namespace {

// Pictures come from servers and archives: sizes beyond these are refused
// before any pixel memory is set aside.
constexpr std::uint32_t kMaxSide = 8192;
constexpr std::uint64_t kMaxPixels = 4096ull * 4096ull;

bool acceptableSize(std::uint64_t w, std::uint64_t h) {
    return w > 0 && h > 0 && w <= kMaxSide && h <= kMaxSide && w * h <= kMaxPixels;
}

bool isPng(const std::uint8_t* d, std::size_t n) {
    static const std::uint8_t sig[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    return n >= 8 && std::memcmp(d, sig, 8) == 0;
}
bool isJpeg(const std::uint8_t* d, std::size_t n) { return n >= 3 && d[0] == 0xff && d[1] == 0xd8 && d[2] == 0xff; }
bool isGif(const std::uint8_t* d, std::size_t n) { return n >= 6 && std::memcmp(d, "GIF8", 4) == 0; }
bool isBmp(const std::uint8_t* d, std::size_t n) { return n >= 2 && d[0] == 'B' && d[1] == 'M'; }

// libpng inflates row by row into our buffer, so a compressed stream that
// expands without end cannot make it allocate more than the picture.
ImagePtr decodePng(const std::uint8_t* data, std::size_t size) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, data, size)) {
        log("Image: cannot decode %zu bytes: %s", size, png.message);
        return nullptr;
    }
    if (!acceptableSize(png.width, png.height)) {
        log("Image: refusing a %ux%u picture", unsigned(png.width), unsigned(png.height));
        png_image_free(&png);
        return nullptr;
    }
    png.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> rgba(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, rgba.data(), 0, nullptr)) {
        log("Image: cannot decode %zu bytes: %s", size, png.message);
        png_image_free(&png);
        return nullptr;
    }
    return Image::fromPixels(int(png.width), int(png.height), std::move(rgba));
}

ImagePtr decodeWithStb(const std::uint8_t* data, std::size_t size) {
    int w = 0, h = 0, channels = 0;
    if (!stbi_info_from_memory(data, int(size), &w, &h, &channels)) {
        log("Image: cannot decode %zu bytes: %s", size, stbi_failure_reason());
        return nullptr;
    }
    if (!acceptableSize(std::uint64_t(w), std::uint64_t(h))) {
        log("Image: refusing a %dx%d picture", w, h);
        return nullptr;
    }
    unsigned char* px = stbi_load_from_memory(data, int(size), &w, &h, &channels, 4);
    if (!px) {
        log("Image: cannot decode %zu bytes: %s", size, stbi_failure_reason());
        return nullptr;
    }
    std::vector<std::uint8_t> rgba(px, px + std::size_t(w) * h * 4);
    stbi_image_free(px);
    return Image::fromPixels(w, h, std::move(rgba));
}

}  // namespace

ImagePtr decodeImage(const std::uint8_t* data, std::size_t size) {
    if (!data || size == 0 || size > std::size_t(INT_MAX)) {
        log("Image: no data to decode (%zu bytes)", size);
        return nullptr;
    }
    if (isPng(data, size)) return decodePng(data, size);
    if (isJpeg(data, size) || isGif(data, size) || isBmp(data, size)) return decodeWithStb(data, size);
    log("Image: cannot decode %zu bytes: not a PNG, JPEG, GIF or BMP picture", size);
    return nullptr;
}

ImagePtr decodeImageFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        log("Image: cannot open %s", path.c_str());
        return nullptr;
    }
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ImagePtr image = decodeImage(bytes.data(), bytes.size());
    if (!image) log("Image: %s is not a picture", path.c_str());
    return image;
}

namespace {
void appendBytes(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(context);
    auto* p = static_cast<const std::uint8_t*>(data);
    out->insert(out->end(), p, p + size);
}
}  // namespace

std::vector<std::uint8_t> encodePng(const Image& image) {
    std::vector<std::uint8_t> out;
    if (!stbi_write_png_to_func(appendBytes, &out, image.width(), image.height(), 4, image.pixels().data(),
                                image.width() * 4)) {
        log("Image: PNG encoding of %dx%d failed", image.width(), image.height());
        out.clear();
    }
    return out;
}

bool writePng(const Image& image, const std::string& path) {
    std::vector<std::uint8_t> png = encodePng(image);
    if (png.empty()) return false;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
    if (!out.good()) {
        log("Image: cannot write %s", path.c_str());
        return false;
    }
    return true;
}

namespace {

// Resource names are plain file names or relative paths inside a directory.
bool safeResourceName(const std::string& name) {
    if (name.empty() || name.front() == '/' || name.find('\0') != std::string::npos) return false;
    return !platform::hasParentComponent(name);
}

bool hasExtension(const std::string& name) {
    std::size_t slash = name.rfind('/');
    std::size_t dot = name.rfind('.');
    return dot != std::string::npos && (slash == std::string::npos || dot > slash);
}

bool isFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return in.good();
}

}  // namespace

ImagePtr imageNamedIn(const std::vector<std::string>& directories, const std::string& name) {
    if (!safeResourceName(name)) {
        if (!name.empty()) log("Image: refusing resource name %s", name.c_str());
        return nullptr;
    }
    std::vector<std::string> candidates{name};
    if (!hasExtension(name)) candidates.push_back(name + ".png");
    for (const std::string& dir : directories) {
        if (dir.empty()) continue;
        for (const std::string& file : candidates) {
            std::string path = dir + "/" + file;
            if (isFile(path)) return decodeImageFile(path);
        }
    }
    return nullptr;
}

ImagePtr imageNamed(const std::string& name) {
    Backend* b = backend();
    if (!b) return nullptr;
    Directories& d = b->directories();
    return imageNamedIn({d.bundle(), d.caches()}, name);
}

}  // namespace platform::ui
