#include "platform/headless/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/Log.h"

namespace platform::headless {
namespace {

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    // Reports the close error, which for some file systems is the write error.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

std::string parentOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

std::optional<std::string> readWholeFile(const std::string& path, bool* missing) {
    if (missing) *missing = false;
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        if (missing) *missing = (errno == ENOENT);
        return std::nullopt;
    }
    std::string out;
    char chunk[8192];
    for (;;) {
        const ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        if (n == 0) break;
        out.append(chunk, static_cast<std::size_t>(n));
    }
    return out;
}

bool replaceFileAtomically(const std::string& path, std::string_view contents, mode_t mode) {
    const std::string temp = path + ".tmp";
    Fd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode));
    if (fd.get() < 0) {
        platform::log("cannot create %s: %s", temp.c_str(), std::strerror(errno));
        return false;
    }
    // A leftover temporary file keeps its old mode through O_CREAT; set it.
    const bool written = ::fchmod(fd.get(), mode) == 0 && writeAll(fd.get(), contents) &&
                         ::fsync(fd.get()) == 0;
    const int writeErrno = errno;
    if (!fd.close() || !written) {
        platform::log("cannot write %s: %s", temp.c_str(), std::strerror(written ? errno : writeErrno));
        ::unlink(temp.c_str());
        return false;
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        platform::log("cannot replace %s: %s", path.c_str(), std::strerror(errno));
        ::unlink(temp.c_str());
        return false;
    }
    // The rename itself is durable only once the directory entry is on disk.
    Fd dir(::open(parentOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());
    return true;
}

}  // namespace platform::headless
