// Bridge URLs come from pages: the URL parser, the percent decoder, the query
// codec, the markers and the origin and hand-over rules must take any text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/bridge/Markers.h"
#include "app/bridge/Origin.h"
#include "app/bridge/Query.h"
#include "app/bridge/SchemeTable.h"
#include "app/bridge/Url.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    if (auto url = app::parseUrl(text)) {
        (void)app::classifyScheme(url->scheme);
        (void)app::decodedPath(*url);
        if (auto map = app::queryAsDictionary(url->query)) {
            std::string rebuilt = app::dictionaryAsQuery(*map);
            // Rebuilding never invents pairs.
            if (app::queryAsDictionary(std::string_view(rebuilt)).size() > map->size() + 1) __builtin_trap();
            (void)app::queryFlag(*map, "flg");
            (void)app::queryInt(*map, "id");
        }
    }
    if (auto decoded = app::percentDecodeUtf8(text)) {
        if (!app::isValidUtf8(*decoded)) __builtin_trap();
    }
    for (auto marker : {app::kMarkerSavedataDlcv, app::kMarkerSpAurl}) {
        if (auto value = app::findMarker(text, marker)) {
            int merged = app::mergeVoiceKey(0, app::voiceDataNumber(*value));
            if (merged < 0 || merged > 7) __builtin_trap();
        }
    }
    (void)app::mayOpenOutside(text);
    (void)app::hasControlCharacters(text);
    (void)app::isTrustedDocument(text, "http://127.0.0.1:8080", "/opt/pelora/bundle");
    return 0;
}
