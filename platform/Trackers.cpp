#include "platform/Trackers.h"

namespace platform {

const char* trackerKindName(TrackerKind kind) {
    switch (kind) {
        case TrackerKind::AdConversion: return "ad_conversion";
        case TrackerKind::InstallAttribution: return "install_attribution";
        case TrackerKind::AppEvents: return "app_events";
    }
    return "unknown";
}

}  // namespace platform
