// Loads arbitrary bytes as the settings file and as the keychain file, then
// reads and writes through both: loading must never crash, and whatever loads
// must survive a save and reload unchanged.
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/Log.h"
#include "platform/headless/FileKeychain.h"
#include "platform/headless/FilePreferences.h"
#include "platform/headless/TemporaryHome.h"

namespace {

void write(const std::string& path, const std::uint8_t* data, size_t size) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static bool quiet = [] {
        platform::setLogSink([](std::string_view) {});
        return true;
    }();
    (void)quiet;
    platform::headless::TemporaryHome home;
    const std::string prefsPath = home.path() + "/settings.json";
    const std::string keysPath = home.path() + "/keychain.json";
    write(prefsPath, data, size);
    write(keysPath, data, size);

    {
        platform::headless::FilePreferences prefs(prefsPath);
        (void)prefs.floatForKey("BGM_VAL");
        (void)prefs.integerForKey("VOICE_DL_KEY");
        (void)prefs.boolForKey("DOWNLOAD_FIRST");
        const float before = prefs.floatForKey("BGM_VAL");
        if (prefs.flush() && std::isfinite(before)) {
            platform::headless::FilePreferences again(prefsPath);
            if (again.floatForKey("BGM_VAL") != before) std::abort();
        }
    }
    {
        platform::headless::FileKeychain keychain(keysPath);
        platform::KeychainItem item;
        item.key.generic = item.key.account = "uniqueInstallationIdentifier";
        item.key.service = "fuzz";
        item.data = std::string(reinterpret_cast<const char*>(data), size > 64 ? 64 : size);
        const bool fresh = keychain.copyMatching(item.key, nullptr) != platform::errSecSuccess;
        if (fresh && keychain.add(item) == platform::errSecSuccess) {
            platform::headless::FileKeychain reloaded(keysPath);
            platform::KeychainItem back;
            if (reloaded.copyMatching(item.key, &back) != platform::errSecSuccess || back.data != item.data) {
                std::abort();
            }
        }
    }
    return 0;
}
