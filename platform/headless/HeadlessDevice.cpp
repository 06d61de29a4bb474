#include "platform/headless/HeadlessDevice.h"

#include <sys/utsname.h>

#include <cstdlib>

namespace platform::headless {
namespace {

std::string envOr(const char* name, std::string fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::string(value) : fallback;
}

}  // namespace

HeadlessDevice::HeadlessDevice() {
    struct utsname names {};
    std::string sys = "Linux", hardware = "unknown";
    if (uname(&names) == 0) {
        sys = names.sysname;
        hardware = names.machine;
    }
    systemName_ = envOr("PELORA_DEVICE_SYSTEM_NAME", sys);
    systemVersion_ = envOr("PELORA_DEVICE_SYSTEM_VERSION", kDefaultSystemVersion);
    machine_ = envOr("PELORA_DEVICE_MACHINE", hardware);
    vendorId_ = envOr("PELORA_DEVICE_VENDOR_ID", "");
}

std::string HeadlessDevice::systemName() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return systemName_;
}
std::string HeadlessDevice::systemVersion() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return systemVersion_;
}
std::string HeadlessDevice::machine() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return machine_;
}
std::string HeadlessDevice::identifierForVendor() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return vendorId_;
}

void HeadlessDevice::setSystemName(std::string value) {
    std::lock_guard<std::mutex> lock(mutex_);
    systemName_ = std::move(value);
}
void HeadlessDevice::setSystemVersion(std::string value) {
    std::lock_guard<std::mutex> lock(mutex_);
    systemVersion_ = std::move(value);
}
void HeadlessDevice::setMachine(std::string value) {
    std::lock_guard<std::mutex> lock(mutex_);
    machine_ = std::move(value);
}
void HeadlessDevice::setIdentifierForVendor(std::string value) {
    std::lock_guard<std::mutex> lock(mutex_);
    vendorId_ = std::move(value);
}

}  // namespace platform::headless
