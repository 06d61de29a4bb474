#pragma once
// The device as a headless run reports it. The system name and the machine
// come from uname(2) ("Linux", "x86_64"); the system version is the fixed
// platform default kDefaultSystemVersion ("8.4"), never the kernel's release.
// There is no per-vendor identifier by default. Each value can be replaced
// through the environment (PELORA_DEVICE_SYSTEM_NAME, PELORA_DEVICE_SYSTEM_VERSION,
// PELORA_DEVICE_MACHINE, PELORA_DEVICE_VENDOR_ID) or the setters, so tests can
// pose as a particular phone.
#include <mutex>
#include <string>

#include "platform/Device.h"

namespace platform::headless {

class HeadlessDevice final : public Device {
public:
    HeadlessDevice();

    std::string systemName() const override;
    std::string systemVersion() const override;
    std::string machine() const override;
    std::string identifierForVendor() const override;

    void setSystemName(std::string value);
    void setSystemVersion(std::string value);
    void setMachine(std::string value);
    void setIdentifierForVendor(std::string value);

private:
    mutable std::mutex mutex_;
    std::string systemName_;
    std::string systemVersion_;
    std::string machine_;
    std::string vendorId_;
};

}  // namespace platform::headless
