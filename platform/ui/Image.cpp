#include "platform/ui/Image.h"

#include "platform/ui/CairoBridge.h"

#include <algorithm>

#include <cmath>
#include <cstring>

namespace platform::ui {

ImagePtr Image::fromPixels(int width, int height, std::vector<std::uint8_t> rgba) {
    if (width <= 0 || height <= 0) return nullptr;
    if (rgba.size() != std::size_t(width) * std::size_t(height) * 4) return nullptr;
    auto px = std::make_shared<const std::vector<std::uint8_t>>(std::move(rgba));
    return ImagePtr(new Image(width, height, std::move(px), {}));
}

ImagePtr Image::fromPremultipliedPixels(int width, int height, const std::vector<std::uint8_t>& rgba, bool bottomUp) {
    if (width <= 0 || height <= 0 || rgba.size() != std::size_t(width) * std::size_t(height) * 4) return nullptr;
    std::vector<std::uint8_t> out(rgba.size());
    const std::size_t row = std::size_t(width) * 4;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* src = rgba.data() + row * std::size_t(bottomUp ? height - 1 - y : y);
        std::uint8_t* dst = out.data() + row * std::size_t(y);
        for (int x = 0; x < width; ++x, src += 4, dst += 4) {
            unsigned a = src[3];
            for (int c = 0; c < 3; ++c) dst[c] = a ? std::uint8_t(std::min(255u, (src[c] * 255u + a / 2) / a)) : 0;
            dst[3] = std::uint8_t(a);
        }
    }
    return fromPixels(width, height, std::move(out));
}

std::vector<std::uint8_t> Image::premultipliedPixels() const {
    std::vector<std::uint8_t> out(*pixels_);
    for (std::size_t i = 0; i < out.size(); i += 4) {
        unsigned a = out[i + 3];
        for (int c = 0; c < 3; ++c) out[i + c] = std::uint8_t((out[i + c] * a + 127) / 255);
    }
    return out;
}

void* Image::cairoSurface() const {
    std::call_once(surfaceOnce_, [this] {
        cairo_surface_t* s = imageToCairoSurface(*this);
        surface_ = std::shared_ptr<void>(s, [](void* p) { cairo_surface_destroy(static_cast<cairo_surface_t*>(p)); });
    });
    return surface_.get();
}

std::uint32_t Image::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    const std::uint8_t* p = pixels_->data() + (std::size_t(y) * width_ + x) * 4;
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

ImagePtr Image::withCapInsets(EdgeInsets caps) const {
    return ImagePtr(new Image(width_, height_, pixels_, caps));
}

namespace {

// Straight RGBA8 -> cairo's premultiplied native-endian ARGB32.
cairo_surface_t* toSurface(const Image& image) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, image.width(), image.height());
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) return s;
    cairo_surface_flush(s);
    unsigned char* dst = cairo_image_surface_get_data(s);
    int stride = cairo_image_surface_get_stride(s);
    const std::uint8_t* src = image.pixels().data();
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(dst + std::size_t(y) * stride);
        for (int x = 0; x < image.width(); ++x, src += 4) {
            std::uint32_t a = src[3];
            std::uint32_t r = (src[0] * a + 127) / 255, g = (src[1] * a + 127) / 255, b = (src[2] * a + 127) / 255;
            row[x] = a << 24 | r << 16 | g << 8 | b;
        }
    }
    cairo_surface_mark_dirty(s);
    return s;
}

}  // namespace

// Shared with the canvas, which draws pictures and takes snapshots.
cairo_surface_t* imageToCairoSurface(const Image& image) { return toSurface(image); }

ImagePtr imageFromCairoSurface(cairo_surface_t* s) {
    if (!s || cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) return nullptr;
    cairo_surface_flush(s);
    int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
    if (w <= 0 || h <= 0) return nullptr;
    int stride = cairo_image_surface_get_stride(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    std::vector<std::uint8_t> out(std::size_t(w) * h * 4);
    std::uint8_t* d = out.data();
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + std::size_t(y) * stride);
        for (int x = 0; x < w; ++x, d += 4) {
            std::uint32_t p = row[x];
            std::uint32_t a = p >> 24;
            auto un = [a](std::uint32_t c) { return a ? std::uint8_t(std::min<std::uint32_t>(255, (c * 255 + a / 2) / a)) : std::uint8_t(0); };
            d[0] = un((p >> 16) & 0xff);
            d[1] = un((p >> 8) & 0xff);
            d[2] = un(p & 0xff);
            d[3] = std::uint8_t(a);
        }
    }
    return Image::fromPixels(w, h, std::move(out));
}

ImagePtr Image::scaledTo(Size size) const {
    int w = int(std::floor(size.width)), h = int(std::floor(size.height));
    if (w < 1 || h < 1) return nullptr;
    cairo_surface_t* src = toSurface(*this);
    cairo_surface_t* dst = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(dst);
    cairo_scale(cr, double(w) / width_, double(h) / height_);
    cairo_set_source_surface(cr, src, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_paint(cr);
    cairo_destroy(cr);
    ImagePtr out = imageFromCairoSurface(dst);
    cairo_surface_destroy(dst);
    cairo_surface_destroy(src);
    return out;
}

}  // namespace platform::ui
