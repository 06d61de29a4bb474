#include "foundation/Strings.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "platform/Log.h"

namespace RK {

std::string vformat(const char* fmt, va_list args) {
    if (fmt == nullptr) return {};
    // Measuring consumes a va_list, so measure on a copy and keep the
    // original for the real pass. The result string is the only buffer:
    // output of any length never touches the stack.
    va_list measure;
    va_copy(measure, args);
    const int n = std::vsnprintf(nullptr, 0, fmt, measure);
    va_end(measure);
    if (n < 0) {
        platform::log("RK::format: cannot format \"%s\"", fmt);
        return {};
    }
    std::string out(static_cast<std::size_t>(n), '\0');
    if (n > 0) std::vsnprintf(out.data(), out.size() + 1, fmt, args);
    return out;
}

std::string format(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    std::string out = vformat(fmt, args);
    va_end(args);
    return out;
}

namespace {

bool affixMatches(const std::string& text, const char* affix, int lowerText, bool atEnd) {
    const std::size_t n = safeLength(affix);
    if (n == 0 || n > text.size()) return false;
    std::string part = atEnd ? text.substr(text.size() - n) : text.substr(0, n);
    if (lowerText == 1) toLower(part);
    return std::memcmp(part.data(), affix, n) == 0;
}

}  // namespace

bool startsWith(const std::string& text, const char* prefix, int lowerText) {
    return affixMatches(text, prefix, lowerText, false);
}

bool endsWith(const std::string& text, const char* suffix, int lowerText) {
    return affixMatches(text, suffix, lowerText, true);
}

void toLower(std::string& text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

std::vector<std::string> split(const std::string& text, const std::string& delimiter) {
    std::vector<std::string> pieces;
    pieces.reserve(10);
    if (delimiter.empty()) {
        pieces.push_back(text);
        return pieces;
    }
    std::size_t start = 0;
    for (std::size_t p = text.find(delimiter); p != std::string::npos; p = text.find(delimiter, start)) {
        pieces.push_back(text.substr(start, p - start));
        start = p + delimiter.size();
    }
    pieces.push_back(text.substr(start));
    return pieces;
}

std::vector<std::string> splitAny(const std::string& text, const std::string& delimiters) {
    std::vector<std::string> pieces;
    pieces.reserve(10);
    if (text.empty() || delimiters.empty()) {
        pieces.push_back(text);
        return pieces;
    }
    std::size_t start = 0;
    for (std::size_t p = text.find_first_of(delimiters); p != std::string::npos;
         p = text.find_first_of(delimiters, start)) {
        pieces.push_back(text.substr(start, p - start));
        start = p + 1;
    }
    pieces.push_back(text.substr(start));
    return pieces;
}

void replaceAll(std::string& text, const std::string& pattern, const std::string& replacement) {
    if (pattern.empty()) return;
    for (std::size_t p = text.find(pattern); p != std::string::npos;
         p = text.find(pattern, p + replacement.size())) {
        text.replace(p, pattern.size(), replacement);
    }
}

bool isNullOrEmpty(const char* text) { return text == nullptr || text[0] == '\0'; }

std::size_t safeLength(const char* text) { return text ? std::strlen(text) : 0; }

bool isAbsolutePath(const char* path) { return path != nullptr && path[0] == '/'; }

}  // namespace RK
