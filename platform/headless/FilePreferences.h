#pragma once
// The settings store kept as one JSON object in a file: numbers as JSON
// numbers, strings as strings. Loading a missing, unreadable or corrupt file
// starts empty (with a log line) and never touches the file; flush() replaces
// it atomically, so a crash mid-write leaves the previous settings intact.
#include <map>
#include <mutex>
#include <string>

#include "platform/Preferences.h"

namespace platform::headless {

class FilePreferences final : public Preferences {
public:
    explicit FilePreferences(std::string path);
    // Unflushed changes are written, as the phone's store saves on exit.
    ~FilePreferences() override;

    void registerDefaults(const std::map<std::string, PrefValue>& defaults) override;
    std::optional<PrefValue> objectForKey(const std::string& key) const override;
    float floatForKey(const std::string& key) const override;
    bool boolForKey(const std::string& key) const override;
    long long integerForKey(const std::string& key) const override;
    std::optional<std::string> stringForKey(const std::string& key) const override;

    void setObject(const std::string& key, const PrefValue& value) override;
    void setFloat(const std::string& key, float value) override;
    void setBool(const std::string& key, bool value) override;
    void setInteger(const std::string& key, long long value) override;
    void setString(const std::string& key, const std::string& value) override;
    void removeObjectForKey(const std::string& key) override;
    bool flush() override;

    const std::string& path() const { return path_; }

private:
    void load();

    const std::string path_;
    mutable std::mutex mutex_;
    std::mutex flushMutex_;  // one writer of the temporary file at a time
    std::map<std::string, PrefValue> stored_;
    std::map<std::string, PrefValue> defaults_;
    bool dirty_ = false;
};

// The readings of untyped values shared by every backend's settings store.
double prefNumber(const PrefValue& value);
long long prefInteger(const PrefValue& value);
bool prefBool(const PrefValue& value);
std::string prefString(const PrefValue& value);

}  // namespace platform::headless
