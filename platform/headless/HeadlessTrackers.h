#pragma once
// The tracking services of a headless run: every call is appended as one JSON
// line to a file in the app home, so tests and operators can see what the
// client told each service:
//   {"seq":1,"time_ms":0,"kind":"app_events","operation":"logEvent","arguments":["first_app_launchar"]}
// Safe from any thread.
#include <cstdint>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/Trackers.h"

namespace platform::headless {

class HeadlessTrackers final : public Trackers {
public:
    struct Call {
        TrackerKind kind;
        std::string operation;
        std::vector<std::string> arguments;
    };

    // The file and its directory are created on the first call.
    HeadlessTrackers(std::string path, const Clock& clock);

    void call(TrackerKind kind, const std::string& operation, const std::vector<std::string>& arguments) override;

    const std::string& path() const { return path_; }
    std::vector<Call> calls() const;  // this run's calls, in order

private:
    std::string path_;
    const Clock& clock_;
    mutable std::mutex mutex_;
    std::ofstream out_;
    bool opened_ = false;
    std::uint64_t seq_ = 0;
    std::vector<Call> calls_;
};

}  // namespace platform::headless
