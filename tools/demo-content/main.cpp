// Draws the bundle pictures into a directory: pelora_demo_content OUTDIR.
// Plain shapes and text only, so the demo bundle holds nothing but our own
// artwork; the output is the same on every run.
#include <cairo.h>
#include <pango/pangocairo.h>
#include <stb_image_write.h>
#include <sys/stat.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/demo-content/BundlePictures.h"

namespace {

struct Rgb {
    double r, g, b;
};

Rgb rgbOf(unsigned c) { return {((c >> 16) & 255) / 255.0, ((c >> 8) & 255) / 255.0, (c & 255) / 255.0}; }

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void centredText(cairo_t* cr, const std::string& text, double w, double h, double size, Rgb colour) {
    if (text.empty()) return;
    PangoLayout* layout = pango_cairo_create_layout(cr);
    PangoFontDescription* font = pango_font_description_from_string("Liberation Sans Bold");
    pango_font_description_set_absolute_size(font, size * PANGO_SCALE);
    pango_layout_set_font_description(layout, font);
    pango_layout_set_text(layout, text.c_str(), -1);
    int tw = 0, th = 0;
    pango_layout_get_pixel_size(layout, &tw, &th);
    cairo_set_source_rgb(cr, colour.r, colour.g, colour.b);
    cairo_move_to(cr, (w - tw) / 2, (h - th) / 2);
    pango_cairo_show_layout(cr, layout);
    pango_font_description_free(font);
    g_object_unref(layout);
}

void drawPicture(cairo_t* cr, const demo::Picture& p) {
    double w = p.width, h = p.height;
    Rgb main = rgbOf(p.rgb);
    switch (p.look) {
        case demo::Look::Button:
        case demo::Look::GreyButton: {
            Rgb fill = p.look == demo::Look::Button ? main : Rgb{0.55, 0.55, 0.55};
            roundedRect(cr, 2, 2, w - 4, h - 4, std::min(w, h) * 0.18);
            cairo_set_source_rgb(cr, fill.r, fill.g, fill.b);
            cairo_fill_preserve(cr);
            cairo_set_line_width(cr, 3);
            cairo_set_source_rgb(cr, 1, 1, 1);
            cairo_stroke(cr);
            Rgb ink = p.look == demo::Look::Button ? Rgb{1, 1, 1} : Rgb{0.8, 0.8, 0.8};
            centredText(cr, p.text, w, h, std::min(h * 0.3, w / (p.text.size() * 0.62 + 0.5)), ink);
            break;
        }
        case demo::Look::Panel:
            roundedRect(cr, 0, 0, w, h, 24);
            cairo_set_source_rgb(cr, main.r, main.g, main.b);
            cairo_fill_preserve(cr);
            cairo_set_line_width(cr, 6);
            cairo_set_source_rgb(cr, 0.85, 0.45, 0.65);
            cairo_stroke(cr);
            cairo_save(cr);
            cairo_rectangle(cr, 0, 0, w, 90);
            cairo_clip(cr);
            centredText(cr, p.text, w, 90, 40, {0.85, 0.45, 0.65});
            cairo_restore(cr);
            break;
        case demo::Look::Caption:
            // Long captions shrink so their last letters stay on the picture.
            centredText(cr, p.text, w, h, std::min(h * 0.7, w / (p.text.size() * 0.7 + 0.5)), main);
            break;
        case demo::Look::Knob:
            cairo_arc(cr, w / 2, h / 2, w / 2 - 2, 0, 2 * M_PI);
            cairo_set_source_rgb(cr, main.r, main.g, main.b);
            cairo_fill_preserve(cr);
            cairo_set_line_width(cr, 3);
            cairo_set_source_rgb(cr, 0.85, 0.45, 0.65);
            cairo_stroke(cr);
            break;
        case demo::Look::Track:
        case demo::Look::TrackFill:
            roundedRect(cr, 0, 0, w, h, h / 2);
            cairo_set_source_rgb(cr, main.r, main.g, main.b);
            cairo_fill(cr);
            break;
        case demo::Look::Screen: {
            cairo_set_source_rgb(cr, main.r, main.g, main.b);
            cairo_paint(cr);
            cairo_set_source_rgba(cr, 1, 1, 1, 0.35);
            for (int i = 0; i < 6; ++i) {
                cairo_arc(cr, w * (0.15 + 0.14 * i), h * (0.2 + 0.11 * (i % 3)), w * 0.06, 0, 2 * M_PI);
                cairo_fill(cr);
            }
            centredText(cr, p.text, w, h, w * 0.12, {0.25, 0.2, 0.3});
            break;
        }
        case demo::Look::Bar: {
            cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, h);
            cairo_pattern_add_color_stop_rgb(g, 0, main.r + 0.2, main.g + 0.2, main.b + 0.2);
            cairo_pattern_add_color_stop_rgb(g, 1, main.r, main.g, main.b);
            cairo_set_source(cr, g);
            cairo_paint(cr);
            cairo_pattern_destroy(g);
            break;
        }
    }
}

// cairo keeps premultiplied BGRA; JPEG wants straight RGB.
bool writeJpeg(cairo_surface_t* surface, const std::string& path) {
    int w = cairo_image_surface_get_width(surface), h = cairo_image_surface_get_height(surface);
    int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    std::vector<unsigned char> rgb(static_cast<std::size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const unsigned char* px = data + y * stride + x * 4;
            unsigned char* out = &rgb[(static_cast<std::size_t>(y) * w + x) * 3];
            out[0] = px[2];
            out[1] = px[1];
            out[2] = px[0];
        }
    }
    return stbi_write_jpg(path.c_str(), w, h, 3, rgb.data(), 90) != 0;
}

bool render(const demo::Picture& p, const std::string& dir) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, p.width, p.height);
    cairo_t* cr = cairo_create(surface);
    drawPicture(cr, p);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    std::string path = dir + "/" + p.name;
    bool ok;
    if (p.name.size() > 4 && p.name.compare(p.name.size() - 4, 4, ".jpg") == 0) {
        ok = writeJpeg(surface, path);
    } else {
        ok = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    }
    cairo_surface_destroy(surface);
    if (!ok) std::fprintf(stderr, "demo-content: could not write %s\n", path.c_str());
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
        return 2;
    }
    std::string dir = argv[1];
    if (mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST) {
        std::fprintf(stderr, "demo-content: cannot create %s\n", dir.c_str());
        return 1;
    }
    int failures = 0;
    for (const auto& picture : demo::bundlePictures()) failures += render(picture, dir) ? 0 : 1;
    return failures == 0 ? 0 : 1;
}
