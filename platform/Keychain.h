#pragma once
// The phone's keychain, reduced to what the client uses: generic-password
// items identified by class, generic, account and service. Statuses are the
// phone's numbers so callers can log and compare them as the phone's code did.
// Names kept from the phone client: see docs/GLOSSARY.md.
#include <cstdint>
#include <string>

namespace platform {

using OSStatus = std::int32_t;
inline constexpr OSStatus errSecSuccess = 0;
inline constexpr OSStatus errSecParam = -50;
inline constexpr OSStatus errSecIO = -36;
inline constexpr OSStatus errSecDuplicateItem = -25299;
inline constexpr OSStatus errSecItemNotFound = -25300;

inline constexpr const char* kSecClassGenericPassword = "genp";
inline constexpr const char* kSecAttrAccessibleAfterFirstUnlock = "ck";

// The identity of an item; two items with equal identities cannot coexist.
struct KeychainQuery {
    std::string itemClass = kSecClassGenericPassword;
    std::string generic;
    std::string account;
    std::string service;
};

struct KeychainItem {
    KeychainQuery key;
    std::string label;
    std::string description;
    std::string accessible;  // empty: the platform's default
    std::string data;        // the secret, any bytes
};

class Keychain {
public:
    virtual ~Keychain() = default;
    // errSecDuplicateItem when an item with the same identity exists.
    virtual OSStatus add(const KeychainItem& item) = 0;
    // Fills *out (may be null to test for presence); errSecItemNotFound if absent.
    virtual OSStatus copyMatching(const KeychainQuery& query, KeychainItem* out) const = 0;
    // errSecItemNotFound when there is no such item.
    virtual OSStatus remove(const KeychainQuery& query) = 0;
};

// "genp/generic/account/service", for log lines that show a query.
std::string describe(const KeychainQuery& query);

}  // namespace platform
