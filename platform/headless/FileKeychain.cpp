#include "platform/headless/FileKeychain.h"

#include <algorithm>

#include <nlohmann/json.hpp>

#include "platform/Log.h"
#include "platform/headless/AtomicFile.h"

namespace platform::headless {
namespace {

// Item data are arbitrary bytes and JSON strings must be UTF-8: store hex.
std::string toHex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool fromHex(const std::string& hex, std::string& out) {
    if (hex.size() % 2 != 0) return false;
    out.clear();
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int hi = hexDigit(hex[i]), lo = hexDigit(hex[i + 1]);
        if (hi < 0 || lo < 0) return false;
        out += static_cast<char>(hi * 16 + lo);
    }
    return true;
}

bool sameKey(const KeychainQuery& a, const KeychainQuery& b) {
    return a.itemClass == b.itemClass && a.generic == b.generic && a.account == b.account &&
           a.service == b.service;
}

// Attributes are text; one that is not UTF-8 could not be saved faithfully.
bool isSavableText(const std::string& text) {
    try {
        (void)nlohmann::json(text).dump();
        return true;
    } catch (const nlohmann::json::exception&) {
        return false;
    }
}

bool itemFromJson(const nlohmann::json& j, KeychainItem& item) {
    if (!j.is_object()) return false;
    auto text = [&](const char* name, std::string& out) {
        auto it = j.find(name);
        if (it == j.end() || !it->is_string()) return false;
        out = it->get<std::string>();
        return true;
    };
    std::string hex;
    return text("class", item.key.itemClass) && text("generic", item.key.generic) &&
           text("account", item.key.account) && text("service", item.key.service) &&
           text("label", item.label) && text("description", item.description) &&
           text("accessible", item.accessible) && text("data", hex) && fromHex(hex, item.data);
}

}  // namespace

FileKeychain::FileKeychain(std::string path) : path_(std::move(path)) { load(); }

void FileKeychain::load() {
    bool missing = false;
    const std::optional<std::string> text = readWholeFile(path_, &missing);
    if (!text) {
        if (!missing) platform::log("Keychain: cannot read %s; starting empty", path_.c_str());
        return;
    }
    const nlohmann::json root = nlohmann::json::parse(*text, nullptr, /*allow_exceptions=*/false);
    if (!root.is_array()) {
        platform::log("Keychain: %s is not a keychain file; starting empty", path_.c_str());
        return;
    }
    for (const nlohmann::json& entry : root) {
        KeychainItem item;
        if (itemFromJson(entry, item)) {
            items_.push_back(std::move(item));
        } else {
            platform::log("Keychain: skipping a malformed item in %s", path_.c_str());
        }
    }
}

bool FileKeychain::save() const {
    nlohmann::json root = nlohmann::json::array();
    for (const KeychainItem& item : items_) {
        root.push_back({{"class", item.key.itemClass},
                        {"generic", item.key.generic},
                        {"account", item.key.account},
                        {"service", item.key.service},
                        {"label", item.label},
                        {"description", item.description},
                        {"accessible", item.accessible},
                        {"data", toHex(item.data)}});
    }
    return replaceFileAtomically(path_, root.dump(2) + "\n", 0600);
}

std::vector<KeychainItem>::iterator FileKeychain::find(const KeychainQuery& query) {
    return std::find_if(items_.begin(), items_.end(),
                        [&](const KeychainItem& item) { return sameKey(item.key, query); });
}

OSStatus FileKeychain::add(const KeychainItem& item) {
    for (const std::string* text : {&item.key.itemClass, &item.key.generic, &item.key.account,
                                    &item.key.service, &item.label, &item.description, &item.accessible}) {
        if (!isSavableText(*text)) return errSecParam;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    if (find(item.key) != items_.end()) return errSecDuplicateItem;
    items_.push_back(item);
    if (!save()) {
        items_.pop_back();
        return errSecIO;
    }
    return errSecSuccess;
}

OSStatus FileKeychain::copyMatching(const KeychainQuery& query, KeychainItem* out) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = const_cast<FileKeychain*>(this)->find(query);
    if (it == items_.end()) return errSecItemNotFound;
    if (out) *out = *it;
    return errSecSuccess;
}

OSStatus FileKeychain::remove(const KeychainQuery& query) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = find(query);
    if (it == items_.end()) return errSecItemNotFound;
    KeychainItem removed = std::move(*it);
    const auto index = it - items_.begin();
    items_.erase(it);
    if (!save()) {
        items_.insert(items_.begin() + index, std::move(removed));
        return errSecIO;
    }
    return errSecSuccess;
}

}  // namespace platform::headless
