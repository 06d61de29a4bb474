#include "foundation/FileSystem.h"

#include <libgen.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "foundation/Strings.h"
#include "platform/Log.h"

namespace RK {

std::string directoryOf(const std::string& path) {
    // dirname may write into its argument, so it gets a private copy.
    std::vector<char> copy(path.begin(), path.end());
    copy.push_back('\0');
    return std::string(::dirname(copy.data()));
}

bool makeDirectories(const std::string& path) {
    if (path.empty()) return true;
    if (!isAbsolutePath(path.c_str())) {
        // Treating it as absolute would create directories from the root.
        platform::log("RK::makeDirectories: refusing relative path \"%s\"", path.c_str());
        return false;
    }
    std::string accumulated;
    for (const std::string& piece : splitAny(path, "/")) {
        accumulated += '/';
        accumulated += piece;
        if (::access(accumulated.c_str(), F_OK) == 0) continue;
        // Another writer may create the same directory between the two calls.
        if (::mkdir(accumulated.c_str(), 0755) != 0 && errno != EEXIST) {
            platform::log("RK::makeDirectories: cannot create \"%s\": %s", accumulated.c_str(),
                          std::strerror(errno));
            return false;
        }
    }
    return true;
}

bool removeFile(const std::string& path) {
    if (path.empty()) return false;
    return std::remove(path.c_str()) == 0;
}

}  // namespace RK
