#pragma once
// The keychain kept as one JSON file readable by the owner only (mode 0600).
// Every add and remove is written through at once (atomic replace); if the
// write fails the change is undone and errSecIO returned, so the file and the
// answers never disagree. A missing or corrupt file loads as an empty keychain.
#include <mutex>
#include <string>
#include <vector>

#include "platform/Keychain.h"

namespace platform::headless {

class FileKeychain final : public Keychain {
public:
    explicit FileKeychain(std::string path);

    OSStatus add(const KeychainItem& item) override;
    OSStatus copyMatching(const KeychainQuery& query, KeychainItem* out) const override;
    OSStatus remove(const KeychainQuery& query) override;

    const std::string& path() const { return path_; }

private:
    void load();
    bool save() const;  // caller holds mutex_
    std::vector<KeychainItem>::iterator find(const KeychainQuery& query);

    const std::string path_;
    mutable std::mutex mutex_;
    std::vector<KeychainItem> items_;
};

}  // namespace platform::headless
