#pragma once
// Conversions between our straight-alpha RGBA pictures and cairo's
// premultiplied ARGB32 surfaces (internal to the UI library).
#include <cairo.h>

#include "platform/ui/Image.h"

namespace platform::ui {

// A new surface the caller destroys (check its status).
cairo_surface_t* imageToCairoSurface(const Image& image);
// Null when the surface is unusable.
ImagePtr imageFromCairoSurface(cairo_surface_t* surface);

}  // namespace platform::ui
