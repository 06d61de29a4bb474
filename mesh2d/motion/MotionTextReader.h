#pragma once
// The pieces of motion-file text below the line level: numbers (an optional
// "-", digits, optionally "." and more digits, summed in single precision) and
// the truncation of read values to whole milliseconds.
namespace mesh2d {

class MotionTextReader {
public:
    // True when text[pos] begins a number (a digit, or "-" before a digit).
    static bool isNumberStart(const char* text, int pos, int end);
    // Reads the number at text[pos] into *value; returns the position after it.
    static int readNumber(const char* text, int pos, int end, float* value);
    // Calls sink(value, context) for every number in [pos, end); separators and
    // any other characters that do not begin a number are skipped. Returns the
    // count of numbers read.
    static int readNumbers(const char* text, int pos, int end, void (*sink)(float, void*), void* context);
    // The integer part of a value, held within the int range (NaN gives 0), so
    // huge values in a file never overflow the conversion.
    static int truncateToInt(float value);
};

}  // namespace mesh2d
