#pragma once
// The three markers an ordinary page URL may carry, found by a literal,
// case-sensitive search of the whole URL text.
#include <optional>
#include <string>
#include <string_view>

namespace app {

inline constexpr std::string_view kMarkerSavedataReset = "savedata_reset=";
inline constexpr std::string_view kMarkerSavedataDlcv = "savedata_dlcv=";
inline constexpr std::string_view kMarkerSpAurl = "sp_aurl=";

// The raw text after the marker up to the next "&" (or the end); null when
// the marker is absent. followedByAmp tells whether a "&" ended it.
struct MarkerValue {
    std::string raw;
    bool followedByAmp = false;
};
std::optional<MarkerValue> findMarker(std::string_view url, std::string_view marker);

// The voice-data number of "savedata_dlcv=": percent-decoded, leading
// integer, 0 when it does not decode or has no number.
int voiceDataNumber(const MarkerValue& value);
// The new "VOICE_DL_KEY": the number OR-ed in when it is 1..7, else unchanged.
int mergeVoiceKey(int current, int number);

// Appends "id=<base64>" with "?" or "&" ("%@%@id=%@"); the Base64 text is
// not percent-encoded.
std::string appendIdParameter(const std::string& target, const std::string& base64);

}  // namespace app
