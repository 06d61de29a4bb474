#pragma once
// The platform's 2-D drawing surface: colours, rectangles (plain and
// rounded), pictures (stretched between their end caps when they have
// them), and text through pango. Coordinates are points with y growing
// downwards; a bitmap canvas maps points to pixels by its scale.
//
// One implementation serves every backend: it draws with cairo into a
// bitmap it owns or into a cairo context it is handed (the desktop window).
#include <memory>
#include <string>

#include "platform/ui/Geometry.h"
#include "platform/ui/Image.h"

namespace platform::ui {

struct Font {
    std::string family = "sans-serif";
    double size = 17;
    bool bold = false;

    static Font system(double size) { return {"sans-serif", size, false}; }
    static Font boldSystem(double size) { return {"sans-serif", size, true}; }
    // A face by its full name, as "Arial Bold": fontconfig picks the closest
    // installed face (Arial resolves to the metric-compatible Liberation Sans).
    static Font named(const std::string& name, double size) { return {name, size, false}; }
};

enum class TextAlignment { Left, Center, Right };

class Canvas {
public:
    // A transparent bitmap of the given size in points; null if cairo cannot
    // make it (size not positive or too large).
    static std::unique_ptr<Canvas> forBitmap(Size points, double scale = 1.0);
    // Draws into a caller's cairo_t (not owned, must outlive the canvas).
    static std::unique_ptr<Canvas> forCairo(void* cairoContext);

    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    void save();
    void restore();
    void translate(double dx, double dy);
    void rotate(double radians);  // clockwise on screen (y grows downwards)
    void clipToRect(const Rect& r);
    void clipToRoundedRect(const Rect& r, double radius);

    // Everything drawn until the matching end is composited at once with
    // the given opacity (a view's alpha applies to its subviews as a whole).
    void beginLayer();
    void endLayer(double alpha);

    void setFillColor(const Color& c);
    void fillRect(const Rect& r);
    void fillRoundedRect(const Rect& r, double radius);
    void strokeRoundedRect(const Rect& r, double radius, double lineWidth, const Color& c);

    // Scales the picture into the rectangle; a stretchable picture keeps its
    // caps and stretches its middle.
    void drawImage(const Image& image, const Rect& dest, double alpha = 1.0);

    // One run of text in the fill colour, its baseline starting at the point.
    void drawText(const std::string& utf8, const Font& font, Point baseline);
    // Text wrapped into a box, at most maxLines lines (0: no limit),
    // vertically centred like the phone's labels.
    void drawTextInRect(const std::string& utf8, const Font& font, const Rect& box,
                        TextAlignment alignment, int maxLines);
    Size measureText(const std::string& utf8, const Font& font) const;

    // Bitmap canvases only: a copy of what has been drawn so far (null for
    // canvases drawing into someone else's context).
    ImagePtr snapshot() const;

    // The cairo_t underneath, for backends that need it.
    void* cairoContext() const;

private:
    struct Impl;
    explicit Canvas(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace platform::ui
