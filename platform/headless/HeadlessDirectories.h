#pragma once
// The app home of a headless run: one root holding Documents, Library/Caches
// and tmp, created on construction, plus the bundle's resource directory.
//
// The root comes from, in order: the explicit argument, $PELORA_HOME,
// $XDG_DATA_HOME/pelora, ~/.local/share/pelora. The bundle directory comes
// from the explicit argument, $PELORA_BUNDLE_DIR, or the directory the build
// compiled in.
#include <string>

#include "platform/Directories.h"

namespace platform::headless {

class HeadlessDirectories final : public Directories {
public:
    explicit HeadlessDirectories(std::string home = {}, std::string bundle = {});

    std::string home() const override { return home_; }
    std::string bundle() const override { return bundle_; }
    std::string documents() const override { return home_ + "/Documents"; }
    std::string caches() const override { return home_ + "/Library/Caches"; }
    std::string temporary() const override { return home_ + "/tmp"; }
    // Where the settings store and the keychain keep their files.
    std::string preferences() const { return home_ + "/Library/Preferences"; }
    std::string keychains() const { return home_ + "/Library/Keychains"; }

    // Whether every directory of the home exists (creation may have failed).
    bool ready() const { return ready_; }

    static std::string defaultHome();
    static std::string defaultBundle();

private:
    std::string home_;
    std::string bundle_;
    bool ready_ = false;
};

}  // namespace platform::headless
