#pragma once
// A decoded picture: RGBA8 pixels (straight alpha, rows top-down, no padding)
// and a size in pixels. Immutable once made and shared by pointer, so image
// views, buttons, canvases and the avatar's texture upload all read the same
// pixels. A picture may carry end caps, which makes it stretch in its middle.
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/ui/Geometry.h"

namespace platform::ui {

class Image;
using ImagePtr = std::shared_ptr<const Image>;

class Image {
public:
    // Null when the size is not positive or the pixel count does not match.
    static ImagePtr fromPixels(int width, int height, std::vector<std::uint8_t> rgba);
    // From premultiplied RGBA8 (what OpenGL read-backs give), optionally with
    // the rows bottom-up; null on a size mismatch.
    static ImagePtr fromPremultipliedPixels(int width, int height, const std::vector<std::uint8_t>& rgba,
                                            bool bottomUp);

    int width() const { return width_; }
    int height() const { return height_; }
    Size size() const { return {double(width_), double(height_)}; }
    const std::vector<std::uint8_t>& pixels() const { return *pixels_; }

    // The pixels with their colour multiplied by alpha (what a texture
    // upload with premultiplied alpha wants), rows top-down.
    std::vector<std::uint8_t> premultipliedPixels() const;

    // The pixel at (x, y) as 0xRRGGBBAA; 0 outside the picture.
    std::uint32_t pixel(int x, int y) const;

    const EdgeInsets& capInsets() const { return caps_; }
    bool isStretchable() const { return !caps_.isZero(); }
    // Same pixels, stretched between the given caps when drawn larger.
    ImagePtr withCapInsets(EdgeInsets caps) const;

    // Redraws the picture into a new bitmap of the given size (rounded down to
    // whole pixels, at least 1); null when either side is below one pixel.
    ImagePtr scaledTo(Size size) const;

    // The cairo surface of these pixels, made once and kept with the picture
    // (a cairo_surface_t*, owned by the picture; for the canvas).
    void* cairoSurface() const;

private:
    Image(int w, int h, std::shared_ptr<const std::vector<std::uint8_t>> px, EdgeInsets caps)
        : width_(w), height_(h), pixels_(std::move(px)), caps_(caps) {}
    int width_;
    int height_;
    std::shared_ptr<const std::vector<std::uint8_t>> pixels_;
    EdgeInsets caps_;
    mutable std::once_flag surfaceOnce_;
    mutable std::shared_ptr<void> surface_;
};

}  // namespace platform::ui
