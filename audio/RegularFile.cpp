#include "audio/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace RK {
namespace {

constexpr size_t kReadStep = 64 * 1024;

// The reason for a descriptor or path that may not be read; empty when it may.
std::string refusal(const struct stat& info, long long maxBytes) {
    if (!S_ISREG(info.st_mode)) return "The path is not a regular file.";
    if (maxBytes > 0 && info.st_size > maxBytes) return "The file is too large.";
    return {};
}

std::string openFailure() { return std::string("The file could not be opened: ") + std::strerror(errno) + "."; }

}  // namespace

int openRegularFile(const char* path, long long maxBytes, std::string& error) {
    if (!path || !*path) {
        error = "The file could not be opened: no path.";
        return -1;
    }
    // Checked before opening: opening some devices already does something.
    struct stat info {};
    if (::stat(path, &info) != 0) {
        error = openFailure();
        return -1;
    }
    if (std::string reason = refusal(info, maxBytes); !reason.empty()) {
        error = std::move(reason);
        return -1;
    }
    // Should the path have been swapped for a FIFO since, a non-blocking open
    // still returns at once and the second check refuses it.
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        error = openFailure();
        return -1;
    }
    std::string reason = ::fstat(fd, &info) == 0 ? refusal(info, maxBytes) : openFailure();
    if (reason.empty()) {
        // Readers of the descriptor expect ordinary blocking reads.
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) reason = openFailure();
    }
    if (!reason.empty()) {
        ::close(fd);
        error = std::move(reason);
        return -1;
    }
    return fd;
}

bool readRegularFile(const char* path, long long maxBytes, std::vector<unsigned char>& data, std::string& error) {
    data.clear();
    const int fd = openRegularFile(path, maxBytes, error);
    if (fd < 0) return false;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && info.st_size > 0) data.reserve(static_cast<size_t>(info.st_size));
    std::vector<unsigned char> step(kReadStep);
    bool ok = true;
    for (;;) {
        const ssize_t got = ::read(fd, step.data(), step.size());
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            error = std::string("The file could not be read: ") + std::strerror(errno) + ".";
            ok = false;
            break;
        }
        if (got == 0) break;
        if (maxBytes > 0 && static_cast<long long>(data.size()) + got > maxBytes) {
            error = "The file is too large.";
            ok = false;
            break;
        }
        data.insert(data.end(), step.begin(), step.begin() + got);
    }
    ::close(fd);
    if (!ok) data.clear();
    return ok;
}

}  // namespace RK
