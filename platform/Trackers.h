#pragma once
// The three tracking services outside the client, told by kind. The client
// only makes calls (an operation name and its arguments as text) and uses no
// answer; the backend decides what a call does. Safe from any thread.
#include <string>
#include <vector>

namespace platform {

enum class TrackerKind { AdConversion, InstallAttribution, AppEvents };

// "ad_conversion", "install_attribution", "app_events".
const char* trackerKindName(TrackerKind kind);

class Trackers {
public:
    virtual ~Trackers() = default;
    virtual void call(TrackerKind kind, const std::string& operation, const std::vector<std::string>& arguments = {}) = 0;
};

}  // namespace platform
