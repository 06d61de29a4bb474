#include "platform/headless/TemporaryHome.h"

#include <stdlib.h>

#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/Log.h"

namespace platform::headless {

TemporaryHome::TemporaryHome() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/pelora-home-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (::mkdtemp(buffer.data())) {
        path_ = buffer.data();
    } else {
        platform::log("TemporaryHome: cannot create %s", pattern.c_str());
    }
}

TemporaryHome::~TemporaryHome() {
    if (path_.empty()) return;
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

}  // namespace platform::headless
