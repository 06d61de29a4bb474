#pragma once
// The few pieces of an URL the bridge needs, cut from the text as written:
// the scheme, the host (case kept), the path and the still-encoded query.
#include <optional>
#include <string>
#include <string_view>

namespace app {

struct UrlParts {
    std::string scheme;                // without ":"
    std::string host;                  // authority without user info and port
    std::string port;                  // digits after ":" in the authority, if any
    std::string path;                  // as written (still encoded), may be empty
    std::optional<std::string> query;  // text after "?" up to "#"; null without "?"
    bool hasAuthority = false;         // "//" followed the scheme
};

// Null when the text has no valid scheme ("letter *( letter / digit / + - . ) :").
std::optional<UrlParts> parseUrl(std::string_view url);

// Percent-decodes and checks the result is UTF-8; null on a broken escape or
// bytes that are not UTF-8 (the platform's decoder refuses both).
std::optional<std::string> percentDecodeUtf8(std::string_view text);

// The path as the platform's URL parser reports it: percent-decoded and
// without a trailing "/". Undecodable paths are kept as written.
std::string decodedPath(const UrlParts& url);

bool isValidUtf8(std::string_view bytes);

// A byte below 0x20, or 0x7F.
constexpr bool isControlByte(unsigned char byte) { return byte < 0x20 || byte == 0x7F; }

// The URL for a log line: raw control bytes as percent escapes, so the line
// stays one line of text.
std::string printableUrl(std::string_view url);

enum class EscapedLineBreaks { Refused, Allowed };

// True when the text holds a control byte (below 0x20, or 0x7F), written
// raw or as a percent escape ("%00", "%0A"). With EscapedLineBreaks::Allowed
// the escapes "%0D", "%0A" and "%09" do not count: a mail link writes the
// lines of its body that way, and the mail program decodes them into the
// body only.
bool hasControlCharacters(std::string_view text, EscapedLineBreaks lineBreaks = EscapedLineBreaks::Refused);

}  // namespace app
