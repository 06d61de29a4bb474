#pragma once
// The per-user settings store (the phone's standard user defaults).
//
// Values are untyped: a number is just a number, whichever setter wrote it, and
// every typed getter reads every stored kind. A number reads as a bool when it
// is non-zero and as an int truncated toward zero; a string reads as a number
// through its leading numeric text and as a bool when, after white space, a
// sign and zeros, it starts with "Y", "y", "T", "t" or a digit 1-9 ("YES",
// "true", "1" are true). Registered defaults answer for keys
// that hold no stored value; they are never written to disk.
//
// Writes change the in-memory store; flush() makes them durable. All members
// are safe to call from any thread.
// Names kept from the phone client: see docs/GLOSSARY.md.
#include <map>
#include <optional>
#include <string>
#include <variant>

namespace platform {

using PrefValue = std::variant<double, std::string>;

class Preferences {
public:
    virtual ~Preferences() = default;

    virtual void registerDefaults(const std::map<std::string, PrefValue>& defaults) = 0;

    // The stored value, else the registered default, else nothing.
    virtual std::optional<PrefValue> objectForKey(const std::string& key) const = 0;
    virtual float floatForKey(const std::string& key) const = 0;     // absent: 0
    virtual bool boolForKey(const std::string& key) const = 0;       // absent: false
    virtual long long integerForKey(const std::string& key) const = 0;  // absent: 0
    // Strings as they are, numbers in their shortest text ("1", "0.5"); absent: nothing.
    virtual std::optional<std::string> stringForKey(const std::string& key) const = 0;

    virtual void setObject(const std::string& key, const PrefValue& value) = 0;
    virtual void setFloat(const std::string& key, float value) = 0;
    virtual void setBool(const std::string& key, bool value) = 0;  // stored as 1 or 0
    virtual void setInteger(const std::string& key, long long value) = 0;
    virtual void setString(const std::string& key, const std::string& value) = 0;
    // Drops the stored value; the registered default shows through again.
    virtual void removeObjectForKey(const std::string& key) = 0;

    // Writes the store to durable storage; false when it could not (the
    // previously flushed settings are then still intact).
    virtual bool flush() = 0;
};

}  // namespace platform
