// How an untyped settings value reads through each typed getter. Strings read
// the way the phone's NSString reads them: leading white space skipped, then
// the leading numeric text; anything unreadable is 0.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/headless/FilePreferences.h"

namespace platform::headless {
namespace {

std::string_view skipSpace(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || (text.front() >= '\t' && text.front() <= '\r'))) {
        text.remove_prefix(1);
    }
    return text;
}

double leadingNumber(std::string_view text) {
    text = skipSpace(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        return text.front() == '-' ? -std::numeric_limits<double>::infinity()
                                   : std::numeric_limits<double>::infinity();
    }
    return result.ec == std::errc() ? value : 0.0;
}

long long truncated(double value) {
    // Casting NaN or an out-of-range double is undefined; pin them instead.
    if (std::isnan(value)) return 0;
    if (value >= 9.2233720368547758e18) return std::numeric_limits<long long>::max();
    if (value <= -9.2233720368547758e18) return std::numeric_limits<long long>::min();
    return static_cast<long long>(value);
}

}  // namespace

double prefNumber(const PrefValue& value) {
    if (const double* number = std::get_if<double>(&value)) return *number;
    return leadingNumber(std::get<std::string>(value));
}

long long prefInteger(const PrefValue& value) {
    if (const double* number = std::get_if<double>(&value)) return truncated(*number);
    std::string_view text = skipSpace(std::get<std::string>(value));
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    long long out = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), out);
    if (result.ec == std::errc::result_out_of_range) {
        return text.front() == '-' ? std::numeric_limits<long long>::min() : std::numeric_limits<long long>::max();
    }
    return result.ec == std::errc() ? out : 0;
}

bool prefBool(const PrefValue& value) {
    if (const double* number = std::get_if<double>(&value)) return *number != 0.0 && !std::isnan(*number);
    // "Y", "y", "T", "t" or a non-zero digit after optional sign and zeros.
    std::string_view text = skipSpace(std::get<std::string>(value));
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
    while (!text.empty() && text.front() == '0') text.remove_prefix(1);
    if (text.empty()) return false;
    const char c = text.front();
    return c == 'Y' || c == 'y' || c == 'T' || c == 't' || (c >= '1' && c <= '9');
}

std::string prefString(const PrefValue& value) {
    if (const std::string* text = std::get_if<std::string>(&value)) return *text;
    const double number = std::get<double>(value);
    if (std::isnan(number)) return "nan";
    if (std::isinf(number)) return number > 0 ? "inf" : "-inf";
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
    return std::string(buffer, result.ptr);
}

}  // namespace platform::headless
