#include "app/bridge/Url.h"

namespace app {
namespace {

bool isAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

void splitAuthority(std::string_view authority, UrlParts& out) {
    std::size_t at = authority.rfind('@');
    if (at != std::string_view::npos) authority = authority.substr(at + 1);
    if (!authority.empty() && authority.front() == '[') {
        std::size_t close = authority.find(']');
        if (close != std::string_view::npos) {
            out.host = std::string(authority.substr(0, close + 1));
            std::string_view rest = authority.substr(close + 1);
            if (!rest.empty() && rest.front() == ':') out.port = std::string(rest.substr(1));
            return;
        }
    }
    std::size_t colon = authority.rfind(':');
    if (colon == std::string_view::npos) {
        out.host = std::string(authority);
    } else {
        out.host = std::string(authority.substr(0, colon));
        out.port = std::string(authority.substr(colon + 1));
    }
}

}  // namespace

std::optional<UrlParts> parseUrl(std::string_view url) {
    std::size_t colon = url.find(':');
    if (colon == std::string_view::npos || colon == 0 || !isAlpha(url[0])) return std::nullopt;
    for (std::size_t i = 1; i < colon; ++i) {
        char c = url[i];
        if (!isAlpha(c) && !isDigit(c) && c != '+' && c != '-' && c != '.') return std::nullopt;
    }
    UrlParts out;
    out.scheme = std::string(url.substr(0, colon));
    std::string_view rest = url.substr(colon + 1);
    std::size_t hash = rest.find('#');
    if (hash != std::string_view::npos) rest = rest.substr(0, hash);
    std::size_t question = rest.find('?');
    if (question != std::string_view::npos) {
        out.query = std::string(rest.substr(question + 1));
        rest = rest.substr(0, question);
    }
    if (rest.substr(0, 2) == "//") {
        out.hasAuthority = true;
        rest = rest.substr(2);
        std::size_t slash = rest.find('/');
        splitAuthority(rest.substr(0, slash), out);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash);
    }
    out.path = std::string(rest);
    return out;
}

bool isValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        unsigned char c = static_cast<unsigned char>(bytes[i]);
        int extra;
        unsigned int cp;
        if (c < 0x80) { ++i; continue; }
        if ((c & 0xE0) == 0xC0) { extra = 1; cp = c & 0x1F; }
        else if ((c & 0xF0) == 0xE0) { extra = 2; cp = c & 0x0F; }
        else if ((c & 0xF8) == 0xF0) { extra = 3; cp = c & 0x07; }
        else return false;
        if (i + extra >= bytes.size()) return false;
        for (int k = 1; k <= extra; ++k) {
            unsigned char cc = static_cast<unsigned char>(bytes[i + k]);
            if ((cc & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
        static const unsigned int minimum[] = {0, 0x80, 0x800, 0x10000};
        if (cp < minimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += extra + 1;
    }
    return true;
}

std::optional<std::string> percentDecodeUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return std::nullopt;
        int hi = hexValue(text[i + 1]);
        int lo = hexValue(text[i + 2]);
        if (hi < 0 || lo < 0) return std::nullopt;
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    if (!isValidUtf8(out)) return std::nullopt;
    return out;
}

std::string printableUrl(std::string_view url) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char c : url) {
        auto byte = static_cast<unsigned char>(c);
        if (isControlByte(byte)) {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        } else {
            out += c;
        }
    }
    return out;
}

bool hasControlCharacters(std::string_view text, EscapedLineBreaks lineBreaks) {
    auto isLineBreak = [](int byte) { return byte == '\r' || byte == '\n' || byte == '\t'; };
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isControlByte(static_cast<unsigned char>(text[i]))) return true;
        if (text[i] != '%' || i + 2 >= text.size()) continue;
        int hi = hexValue(text[i + 1]);
        int lo = hexValue(text[i + 2]);
        if (hi < 0 || lo < 0) continue;
        int byte = hi * 16 + lo;
        if (lineBreaks == EscapedLineBreaks::Allowed && isLineBreak(byte)) continue;
        if (isControlByte(static_cast<unsigned char>(byte))) return true;
    }
    return false;
}

std::string decodedPath(const UrlParts& url) {
    std::string path = percentDecodeUtf8(url.path).value_or(url.path);
    if (!path.empty() && path.back() == '/') path.pop_back();
    return path;
}

}  // namespace app
