#pragma once
// Byte-wise searches over text (meant for ASCII: a multi-byte character is
// never a match for a single char).
#include <optional>
#include <string>
#include <string_view>

namespace app {

// The text before the last occurrence of c; null when c does not occur.
std::optional<std::string> substringToReverseChar(std::string_view text, char c);

// How many times c occurs in the text.
int countToChar(std::string_view text, char c);

}  // namespace app
