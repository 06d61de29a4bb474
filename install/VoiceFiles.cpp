#include "install/VoiceFiles.h"

#include <dirent.h>

#include <cstring>

#include "audio/SearchPaths.h"
#include "install/DownloadList.h"

namespace install {
namespace {

constexpr int kProbesBeforeScan = 32;

bool isVoiceName(const char* name) {
    const std::size_t n = std::strlen(name);
    return n > 10 && std::strncmp(name, "voice_", 6) == 0 && std::strcmp(name + n - 4, ".ogg") == 0;
}

}  // namespace

bool VoiceFiles::scan() {
    scanTried_ = true;
    DIR* dir = ::opendir(caches_.c_str());
    if (dir == nullptr) return false;  // keep asking stat
    scanned_ = true;
    while (const dirent* entry = ::readdir(dir)) {
        if (!isVoiceName(entry->d_name)) continue;
        const bool plain = entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN;
        (plain ? names_ : confirm_).insert(entry->d_name);
    }
    ::closedir(dir);
    return true;
}

bool VoiceFiles::exists(const std::string& id) {
    if (!scanTried_ && ++probes_ > kProbesBeforeScan) scan();
    if (scanned_) {
        name_.assign("voice_").append(id).append(".ogg");
        if (names_.count(name_) != 0) return true;
        if (confirm_.count(name_) == 0) return false;
    }
    return RK::fileExists(voiceFilePath(caches_, id).c_str());
}

}  // namespace install
