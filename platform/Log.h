#pragma once
// The platform log: plain printf-style lines, one per call, no levels.
// By default lines go to stderr; tests and the headless runner install a sink
// to capture them. The sink is process-wide because the log is.
#include <functional>
#include <string>
#include <string_view>

namespace platform {

using LogSink = std::function<void(std::string_view line)>;

// Formats and writes one line (a trailing newline is not needed).
void log(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void logLine(std::string_view line);

// Replaces the sink; returns the previous one. An empty sink restores stderr.
LogSink setLogSink(LogSink sink);

// RAII capture for tests: collects lines while alive, restores the sink after.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::string text() const;               // all lines, each ending in "\n"
    bool contains(std::string_view needle) const;
    void clear();

private:
    struct State;
    State* state_;
    LogSink previous_;
};

}  // namespace platform
