#include "platform/headless/FilePreferences.h"

#include <cmath>
#include <limits>

#include <nlohmann/json.hpp>

#include "platform/Log.h"
#include "platform/headless/AtomicFile.h"

namespace platform::headless {

FilePreferences::FilePreferences(std::string path) : path_(std::move(path)) { load(); }

FilePreferences::~FilePreferences() {
    bool dirty;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        dirty = dirty_;
    }
    if (dirty) flush();
}

void FilePreferences::load() {
    bool missing = false;
    const std::optional<std::string> text = readWholeFile(path_, &missing);
    if (!text) {
        platform::log(missing ? "Preferences: no settings file at %s; starting empty"
                              : "Preferences: cannot read %s; starting empty",
                      path_.c_str());
        return;
    }
    const nlohmann::json root = nlohmann::json::parse(*text, nullptr, /*allow_exceptions=*/false);
    if (!root.is_object()) {
        platform::log("Preferences: %s is not a settings file; starting empty", path_.c_str());
        return;
    }
    for (const auto& [key, value] : root.items()) {
        if (value.is_number()) {
            stored_[key] = value.get<double>();
        } else if (value.is_boolean()) {
            stored_[key] = value.get<bool>() ? 1.0 : 0.0;
        } else if (value.is_string()) {
            stored_[key] = value.get<std::string>();
        } else {
            platform::log("Preferences: ignoring %s in %s (not a number or string)", key.c_str(), path_.c_str());
        }
    }
}

void FilePreferences::registerDefaults(const std::map<std::string, PrefValue>& defaults) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const auto& [key, value] : defaults) defaults_[key] = value;
}

std::optional<PrefValue> FilePreferences::objectForKey(const std::string& key) const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (auto it = stored_.find(key); it != stored_.end()) return it->second;
    if (auto it = defaults_.find(key); it != defaults_.end()) return it->second;
    return std::nullopt;
}

float FilePreferences::floatForKey(const std::string& key) const {
    const auto value = objectForKey(key);
    if (!value) return 0.0f;
    const double number = prefNumber(*value);
    // Narrowing a double beyond float's range is undefined; saturate instead.
    if (number > std::numeric_limits<float>::max()) return std::numeric_limits<float>::infinity();
    if (number < -std::numeric_limits<float>::max()) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(number);
}

bool FilePreferences::boolForKey(const std::string& key) const {
    const auto value = objectForKey(key);
    return value && prefBool(*value);
}

long long FilePreferences::integerForKey(const std::string& key) const {
    const auto value = objectForKey(key);
    return value ? prefInteger(*value) : 0;
}

std::optional<std::string> FilePreferences::stringForKey(const std::string& key) const {
    const auto value = objectForKey(key);
    if (!value) return std::nullopt;
    return prefString(*value);
}

void FilePreferences::setObject(const std::string& key, const PrefValue& value) {
    std::lock_guard<std::mutex> lock(mutex_);
    stored_[key] = value;
    dirty_ = true;
}

void FilePreferences::setFloat(const std::string& key, float value) { setObject(key, static_cast<double>(value)); }
void FilePreferences::setBool(const std::string& key, bool value) { setObject(key, value ? 1.0 : 0.0); }
void FilePreferences::setInteger(const std::string& key, long long value) {
    setObject(key, static_cast<double>(value));
}
void FilePreferences::setString(const std::string& key, const std::string& value) { setObject(key, value); }

void FilePreferences::removeObjectForKey(const std::string& key) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stored_.erase(key) > 0) dirty_ = true;
}

bool FilePreferences::flush() {
    std::lock_guard<std::mutex> writer(flushMutex_);
    nlohmann::json root = nlohmann::json::object();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (const auto& [key, value] : stored_) {
            if (const double* number = std::get_if<double>(&value)) {
                // JSON has no NaN or infinity; they would come back as null.
                if (!std::isfinite(*number)) {
                    platform::log("Preferences: %s is not a finite number; not saved", key.c_str());
                    continue;
                }
                root[key] = *number;
            } else {
                root[key] = std::get<std::string>(value);
            }
        }
        dirty_ = false;
    }
    // Invalid UTF-8 in a string must not abort the whole save.
    const std::string text = root.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
    if (!replaceFileAtomically(path_, text, 0600)) {
        std::lock_guard<std::mutex> lock(mutex_);
        dirty_ = true;
        platform::log("Preferences: flush to %s failed; previous settings kept", path_.c_str());
        return false;
    }
    return true;
}

}  // namespace platform::headless
