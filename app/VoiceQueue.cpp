#include "app/VoiceQueue.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace app {
namespace {

std::vector<std::string_view> splitFields(std::string_view item) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t colon = item.find(':', start);
        if (colon == std::string_view::npos) {
            fields.push_back(item.substr(start));
            return fields;
        }
        fields.push_back(item.substr(start, colon - start));
        start = colon + 1;
    }
}

}  // namespace

std::optional<long long> parseDecimal(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
    }
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

std::optional<VoiceItem> takeVoiceItem(std::string& queue) {
    const std::size_t comma = queue.find(',');
    const std::string item = queue.substr(0, comma);
    // The "," goes with the item. A trailing "," with nothing after it goes
    // too, so every call shortens the queue.
    queue.erase(0, comma == std::string::npos ? queue.size() : comma + 1);

    const std::vector<std::string_view> fields = splitFields(item);
    if (fields.size() < 2) return std::nullopt;
    const std::optional<long long> delay = parseDecimal(fields[1]);
    if (!delay) return std::nullopt;
    VoiceItem out;
    out.name = std::string(fields[0]);
    out.delayMs = *delay;
    if (fields.size() >= 3 && !fields[2].empty()) {
        const std::optional<long long> percent = parseDecimal(fields[2]);
        if (!percent) return std::nullopt;
        out.ducking = static_cast<int>(std::clamp<long long>(*percent, 0, 100));
    }
    return out;
}

}  // namespace app
