#pragma once
// RGBA8 pictures in PNG files (libpng's simplified API).
#include <cstdint>
#include <string>
#include <vector>

namespace rendermodel {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;  // straight alpha, rows top-down
};

// False with a message in `error` when the file cannot be read as PNG.
bool readPng(const std::string& path, Image& image, std::string& error);
bool writePng(const std::string& path, const Image& image, std::string& error);

}  // namespace rendermodel
