#include "audio/AudioFormat.h"

#include <cctype>

namespace RK {

bool hasOggSuffix(std::string_view name) {
    constexpr std::string_view suffix = ".ogg";
    if (name.size() < suffix.size()) return false;
    std::string_view tail = name.substr(name.size() - suffix.size());
    for (size_t i = 0; i < suffix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(tail[i])) != suffix[i]) return false;
    }
    return true;
}

}  // namespace RK
