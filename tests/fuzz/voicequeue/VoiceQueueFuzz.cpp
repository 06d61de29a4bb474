// Arbitrary page text as a voice queue. Invariants checked: every take
// shortens the queue (so playing a queue always ends), a taken item's name
// holds no separator, its ducking is a percentage, and an item written back
// in the queue's own grammar is read back the same.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/VoiceQueue.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    std::string queue(reinterpret_cast<const char*>(data), size);
    while (!queue.empty()) {
        const size_t before = queue.size();
        const std::optional<app::VoiceItem> item = app::takeVoiceItem(queue);
        if (queue.size() >= before) std::abort();
        if (!item) continue;
        if (item->name.find_first_of(",:") != std::string::npos) std::abort();
        if (item->ducking && (*item->ducking < 0 || *item->ducking > 100)) std::abort();
        std::string again = item->name + ":" + std::to_string(item->delayMs);
        if (item->ducking) again += ":" + std::to_string(*item->ducking);
        const std::optional<app::VoiceItem> back = app::takeVoiceItem(again);
        if (!back || !again.empty() || back->name != item->name || back->delayMs != item->delayMs ||
            back->ducking != item->ducking)
            std::abort();
    }
    return 0;
}
