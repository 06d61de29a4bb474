#include "app/DeviceName.h"

#include "platform/Backend.h"
#include "platform/Device.h"

namespace app {

std::string platform(const ::platform::Device& device) { return device.machine(); }

std::string platform() {
    ::platform::Backend* backend = ::platform::backend();
    return backend ? platform(backend->device()) : std::string();
}

std::string identifier(const ::platform::Device& device) {
    std::string name = platform(device);
    return name.empty() ? "Unknown" : name;
}

std::string identifier() {
    std::string name = platform();
    return name.empty() ? "Unknown" : name;
}

}  // namespace app
