#include "app/bridge/Query.h"

#include <climits>

namespace app {
namespace {

// Splits at every separator; empty pieces count, so "a&" gives {"a", ""}.
template <typename F>
void forEachPiece(std::string_view text, char sep, F&& f) {
    std::size_t start = 0;
    while (true) {
        std::size_t at = text.find(sep, start);
        if (at == std::string_view::npos) {
            f(text.substr(start));
            return;
        }
        f(text.substr(start, at - start));
        start = at + 1;
    }
}

}  // namespace

Query queryAsDictionary(std::string_view query) {
    Query map;
    forEachPiece(query, '&', [&](std::string_view piece) {
        std::size_t first = piece.find('=');
        std::size_t last = piece.rfind('=');
        std::string_view key = first == std::string_view::npos ? piece : piece.substr(0, first);
        std::string_view value = last == std::string_view::npos ? piece : piece.substr(last + 1);
        map[std::string(key)] = std::string(value);
    });
    return map;
}

std::optional<Query> queryAsDictionary(const std::optional<std::string>& query) {
    if (!query) return std::nullopt;
    return queryAsDictionary(std::string_view(*query));
}

std::string dictionaryAsQuery(const Query& map) {
    std::string out;
    for (const auto& [key, value] : map) {
        if (key.empty()) continue;
        if (!out.empty()) out += '&';
        out += key;
        out += '=';
        out += value;
    }
    return out;
}

bool queryFlag(const Query& map, const std::string& key) {
    auto it = map.find(key);
    return it != map.end() && it->second == "true";
}

int leadingInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        // Saturate like the platform's integer reading instead of overflowing.
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

int queryInt(const Query& map, const std::string& key) {
    auto it = map.find(key);
    return it == map.end() ? 0 : leadingInt(it->second);
}

}  // namespace app
