#include "foundation/Directories.h"

#include "platform/Backend.h"
#include "platform/Directories.h"
#include "platform/Log.h"

namespace RK {
namespace {

platform::Directories* directories(const char* caller) {
    platform::Backend* b = platform::backend();
    if (b == nullptr) {
        platform::log("RK::%s: no platform backend installed", caller);
        return nullptr;
    }
    return &b->directories();
}

// One trailing "/" goes; the root alone stays as it is.
std::string withoutTrailingSlash(std::string path) {
    if (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

}  // namespace

std::string bundlePath() {
    auto* d = directories("bundlePath");
    return d ? withoutTrailingSlash(d->bundle()) : std::string();
}

std::string documentsPath() {
    auto* d = directories("documentsPath");
    return d ? withoutTrailingSlash(d->documents()) : std::string();
}

std::string cachesPath() {
    auto* d = directories("cachesPath");
    return d ? withoutTrailingSlash(d->caches()) : std::string();
}

std::string temporaryPath() {
    auto* d = directories("temporaryPath");
    return d ? withoutTrailingSlash(d->temporary()) : std::string();
}

}  // namespace RK
