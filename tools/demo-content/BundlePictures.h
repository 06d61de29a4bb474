#pragma once
// The table of bundle pictures the client names, with the simple original
// artwork each gets: sizes are in pixels, at twice the points they fill.
#include <string>
#include <vector>

namespace demo {

enum class Look {
    Button,      // rounded tile with a caption
    GreyButton,  // the same tile, greyed out
    Panel,       // dialog background
    Caption,     // caption text on transparent ground
    Knob,        // round slider thumb
    Track,       // slider track (dark)
    TrackFill,   // slider track (bright)
    Screen,      // full-screen picture with a big title
    Bar,         // footer bar
};

struct Picture {
    std::string name;   // file name in the bundle (.png or .jpg)
    int width;
    int height;
    Look look;
    std::string text;
    unsigned rgb;       // main colour 0xRRGGBB
};

std::vector<Picture> bundlePictures();

}  // namespace demo
