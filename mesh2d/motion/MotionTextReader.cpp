#include "mesh2d/motion/MotionTextReader.h"

#include <climits>

namespace mesh2d {

namespace {
bool isDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

bool MotionTextReader::isNumberStart(const char* text, int pos, int end) {
    if (pos >= end) return false;
    if (isDigit(text[pos])) return true;
    return text[pos] == '-' && pos + 1 < end && isDigit(text[pos + 1]);
}

int MotionTextReader::readNumber(const char* text, int pos, int end, float* value) {
    bool negative = false;
    if (pos < end && text[pos] == '-') {
        negative = true;
        ++pos;
    }
    float result = 0.0f;
    while (pos < end && isDigit(text[pos])) {
        result = result * 10.0f + static_cast<float>(text[pos] - '0');
        ++pos;
    }
    if (pos < end && text[pos] == '.') {
        ++pos;
        float scale = 0.1f;
        while (pos < end && isDigit(text[pos])) {
            result += scale * static_cast<float>(text[pos] - '0');
            scale *= 0.1f;
            ++pos;
        }
    }
    *value = negative ? -result : result;
    return pos;
}

int MotionTextReader::readNumbers(const char* text, int pos, int end, void (*sink)(float, void*), void* context) {
    int count = 0;
    while (pos < end) {
        if (!isNumberStart(text, pos, end)) {
            ++pos;
            continue;
        }
        float value = 0.0f;
        pos = readNumber(text, pos, end, &value);
        sink(value, context);
        ++count;
    }
    return count;
}

int MotionTextReader::truncateToInt(float value) {
    if (value != value) return 0;
    // 2^31 is exact in float; anything at or above it is out of range.
    if (value >= 2147483648.0f) return INT_MAX;
    if (value <= -2147483648.0f) return INT_MIN;
    return static_cast<int>(value);
}

}  // namespace mesh2d
