#include "app/UserAgent.h"

#include <array>
#include <cstdint>
#include <random>

namespace app {

std::string formatUserAgent(const UserAgentFields& f) {
    return f.bundleName + "/" + f.bundleVersion + "(" + f.hardwareModel + "; " + f.systemName + " " +
           f.systemVersion + ")/TARVEL_UA/iPhone/" + kProductToken + ":" + f.encipheredUuid + ":" +
           f.encipheredInstallId;
}

std::string createUUID() {
    std::random_device device;
    std::array<std::uint8_t, 16> bytes{};
    for (std::size_t i = 0; i < bytes.size(); i += 4) {
        std::uint32_t word = device();
        for (std::size_t k = 0; k < 4; ++k) bytes[i + k] = static_cast<std::uint8_t>(word >> (8 * k));
    }
    // A version-4, RFC 4122 variant UUID, like the platform's random UUIDs.
    bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0F) | 0x40);
    bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80);
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) out += '-';
        out += hex[bytes[i] >> 4];
        out += hex[bytes[i] & 0x0F];
    }
    return out;
}

}  // namespace app
