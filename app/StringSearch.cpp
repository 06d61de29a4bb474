#include "app/StringSearch.h"

#include <algorithm>
#include <limits>

namespace app {

std::optional<std::string> substringToReverseChar(std::string_view text, char c) {
    const std::size_t at = text.rfind(c);
    if (at == std::string_view::npos) return std::nullopt;
    return std::string(text.substr(0, at));
}

int countToChar(std::string_view text, char c) {
    const auto n = std::count(text.begin(), text.end(), c);
    return n > std::numeric_limits<int>::max() ? std::numeric_limits<int>::max() : static_cast<int>(n);
}

}  // namespace app
