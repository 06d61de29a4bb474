#include "install/ArchiveInstall.h"

#include <fcntl.h>
#include <unistd.h>

#include "install/ZipArchive.h"
#include "platform/Log.h"

namespace install {
namespace {

// One syncfs for the whole archive instead of one fsync per file: the same
// guarantee for the record written afterwards, far fewer disk flushes.
bool syncFileSystemOf(const std::string& directory) {
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::syncfs(fd) == 0;
    ::close(fd);
    return ok;
}

}  // namespace

bool installArchiveFile(const std::string& zipPath, const std::string& destination,
                        const std::vector<std::string>& protectedNames) {
    RK::ZipArchive archive;
    for (const std::string& name : protectedNames) archive.protectName(name);
    if (!archive.open(zipPath)) {
        platform::log("install: %s cannot be opened as an archive", zipPath.c_str());
        return false;
    }
    const int count = archive.entryCount();
    for (int index = 0; index < count; ++index) {
        if (archive.extract(index, destination) == RK::ExtractResult::Failed) {
            platform::log("install: entry %d of %s failed; the archive is not installed", index, zipPath.c_str());
            return false;
        }
    }
    archive.close();
    if (!syncFileSystemOf(destination)) {
        platform::log("install: syncing %s failed", destination.c_str());
        return false;
    }
    return true;
}

int gaugeTarget(int i, int n) {
    if (n <= 0) return 100;
    return static_cast<int>(static_cast<float>(i) / static_cast<float>(n) * 100.0f);
}

}  // namespace install
