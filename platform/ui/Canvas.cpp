#include "platform/ui/Canvas.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>

#include "platform/Log.h"
#include "platform/ui/CairoBridge.h"

namespace platform::ui {

struct Canvas::Impl {
    cairo_t* cr = nullptr;
    cairo_surface_t* bitmap = nullptr;  // owned; null for borrowed contexts
    Color fill = Color::black();

    ~Impl() {
        if (cr) cairo_destroy(cr);
        if (bitmap) cairo_surface_destroy(bitmap);
    }
};

namespace {

constexpr double kMaxBitmapSide = 16384;

void setSource(cairo_t* cr, const Color& c) { cairo_set_source_rgba(cr, c.red, c.green, c.blue, c.alpha); }

void roundedRectPath(cairo_t* cr, const Rect& r, double radius) {
    double rad = std::clamp(radius, 0.0, std::min(r.width(), r.height()) / 2);
    if (rad <= 0) {
        cairo_rectangle(cr, r.x(), r.y(), r.width(), r.height());
        return;
    }
    cairo_new_sub_path(cr);
    cairo_arc(cr, r.maxX() - rad, r.y() + rad, rad, -M_PI / 2, 0);
    cairo_arc(cr, r.maxX() - rad, r.maxY() - rad, rad, 0, M_PI / 2);
    cairo_arc(cr, r.x() + rad, r.maxY() - rad, rad, M_PI / 2, M_PI);
    cairo_arc(cr, r.x() + rad, r.y() + rad, rad, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

// Draws the source rectangle of the surface scaled into the destination.
void drawSlice(cairo_t* cr, cairo_surface_t* s, const Rect& src, const Rect& dst, double alpha) {
    if (src.width() <= 0 || src.height() <= 0 || dst.width() <= 0 || dst.height() <= 0) return;
    cairo_save(cr);
    cairo_rectangle(cr, dst.x(), dst.y(), dst.width(), dst.height());
    cairo_clip(cr);
    cairo_translate(cr, dst.x(), dst.y());
    cairo_scale(cr, dst.width() / src.width(), dst.height() / src.height());
    // A sub-surface per slice, so smoothing at its edges repeats the slice's
    // own border pixels instead of mixing in the neighbouring slice.
    cairo_surface_t* part = cairo_surface_create_for_rectangle(s, src.x(), src.y(), src.width(), src.height());
    cairo_set_source_surface(cr, part, 0, 0);
    cairo_surface_destroy(part);
    cairo_pattern_t* p = cairo_get_source(cr);
    cairo_pattern_set_extend(p, CAIRO_EXTEND_PAD);
    cairo_pattern_set_filter(p, CAIRO_FILTER_GOOD);
    cairo_paint_with_alpha(cr, alpha);
    cairo_restore(cr);
}

// Splits [0, total) at the two caps; when the target is smaller than both
// caps together, the caps shrink in proportion.
void splitAxis(double imageSide, double capA, double capB, double destSide, double src[4], double dst[4]) {
    capA = std::clamp(capA, 0.0, imageSide);
    capB = std::clamp(capB, 0.0, imageSide - capA);
    src[0] = 0, src[1] = capA, src[2] = imageSide - capB, src[3] = imageSide;
    double k = (capA + capB > destSide && capA + capB > 0) ? destSide / (capA + capB) : 1.0;
    dst[0] = 0, dst[1] = capA * k, dst[2] = destSide - capB * k, dst[3] = destSide;
}

PangoLayout* makeLayout(cairo_t* cr, const std::string& text, const Font& font) {
    PangoLayout* layout = pango_cairo_create_layout(cr);
    // Unhinted metrics keep text positions fractional and the same at every
    // scale, so layouts match the font's own advance widths.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    pango_cairo_context_set_font_options(pango_layout_get_context(layout), options);
    cairo_font_options_destroy(options);
    pango_context_set_round_glyph_positions(pango_layout_get_context(layout), FALSE);
    pango_layout_context_changed(layout);
    PangoFontDescription* desc = pango_font_description_from_string(font.family.c_str());
    if (font.bold) pango_font_description_set_weight(desc, PANGO_WEIGHT_BOLD);
    pango_font_description_set_absolute_size(desc, std::max(1.0, font.size) * PANGO_SCALE);
    pango_layout_set_font_description(layout, desc);
    pango_font_description_free(desc);
    pango_layout_set_text(layout, text.c_str(), int(text.size()));
    return layout;
}

// Pango limits lines per paragraph; a label limits them in all. Cut the
// text where the first line past the limit starts and end it with an
// ellipsis, again if the ellipsis itself wrapped.
void limitLines(PangoLayout* layout, const std::string& text, int maxLines) {
    std::string shown = text;
    for (int round = 0; round < 4 && pango_layout_get_line_count(layout) > maxLines; ++round) {
        PangoLayoutLine* first = pango_layout_get_line_readonly(layout, maxLines);
        if (!first || first->start_index <= 0) return;
        std::size_t cut = std::min<std::size_t>(std::size_t(first->start_index), shown.size());
        while (cut > 0 && (shown[cut - 1] == '\n' || shown[cut - 1] == ' ')) --cut;
        if (round > 0) {
            // Make room for the ellipsis: drop one whole UTF-8 character.
            while (cut > 0 && (static_cast<unsigned char>(shown[cut - 1]) & 0xc0) == 0x80) --cut;
            if (cut > 0) --cut;
        }
        shown = shown.substr(0, cut) + "\u2026";
        pango_layout_set_text(layout, shown.c_str(), int(shown.size()));
    }
}

}  // namespace

Canvas::Canvas(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Canvas::~Canvas() = default;

std::unique_ptr<Canvas> Canvas::forBitmap(Size points, double scale) {
    if (!(scale > 0)) scale = 1.0;
    double w = std::ceil(points.width * scale), h = std::ceil(points.height * scale);
    if (!(w >= 1 && h >= 1 && w <= kMaxBitmapSide && h <= kMaxBitmapSide)) {
        log("Canvas: refusing a %gx%g bitmap", w, h);
        return nullptr;
    }
    auto impl = std::make_unique<Impl>();
    impl->bitmap = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(w), int(h));
    if (cairo_surface_status(impl->bitmap) != CAIRO_STATUS_SUCCESS) {
        log("Canvas: cairo cannot make a %gx%g bitmap", w, h);
        return nullptr;
    }
    impl->cr = cairo_create(impl->bitmap);
    cairo_scale(impl->cr, scale, scale);
    return std::unique_ptr<Canvas>(new Canvas(std::move(impl)));
}

std::unique_ptr<Canvas> Canvas::forCairo(void* context) {
    if (!context) return nullptr;
    auto impl = std::make_unique<Impl>();
    impl->cr = cairo_reference(static_cast<cairo_t*>(context));
    return std::unique_ptr<Canvas>(new Canvas(std::move(impl)));
}

void Canvas::save() { cairo_save(impl_->cr); }
void Canvas::restore() { cairo_restore(impl_->cr); }
void Canvas::translate(double dx, double dy) { cairo_translate(impl_->cr, dx, dy); }
void Canvas::rotate(double radians) { cairo_rotate(impl_->cr, radians); }

void Canvas::clipToRect(const Rect& r) {
    cairo_rectangle(impl_->cr, r.x(), r.y(), r.width(), r.height());
    cairo_clip(impl_->cr);
}

void Canvas::clipToRoundedRect(const Rect& r, double radius) {
    roundedRectPath(impl_->cr, r, radius);
    cairo_clip(impl_->cr);
}

void Canvas::beginLayer() { cairo_push_group(impl_->cr); }

void Canvas::endLayer(double alpha) {
    cairo_pop_group_to_source(impl_->cr);
    cairo_paint_with_alpha(impl_->cr, std::clamp(alpha, 0.0, 1.0));
}

void Canvas::setFillColor(const Color& c) { impl_->fill = c; }

void Canvas::fillRect(const Rect& r) { fillRoundedRect(r, 0); }

void Canvas::fillRoundedRect(const Rect& r, double radius) {
    if (r.isEmpty()) return;
    setSource(impl_->cr, impl_->fill);
    roundedRectPath(impl_->cr, r, radius);
    cairo_fill(impl_->cr);
}

void Canvas::strokeRoundedRect(const Rect& r, double radius, double lineWidth, const Color& c) {
    if (r.isEmpty() || lineWidth <= 0) return;
    // The border lies inside the bounds, as the phone's layer border does.
    double inset = lineWidth / 2;
    Rect inner{r.x() + inset, r.y() + inset, r.width() - lineWidth, r.height() - lineWidth};
    if (inner.width() < 0 || inner.height() < 0) return;
    setSource(impl_->cr, c);
    cairo_set_line_width(impl_->cr, lineWidth);
    roundedRectPath(impl_->cr, inner, std::max(0.0, radius - inset));
    cairo_stroke(impl_->cr);
}

void Canvas::drawImage(const Image& image, const Rect& dest, double alpha) {
    if (dest.isEmpty() || alpha <= 0) return;
    auto* s = static_cast<cairo_surface_t*>(image.cairoSurface());
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) return;
    cairo_t* cr = impl_->cr;
    const EdgeInsets& caps = image.capInsets();
    if (caps.isZero()) {
        drawSlice(cr, s, {0, 0, double(image.width()), double(image.height())}, dest, alpha);
    } else {
        double sx[4], dx[4], sy[4], dy[4];
        splitAxis(image.width(), caps.left, caps.right, dest.width(), sx, dx);
        splitAxis(image.height(), caps.top, caps.bottom, dest.height(), sy, dy);
        for (int row = 0; row < 3; ++row) {
            for (int col = 0; col < 3; ++col) {
                Rect src{sx[col], sy[row], sx[col + 1] - sx[col], sy[row + 1] - sy[row]};
                Rect dst{dest.x() + dx[col], dest.y() + dy[row], dx[col + 1] - dx[col], dy[row + 1] - dy[row]};
                drawSlice(cr, s, src, dst, alpha);
            }
        }
    }
}

void Canvas::drawText(const std::string& utf8, const Font& font, Point baseline) {
    if (utf8.empty()) return;
    cairo_t* cr = impl_->cr;
    PangoLayout* layout = makeLayout(cr, utf8, font);
    double ascent = double(pango_layout_get_baseline(layout)) / PANGO_SCALE;
    setSource(cr, impl_->fill);
    cairo_move_to(cr, baseline.x, baseline.y - ascent);
    pango_cairo_show_layout(cr, layout);
    g_object_unref(layout);
}

void Canvas::drawTextInRect(const std::string& utf8, const Font& font, const Rect& box, TextAlignment alignment,
                            int maxLines) {
    if (utf8.empty() || box.isEmpty()) return;
    cairo_t* cr = impl_->cr;
    PangoLayout* layout = makeLayout(cr, utf8, font);
    pango_layout_set_width(layout, int(box.width() * PANGO_SCALE));
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
    pango_layout_set_height(layout, maxLines > 0 ? -1 : int(box.height() * PANGO_SCALE));
    pango_layout_set_alignment(layout, alignment == TextAlignment::Center  ? PANGO_ALIGN_CENTER
                                       : alignment == TextAlignment::Right ? PANGO_ALIGN_RIGHT
                                                                           : PANGO_ALIGN_LEFT);
    if (maxLines > 0) limitLines(layout, utf8, maxLines);
    int w = 0, h = 0;
    pango_layout_get_size(layout, &w, &h);
    double textHeight = double(h) / PANGO_SCALE;
    cairo_save(cr);
    cairo_rectangle(cr, box.x(), box.y(), box.width(), box.height());
    cairo_clip(cr);
    setSource(cr, impl_->fill);
    cairo_move_to(cr, box.x(), box.y() + (box.height() - textHeight) / 2);
    pango_cairo_show_layout(cr, layout);
    cairo_restore(cr);
    g_object_unref(layout);
}

Size Canvas::measureText(const std::string& utf8, const Font& font) const {
    PangoLayout* layout = makeLayout(impl_->cr, utf8, font);
    int w = 0, h = 0;
    pango_layout_get_size(layout, &w, &h);
    g_object_unref(layout);
    return {double(w) / PANGO_SCALE, double(h) / PANGO_SCALE};
}

ImagePtr Canvas::snapshot() const {
    if (!impl_->bitmap) return nullptr;
    return imageFromCairoSurface(impl_->bitmap);
}

void* Canvas::cairoContext() const { return impl_->cr; }

}  // namespace platform::ui

#if defined(__SANITIZE_ADDRESS__)
// fontconfig keeps its font cache for the life of the process; that is not
// a leak of ours and would drown real reports in every test that draws text.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
#endif
