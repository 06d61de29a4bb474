#pragma once
// Reading the operating system's version the way the client's version gates
// do: the major version is the leading decimal integer of the version text
// ("8.4.1" -> 8, "6.0" -> 6, "" or "beta" -> 0).
#include <string>
#include <string_view>

#include "platform/Backend.h"
#include "platform/Device.h"

namespace platform {

inline int systemMajorVersion(std::string_view version) {
    int major = 0;
    for (char c : version) {
        if (c < '0' || c > '9') break;
        if (major > 100000) break;  // absurd texts stay bounded
        major = major * 10 + (c - '0');
    }
    return major;
}

// The installed backend's device; 0 / empty without a backend.
inline std::string currentSystemVersion() {
    Backend* b = backend();
    return b ? b->device().systemVersion() : std::string();
}
inline int currentSystemMajorVersion() { return systemMajorVersion(currentSystemVersion()); }

}  // namespace platform
