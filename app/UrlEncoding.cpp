#include "app/UrlEncoding.h"

#include <cstring>

namespace app {
namespace {

void appendEscape(std::string& out, unsigned char byte) {
    static const char digits[] = "0123456789ABCDEF";
    out += '%';
    out += digits[byte >> 4];
    out += digits[byte & 15];
}

bool isUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~';
}

// Characters that may stand in a URL as they are: the unreserved ones, the
// RFC 2396 reserved and mark characters. Everything else (controls, space,
// '"', '%', '<', '>', '\', '^', '`', '{', '|', '}', '#', '[', ']', DEL and
// non-ASCII bytes) is escaped. '#' and the brackets are escaped as well: in a
// mail body a bare '#' would cut the text off at a fragment.
bool isLegalInUrl(unsigned char c) {
    return isUnreserved(c) || (c != 0 && std::strchr(";/?:@&=+$,!*'()", c) != nullptr);
}

std::string replaceAll(std::string text, std::string_view from, std::string_view to) {
    std::string out;
    out.reserve(text.size());
    std::size_t start = 0;
    for (std::size_t at; (at = text.find(from, start)) != std::string::npos; start = at + from.size()) {
        out.append(text, start, at - start);
        out += to;
    }
    out.append(text, start, std::string::npos);
    return out;
}

}  // namespace

// A single pass gives the same text as escaping illegal characters first and
// then replacing the eighteen reserved ones, since together they cover every
// byte outside the unreserved set.
std::string stringByURLEncoding(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 3);
    for (unsigned char c : text) {
        if (isUnreserved(c)) {
            out += static_cast<char>(c);
        } else {
            appendEscape(out, c);
        }
    }
    return out;
}

std::string encodeMailBody(std::string_view text) {
    std::string html(text);
    html = replaceAll(std::move(html), "&", "&amp;");
    html = replaceAll(std::move(html), "<", "&lt;");
    html = replaceAll(std::move(html), ">", "&gt;");
    html = replaceAll(std::move(html), "\"", "&quot;");
    html = replaceAll(std::move(html), " ", "&nbsp;");
    html = replaceAll(std::move(html), "\n", "<br />");
    std::string escaped;
    escaped.reserve(html.size() * 3);
    for (unsigned char c : html) {
        if (isLegalInUrl(c)) {
            escaped += static_cast<char>(c);
        } else {
            appendEscape(escaped, c);
        }
    }
    return replaceAll(std::move(escaped), "&", "%26");
}

}  // namespace app
