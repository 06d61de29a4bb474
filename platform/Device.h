#pragma once
// What the client may learn about the device: the operating system's name and
// version (the user agent carries both) and the hardware machine name (the
// phone's "hw.machine", e.g. iPhone5,2).
//
// The system version is the client platform's own phone-OS-like version, not
// the kernel's: the client's version gates (first-launch and activation
// events above 5, outside links above 4, notification settings from 8) were
// written for the phone's system, and a kernel release would steer them by
// accident. Backends report kDefaultSystemVersion unless told otherwise (the
// headless one by PELORA_DEVICE_SYSTEM_VERSION or its setter).
// Names kept from the phone client: see docs/GLOSSARY.md.
#include <string>

namespace platform {

// Takes every modern path of the gates; not "6.0", which one of them singles out.
inline constexpr const char* kDefaultSystemVersion = "8.4";

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
