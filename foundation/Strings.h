#pragma once
// Byte-string helpers used by the download flow, the audio code and the
// loading screen. Strings are bytes; nothing here knows about encodings.
#include <cstdarg>
#include <cstddef>
#include <string>
#include <vector>

namespace RK {

// printf-style formatting into a string of any length; empty on a bad format.
std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string vformat(const char* fmt, va_list args) __attribute__((format(printf, 1, 0)));

// Affix tests. Only lowerText == 1 lower-cases the text side; the affix is
// compared as given, so case-blind callers pass a lower-case affix.
// An empty or null affix, or one longer than the text, never matches.
bool startsWith(const std::string& text, const char* prefix, int lowerText = 0);
bool endsWith(const std::string& text, const char* suffix, int lowerText = 0);

// Lower-cases in place, byte by byte, with the C library's tolower.
void toLower(std::string& text);

// n delimiters give n + 1 pieces; empty pieces are kept. An empty delimiter
// gives the whole text as one piece.
std::vector<std::string> split(const std::string& text, const std::string& delimiter);
// Any character of the set ends a piece. An empty text or set gives the whole
// text as one piece.
std::vector<std::string> splitAny(const std::string& text, const std::string& delimiters);

// Replaces every occurrence in place; inserted text is never searched again.
// An empty pattern leaves the text unchanged.
void replaceAll(std::string& text, const std::string& pattern, const std::string& replacement);

bool isNullOrEmpty(const char* text);
std::size_t safeLength(const char* text);  // strlen, 0 for null
bool isAbsolutePath(const char* path);     // not null and begins with "/"

}  // namespace RK
