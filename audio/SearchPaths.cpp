#include "audio/SearchPaths.h"

#include <sys/stat.h>

#include <unordered_map>

#include "foundation/Directories.h"
#include "foundation/Strings.h"
#include "platform/Log.h"
#include "platform/PathNames.h"

namespace RK {
namespace {

std::vector<SearchPath>& pathList() {
    static std::vector<SearchPath> list;
    return list;
}

std::unordered_map<std::string, std::string>& resolvedPaths() {
    static std::unordered_map<std::string, std::string> cache;
    return cache;
}

bool existsOnDisk(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

std::string withoutTrailingSlash(std::string directory) {
    while (directory.size() > 1 && directory.back() == '/') directory.pop_back();
    return directory;
}

}  // namespace

void initSearchPaths() {
    std::vector<SearchPath>& list = pathList();
    list.clear();
    const std::string directories[] = {bundlePath(), documentsPath(), cachesPath(), temporaryPath()};
    for (std::uint8_t i = 0; i < 4; ++i) {
        list.push_back({i, static_cast<std::uint8_t>(30 * (i + 1)), withoutTrailingSlash(directories[i])});
    }
}

const std::vector<SearchPath>& searchPaths() { return pathList(); }

std::string resolvePath(const char* name) {
    if (isNullOrEmpty(name)) return {};
    if (isAbsolutePath(name)) return name;
    const std::string key(name);
    auto& cache = resolvedPaths();
    if (auto it = cache.find(key); it != cache.end()) return it->second;
    if (platform::hasParentComponent(key)) {
        platform::log("resolvePath: refusing %s (leaves the search directories)", name);
        return {};
    }
    for (const SearchPath& entry : pathList()) {
        if (entry.directory.empty()) continue;
        std::string path = entry.directory + "/" + key;
        if (fileExists(path.c_str())) {
            cache.emplace(key, path);
            return path;
        }
    }
    return {};
}

bool fileExists(const char* path) {
    if (isNullOrEmpty(path)) return false;
    if (isAbsolutePath(path)) return existsOnDisk(path);
    const std::string relative(path);
    if (platform::hasParentComponent(relative)) return false;
    const std::string bundle = bundlePath();
    if (bundle.empty()) return false;
    // The bundle lookup: the file part inside the named subdirectory.
    const size_t slash = relative.rfind('/');
    const std::string directory = slash == std::string::npos ? std::string() : relative.substr(0, slash);
    const std::string file = slash == std::string::npos ? relative : relative.substr(slash + 1);
    if (file.empty()) return false;
    return existsOnDisk(bundle + "/" + (directory.empty() ? file : directory + "/" + file));
}

}  // namespace RK
