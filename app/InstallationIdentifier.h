#pragma once
// The installation identifier kept in the keychain: it survives reinstalls of
// the settings store and travels (enciphered) in the user agent.
//
// The item is a generic password with generic and account
// "uniqueInstallationIdentifier" and the bundle identifier as service.
#include <optional>
#include <string>

namespace platform {
class Device;
class Keychain;
}  // namespace platform

namespace app {

inline constexpr const char* kInstallationIdentifierKey = "uniqueInstallationIdentifier";
inline constexpr const char* kZeroUuid = "00000000-0000-0000-0000-000000000000";

// The kept identifier, or a new one (the device's per-vendor identifier when
// it has a usable one, else a random UUID) that is stored first. Null, with a
// log line, when the keychain refuses the new item.
std::optional<std::string> uniqueInstallationIdentifier(::platform::Keychain& keychain,
                                                        const ::platform::Device& device,
                                                        const std::string& service);
// Over the installed backend; null without one.
std::optional<std::string> uniqueInstallationIdentifier(const std::string& service);

// Deletes the item; a missing item counts as reset. Logs either way.
void resetUniqueInstallationIdentifier(::platform::Keychain& keychain, const std::string& service);
void resetUniqueInstallationIdentifier(const std::string& service);

// A new random (version 4) UUID in upper-case 8-4-4-4-12 text.
std::string makeRandomUuid();

}  // namespace app
