#pragma once
// Percent-encoding for URL components and mail-link bodies. Bytes are encoded
// one by one as "%" and two upper-case hexadecimal digits; text outside ASCII
// is encoded as its UTF-8 bytes.
#include <string>
#include <string_view>

namespace app {

// Everything but letters, digits, "-", ".", "_" and "~" (RFC 3986 unreserved).
std::string stringByURLEncoding(std::string_view text);

// HTML-escapes plain text (& < > " space, line feeds as "<br />"), then
// percent-encodes what may not stand in a URL while keeping the RFC 2396
// reserved characters, and finally encodes "&" so the body cannot end early.
std::string encodeMailBody(std::string_view text);

}  // namespace app
