#pragma once
// The voice queue a page hands to javascript_playVoice: items separated by
// ",", fields by ":" — name (may be empty), delay in milliseconds, and an
// optional music percentage. Pure text handling, no audio.
#include <optional>
#include <string>
#include <string_view>

namespace app {

struct VoiceItem {
    std::string name;             // empty: the queue ends here with a callback
    long long delayMs = 0;        // waited only when above the threshold
    std::optional<int> ducking;   // music percentage from this item on
};

// Delays of this many milliseconds or fewer start the item at once.
inline constexpr long long kVoiceDelayThresholdMs = 100;

// Removes the first item and the "," after it from the front of queue. Returns the item, or nothing when it is malformed:
// fewer than two fields, a delay that is not a decimal integer, or a
// non-empty third field that is not one. A malformed item is still removed,
// so the caller can go on with the next one.
std::optional<VoiceItem> takeVoiceItem(std::string& queue);

// An optionally signed run of decimal digits and nothing else, within the
// range of long long.
std::optional<long long> parseDecimal(std::string_view text);

// Whether an item's delay is waited before it starts.
inline bool voiceDelayIsWaited(long long delayMs) { return delayMs > kVoiceDelayThresholdMs; }

}  // namespace app
