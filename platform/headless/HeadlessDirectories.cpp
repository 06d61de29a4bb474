#include "platform/headless/HeadlessDirectories.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/Log.h"

#ifndef PELORA_DEFAULT_BUNDLE_DIR
#define PELORA_DEFAULT_BUNDLE_DIR ""
#endif

namespace platform::headless {
namespace {

std::string env(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

// Trailing slashes would double up when paths are joined below.
std::string trimmed(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

bool makeDirectory(const std::string& path) {
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    if (ec || !std::filesystem::is_directory(path, ec)) {
        platform::log("HeadlessDirectories: cannot create %s (%s)", path.c_str(), ec.message().c_str());
        return false;
    }
    return true;
}

}  // namespace

std::string HeadlessDirectories::defaultHome() {
    if (std::string home = env("PELORA_HOME"); !home.empty()) return trimmed(home);
    if (std::string xdg = env("XDG_DATA_HOME"); !xdg.empty()) return trimmed(xdg) + "/pelora";
    if (std::string user = env("HOME"); !user.empty()) return trimmed(user) + "/.local/share/pelora";
    // No home at all (a bare service account): stay inside the temporary area.
    return "/tmp/pelora";
}

std::string HeadlessDirectories::defaultBundle() {
    if (std::string bundle = env("PELORA_BUNDLE_DIR"); !bundle.empty()) return trimmed(bundle);
    return trimmed(PELORA_DEFAULT_BUNDLE_DIR);
}

HeadlessDirectories::HeadlessDirectories(std::string home, std::string bundle)
    : home_(home.empty() ? defaultHome() : trimmed(std::move(home))),
      bundle_(bundle.empty() ? defaultBundle() : trimmed(std::move(bundle))) {
    ready_ = true;
    for (const std::string& dir : {documents(), caches(), temporary(), preferences(), keychains()}) {
        ready_ = makeDirectory(dir) && ready_;
    }
    // The keychain's folder is the owner's alone, like the file inside it.
    std::error_code ec;
    std::filesystem::permissions(keychains(), std::filesystem::perms::owner_all, ec);
}

}  // namespace platform::headless
