// Pictures come from servers (the loading-screen picture, avatar parts) and
// from downloaded archives: decoding any bytes must fail cleanly, and what
// does decode must draw and re-encode.
#include <cstddef>
#include <cstdint>

#include "platform/Log.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/ImageCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static bool quiet = [] {
        platform::setLogSink([](std::string_view) {});
        return true;
    }();
    (void)quiet;
    platform::ui::ImagePtr image = platform::ui::decodeImage(data, size);
    if (!image || image->width() > 2048 || image->height() > 2048) return 0;
    auto canvas = platform::ui::Canvas::forBitmap({32, 32});
    if (canvas) canvas->drawImage(*image->withCapInsets({1, 1, 1, 1}), {0, 0, 32, 32});
    platform::ui::encodePng(*image);
    return 0;
}
