#pragma once
// Renders one frame of a model the way the avatar view does: an orthographic
// projection 640 units wide with y growing downwards (the height follows the
// picture's aspect ratio), premultiplied-alpha textures with mipmaps, a
// transparent clear, then update and draw.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tools/render-model/PngFile.h"

namespace rendermodel {

struct RenderJob {
    std::vector<std::uint8_t> modelBytes;
    std::vector<std::pair<int, Image>> textures;             // slot, picture (straight alpha)
    std::vector<std::pair<std::string, float>> params;       // set in order before the update
    std::vector<std::pair<std::string, float>> partOpacities;
    // A motion file applied after the parameters: its frame motionAtMSec
    // after its start (see MotionFrame.h).
    bool hasMotion = false;
    std::vector<std::uint8_t> motionBytes;
    std::int64_t motionAtMSec = 0;
    int width = 320;
    int height = 320;
    // Composites the frame over an opaque colour (0xRRGGBB); without one the
    // picture keeps its alpha.
    std::optional<unsigned> background;
};

// False with a message when the model cannot be loaded or drawn. The
// picture has straight alpha, rows top-down.
bool renderModel(const RenderJob& job, Image& out, std::string& error);

// The premultiplied frame buffer as straight alpha (rounded), or composited
// over an opaque background colour.
Image toStraightAlpha(const std::vector<std::uint8_t>& premultiplied, int width, int height,
                      std::optional<unsigned> background);

}  // namespace rendermodel
