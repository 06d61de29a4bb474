#include "foundation/File.h"

#include <sys/stat.h>

#include <climits>

#include "foundation/FileSystem.h"
#include "foundation/Strings.h"
#include "platform/Log.h"

namespace RK {

File::~File() { close(); }

void File::close() {
    if (handle_ == nullptr) return;
    std::fclose(handle_);
    handle_ = nullptr;
}

int File::size() const {
    if (handle_ == nullptr) return -1;
    const off_t here = ::ftello(handle_);
    if (here < 0 || ::fseeko(handle_, 0, SEEK_END) != 0) return -1;
    const off_t end = ::ftello(handle_);
    ::fseeko(handle_, here, SEEK_SET);
    if (end < 0 || end > INT_MAX) {
        if (end > INT_MAX) platform::log("RK::File::size: \"%s\" is too large", path_.c_str());
        return -1;
    }
    return static_cast<int>(end);
}

bool File::setPermissions(mode_t mode) const { return ::chmod(path_.c_str(), mode) == 0; }

bool File::openWithMode(const std::string& path, const char* mode) {
    // A second open would otherwise leak the first stream.
    close();
    handle_ = std::fopen(path.c_str(), mode);
    if (handle_ == nullptr) return false;
    path_ = path;
    return true;
}

bool ReadFile::open(const std::string& path, bool binary) {
    return openWithMode(path, binary ? "rb" : "rt");
}

std::string ReadFile::readAll() {
    std::FILE* f = handle();
    if (f == nullptr) return {};
    if (std::fseek(f, 0, SEEK_SET) != 0) return {};
    const int n = size();
    if (n <= 0) return {};
    std::string bytes(static_cast<std::size_t>(n), '\0');
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), f);
    if (got < bytes.size()) {
        // Zero padding would pass for file content; keep what was really read.
        platform::log("RK::ReadFile::readAll: read %zu of %d bytes of \"%s\"", got, n,
                      path().c_str());
        bytes.resize(got);
    }
    return bytes;
}

bool WriteFile::openFor(const std::string& path, bool binary, bool makeDirs, const char* binaryMode,
                        const char* textMode) {
    if (makeDirs && !makeDirectories(directoryOf(path))) return false;
    binary_ = binary ? 1 : 0;
    return openWithMode(path, binary ? binaryMode : textMode);
}

bool WriteFile::open(const std::string& path, bool binary, bool makeDirs) {
    return openFor(path, binary, makeDirs, "wb", "wt");
}

bool WriteFile::openAppend(const std::string& path, bool binary, bool makeDirs) {
    return openFor(path, binary, makeDirs, "ab", "at");
}

bool WriteFile::write(const void* bytes, std::size_t length) {
    std::FILE* f = handle();
    if (f == nullptr) return false;
    if (length == 0) return true;
    return std::fwrite(bytes, 1, length, f) == length;
}

bool WriteFile::write(const std::vector<char>& bytes) { return write(bytes.data(), bytes.size()); }

bool WriteFile::writeString(const char* text) {
    if (handle() == nullptr) return false;
    const std::size_t n = safeLength(text);
    return n > 0 && write(text, n);
}

bool WriteFile::writeString(const std::string& text) { return writeString(text.c_str()); }

}  // namespace RK
