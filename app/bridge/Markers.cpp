#include "app/bridge/Markers.h"

#include "app/bridge/Query.h"
#include "app/bridge/Url.h"

namespace app {

std::optional<MarkerValue> findMarker(std::string_view url, std::string_view marker) {
    std::size_t at = url.find(marker);
    if (at == std::string_view::npos) return std::nullopt;
    std::string_view rest = url.substr(at + marker.size());
    std::size_t amp = rest.find('&');
    MarkerValue value;
    value.followedByAmp = amp != std::string_view::npos;
    value.raw = std::string(rest.substr(0, amp));
    return value;
}

int voiceDataNumber(const MarkerValue& value) {
    auto decoded = percentDecodeUtf8(value.raw);
    return decoded ? leadingInt(*decoded) : 0;
}

int mergeVoiceKey(int current, int number) {
    if (number < 1 || number > 7) return current;
    return current | number;
}

std::string appendIdParameter(const std::string& target, const std::string& base64) {
    const char* separator = target.find('?') == std::string::npos ? "?" : "&";
    return target + separator + "id=" + base64;
}

}  // namespace app
