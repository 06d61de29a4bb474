#include "platform/headless/HeadlessTrackers.h"

#include <filesystem>
#include <nlohmann/json.hpp>

#include "platform/Log.h"

namespace platform::headless {

HeadlessTrackers::HeadlessTrackers(std::string path, const Clock& clock) : path_(std::move(path)), clock_(clock) {}

void HeadlessTrackers::call(TrackerKind kind, const std::string& operation,
                            const std::vector<std::string>& arguments) {
    nlohmann::json line = {{"seq", 0},
                           {"time_ms", clock_.now().count()},
                           {"kind", trackerKindName(kind)},
                           {"operation", operation},
                           {"arguments", arguments}};
    std::lock_guard lock(mutex_);
    calls_.push_back({kind, operation, arguments});
    line["seq"] = ++seq_;
    if (!opened_) {
        opened_ = true;
        std::error_code ec;
        std::filesystem::create_directories(std::filesystem::path(path_).parent_path(), ec);
        out_.open(path_, std::ios::app);
        if (!out_) log("Trackers: cannot open %s; calls are kept in memory only", path_.c_str());
    }
    if (!out_) return;
    // Arguments come from pages; invalid UTF-8 is replaced, not thrown on.
    out_ << line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
    out_.flush();
}

std::vector<HeadlessTrackers::Call> HeadlessTrackers::calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

}  // namespace platform::headless
