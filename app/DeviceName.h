#pragma once
// The hardware model name (the phone's "hw.machine", e.g. iPhone5,2), which
// the user agent carries.
#include <string>

namespace platform {
class Device;
}

namespace app {

std::string platform(const ::platform::Device& device);
// The installed backend's device; empty without a backend.
std::string platform();

// The same, or "Unknown" when it is empty.
std::string identifier(const ::platform::Device& device);
std::string identifier();

}  // namespace app
