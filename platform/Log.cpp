#include "platform/Log.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <vector>

namespace platform {
namespace {

std::mutex& sinkMutex() {
    static std::mutex m;
    return m;
}

LogSink& currentSink() {
    static LogSink sink;
    return sink;
}

std::string vformat(const char* fmt, va_list args) {
    va_list measure;
    va_copy(measure, args);
    const int n = std::vsnprintf(nullptr, 0, fmt, measure);
    va_end(measure);
    if (n <= 0) return {};
    std::string out(static_cast<size_t>(n), '\0');
    std::vsnprintf(out.data(), out.size() + 1, fmt, args);
    return out;
}

}  // namespace

void logLine(std::string_view line) {
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    std::lock_guard<std::mutex> lock(sinkMutex());
    if (currentSink()) {
        currentSink()(line);
    } else {
        std::fprintf(stderr, "%.*s\n", static_cast<int>(line.size()), line.data());
    }
}

void log(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    const std::string line = vformat(fmt, args);
    va_end(args);
    logLine(line);
}

LogSink setLogSink(LogSink sink) {
    std::lock_guard<std::mutex> lock(sinkMutex());
    LogSink previous = std::move(currentSink());
    currentSink() = std::move(sink);
    return previous;
}

struct LogCapture::State {
    mutable std::mutex mutex;
    std::vector<std::string> lines;
};

LogCapture::LogCapture() : state_(new State) {
    State* s = state_;
    previous_ = setLogSink([s](std::string_view line) {
        std::lock_guard<std::mutex> lock(s->mutex);
        s->lines.emplace_back(line);
    });
}

LogCapture::~LogCapture() {
    setLogSink(std::move(previous_));
    delete state_;
}

std::string LogCapture::text() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    std::string out;
    for (const auto& l : state_->lines) {
        out += l;
        out += '\n';
    }
    return out;
}

bool LogCapture::contains(std::string_view needle) const {
    return text().find(needle) != std::string::npos;
}

void LogCapture::clear() {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->lines.clear();
}

}  // namespace platform
