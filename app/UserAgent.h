#pragma once
// The one user-agent line of the client (web view, HTTP client, relays).
#include <string>

namespace app {

inline constexpr const char* kProductToken = "PELORA_ver01";

struct UserAgentFields {
    std::string bundleName;
    std::string bundleVersion;
    std::string hardwareModel;   // such as iPhone5,2
    std::string systemName;
    std::string systemVersion;   // the platform's, e.g. "8.4" by default; never the kernel's release
    std::string encipheredUuid;        // Base64, or empty
    std::string encipheredInstallId;   // Base64, or empty
};

// "%@/%@(%@; %@ %@)/TARVEL_UA/iPhone/%@:%@:%@"
std::string formatUserAgent(const UserAgentFields& fields);

// A new random UUID: 36 characters, upper-case hex in 8-4-4-4-12 groups.
std::string createUUID();

}  // namespace app
