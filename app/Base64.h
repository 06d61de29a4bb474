#pragma once
// Standard Base64 (RFC 4648 alphabet, "=" padding, no line breaks).
#include <optional>
#include <string>
#include <string_view>

#include "app/Bytes.h"

namespace app {

std::string base64Encode(std::string_view bytes);
// What the bridge, the user agent and the purchase relay send.
std::string dataEncodedWithBase64(const Bytes& bytes);
std::string stringEncodedWithBase64(std::string_view text);  // the text's UTF-8 bytes

// Strict: null unless the text is whole groups of four alphabet characters
// with at most two "=" at the very end.
std::optional<Bytes> base64Decode(std::string_view text);

// Lenient: any byte outside the alphabet (padding included) counts as 0, a
// short last group still yields three bytes, and the text ends at the first
// zero byte. Decoded bytes above 127 are kept as the Latin-1 characters they
// name (written as UTF-8), so the result is always valid text.
std::string stringDecodedWithBase64(std::string_view text);

}  // namespace app
