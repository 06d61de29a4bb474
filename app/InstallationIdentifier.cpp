#include "app/InstallationIdentifier.h"

#include <openssl/rand.h>

#include <cctype>
#include <cstdio>
#include <random>

#include "platform/Backend.h"
#include "platform/Device.h"
#include "platform/Keychain.h"
#include "platform/Log.h"
#include "platform/SystemVersion.h"

namespace app {
namespace {

::platform::KeychainQuery itemKey(const std::string& service) {
    ::platform::KeychainQuery key;
    key.itemClass = ::platform::kSecClassGenericPassword;
    key.generic = kInstallationIdentifierKey;
    key.account = kInstallationIdentifierKey;
    key.service = service;
    return key;
}

// 8-4-4-4-12 hexadecimal digits.
bool looksLikeUuid(const std::string& text) {
    if (text.size() != 36) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        if (dash ? text[i] != '-' : !std::isxdigit(static_cast<unsigned char>(text[i]))) return false;
    }
    return true;
}

std::string newIdentifier(const ::platform::Device& device) {
    const std::string vendor = device.identifierForVendor();
    if (looksLikeUuid(vendor) && vendor != kZeroUuid) return vendor;
    return makeRandomUuid();
}

std::string describeItem(const ::platform::KeychainItem& item) {
    return "{acct = \"" + item.key.account + "\"; class = " + item.key.itemClass + "; desc = \"" +
           item.description + "\"; gena = \"" + item.key.generic + "\"; labl = \"" + item.label +
           "\"; pdmn = \"" + item.accessible + "\"; svce = \"" + item.key.service + "\";}";
}

}  // namespace

std::string makeRandomUuid() {
    unsigned char bytes[16];
    if (RAND_bytes(bytes, sizeof bytes) != 1) {
        std::random_device device;
        for (unsigned char& b : bytes) b = static_cast<unsigned char>(device());
    }
    bytes[6] = static_cast<unsigned char>((bytes[6] & 0x0F) | 0x40);  // version 4
    bytes[8] = static_cast<unsigned char>((bytes[8] & 0x3F) | 0x80);  // RFC 4122 variant
    char text[37];
    std::snprintf(text, sizeof text, "%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X",
                  bytes[0], bytes[1], bytes[2], bytes[3], bytes[4], bytes[5], bytes[6], bytes[7], bytes[8],
                  bytes[9], bytes[10], bytes[11], bytes[12], bytes[13], bytes[14], bytes[15]);
    return text;
}

std::optional<std::string> uniqueInstallationIdentifier(::platform::Keychain& keychain,
                                                        const ::platform::Device& device,
                                                        const std::string& service) {
    const ::platform::KeychainQuery key = itemKey(service);
    ::platform::KeychainItem found;
    if (keychain.copyMatching(key, &found) == ::platform::errSecSuccess) {
        if (!found.data.empty() && found.data != kZeroUuid) return found.data;
        // An unusable kept value would block every later add with a duplicate
        // status and leave the installation without an identifier for good;
        // replace it instead.
        keychain.remove(key);
    }
    ::platform::KeychainItem item;
    item.key = key;
    item.label = "";
    item.description = "";
    if (::platform::systemMajorVersion(device.systemVersion()) >= 4) {
        item.accessible = ::platform::kSecAttrAccessibleAfterFirstUnlock;
    }
    item.data = newIdentifier(device);
    const ::platform::OSStatus status = keychain.add(item);
    if (status != ::platform::errSecSuccess) {
        ::platform::log("[ERROR] Couldn't add the Keychain Item. result = %ld query = %s", static_cast<long>(status),
                        describeItem(item).c_str());
        return std::nullopt;
    }
    return item.data;
}

std::optional<std::string> uniqueInstallationIdentifier(const std::string& service) {
    ::platform::Backend* backend = ::platform::backend();
    if (!backend) {
        ::platform::log("uniqueInstallationIdentifier: no platform backend");
        return std::nullopt;
    }
    return uniqueInstallationIdentifier(backend->keychain(), backend->device(), service);
}

void resetUniqueInstallationIdentifier(::platform::Keychain& keychain, const std::string& service) {
    const ::platform::KeychainQuery key = itemKey(service);
    const ::platform::OSStatus status = keychain.remove(key);
    if (status == ::platform::errSecSuccess || status == ::platform::errSecItemNotFound) {
        ::platform::log("[INFO}  Unique Installation Identifier is successfully reset.");
    } else {
        ::platform::log("[ERROR] Coudn't delete the Keychain Item. result = %ld query = %s", static_cast<long>(status),
                        ::platform::describe(key).c_str());
    }
}

void resetUniqueInstallationIdentifier(const std::string& service) {
    ::platform::Backend* backend = ::platform::backend();
    if (!backend) {
        ::platform::log("resetUniqueInstallationIdentifier: no platform backend");
        return;
    }
    resetUniqueInstallationIdentifier(backend->keychain(), service);
}

}  // namespace app
