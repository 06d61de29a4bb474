#pragma once
// Image decoding (PNG, JPEG and the other formats stb_image reads) from files
// and memory, PNG encoding, and the lookup of a named picture among the
// application's resources.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/ui/Image.h"

namespace platform::ui {

// Null (and one log line) when the data is not a picture.
ImagePtr decodeImage(const std::uint8_t* data, std::size_t size);
ImagePtr decodeImageFile(const std::string& path);

// Empty / false on failure.
std::vector<std::uint8_t> encodePng(const Image& image);
bool writePng(const Image& image, const std::string& path);

// A picture of the application's resources by name ("footer_menu.png"), as
// the phone's named-image lookup: the bundle directory first, then the
// caches directory where downloaded resources are unpacked. A name without
// an extension also tries ".png". Decoded pictures are not cached. Names
// that climb out of the directory ("..", absolute paths) give null.
ImagePtr imageNamed(const std::string& name);
// Same lookup over explicit directories (tests, tools).
ImagePtr imageNamedIn(const std::vector<std::string>& directories, const std::string& name);

}  // namespace platform::ui
