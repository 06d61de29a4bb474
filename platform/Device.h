#pragma once
// What the client may learn about the device: the operating system's name and
// version (the user agent carries both) and the hardware machine name (the
// phone's "hw.machine", e.g. iPhone5,2).
#include <string>

namespace platform {

class Device {
public:
    virtual ~Device() = default;
    virtual std::string systemName() const = 0;
    virtual std::string systemVersion() const = 0;
    virtual std::string machine() const = 0;
    // The per-vendor identifier of this device as UUID text, or empty when the
    // platform offers none.
    virtual std::string identifierForVendor() const = 0;
};

}  // namespace platform
