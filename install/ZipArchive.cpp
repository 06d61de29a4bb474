#include "install/ZipArchive.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "audio/SearchPaths.h"
#include "foundation/FileSystem.h"
#include "platform/Log.h"
#include "platform/PathNames.h"

namespace RK {
namespace {

// Entries are copied through a buffer of at most this size, so memory
// stays flat however large an entry is. The buffer is sized to the entry
// and left uninitialised: an archive of 100 000 tiny files must not cost
// 100 000 zero-filled 256 KiB blocks.
constexpr std::size_t kCopyChunk = 256 * 1024;

// Files are written under this prefix and renamed into place; no entry may
// take such a name.
constexpr const char* kTempPrefix = ".unpack-";

std::string lastComponent(const std::string& normalised) {
    const std::size_t slash = normalised.rfind('/');
    return slash == std::string::npos ? normalised : normalised.substr(slash + 1);
}

bool isDirectoryOnDisk(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool isUnixSymlink(zip* archive, zip_uint64_t index) {
    zip_uint8_t opsys = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(archive, index, 0, &opsys, &attributes) != 0) return false;
    if (opsys != ZIP_OPSYS_UNIX) return false;
    return ((attributes >> 16) & S_IFMT) == S_IFLNK;
}

bool writeAll(int fd, const char* data, std::size_t length) {
    while (length > 0) {
        const ssize_t n = ::write(fd, data, length);
        if (n < 0) return false;
        data += n;
        length -= static_cast<std::size_t>(n);
    }
    return true;
}

// Reads the open entry to its end into fd; false on a read or CRC error or
// when the entry holds another number of bytes than its header promised.
bool copyEntry(zip_file_t* file, int fd, std::uint64_t expected, const std::string& name) {
    // One byte more than promised shows an entry that holds more.
    const std::size_t size = expected < kCopyChunk ? static_cast<std::size_t>(expected) + 1 : kCopyChunk;
    const std::unique_ptr<char[]> chunk(new char[size]);
    std::uint64_t total = 0;
    for (;;) {
        const zip_int64_t n = zip_fread(file, chunk.get(), size);
        if (n < 0) {
            platform::log("ZipArchive: reading %s failed: %s", name.c_str(), zip_file_strerror(file));
            return false;
        }
        if (n == 0) break;
        total += static_cast<std::uint64_t>(n);
        if (total > expected) break;
        if (!writeAll(fd, chunk.get(), static_cast<std::size_t>(n))) {
            platform::log("ZipArchive: writing %s failed", name.c_str());
            return false;
        }
    }
    if (total != expected) {
        platform::log("ZipArchive: %s holds %llu bytes, its header says %llu", name.c_str(),
                      static_cast<unsigned long long>(total), static_cast<unsigned long long>(expected));
        return false;
    }
    return true;
}

}  // namespace

bool isSafeEntryName(const std::string& name) {
    if (name.empty() || name[0] == '/') return false;
    if (name.find('\\') != std::string::npos) return false;
    return !platform::hasParentComponent(name);
}

std::string normalisedEntryName(const std::string& name) {
    std::string out;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find('/', start);
        if (end == std::string::npos) end = name.size();
        const std::string_view part(name.data() + start, end - start);
        if (!part.empty() && part != ".") {
            if (!out.empty()) out += '/';
            out.append(part);
        }
        start = end + 1;
    }
    return out;
}

bool isJunkEntryName(const std::string& name) {
    return name.find("__MACOSX") != std::string::npos || name.find("._") != std::string::npos ||
           name.find(".DS_") != std::string::npos;
}

ZipArchive::~ZipArchive() { close(); }

void ZipArchive::protectName(const std::string& relativePath) {
    protected_.push_back(normalisedEntryName(relativePath));
}

bool ZipArchive::isProtected(const std::string& entryName) const {
    const std::string name = normalisedEntryName(entryName);
    if (lastComponent(name).rfind(kTempPrefix, 0) == 0) return true;
    for (const std::string& path : protected_)
        if (name == path) return true;
    return false;
}

bool ZipArchive::open(const std::string& name) {
    close();
    const std::string path = resolvePath(name.c_str());
    if (path.empty()) {
        platform::log("ZipArchive: %s not found", name.c_str());
        return false;
    }
    int error = 0;
    archive_ = zip_open(path.c_str(), 0, &error);
    if (archive_ == nullptr) {
        zip_error_t detail;
        zip_error_init_with_code(&detail, error);
        platform::log("ZipArchive: cannot open %s: %s", path.c_str(), zip_error_strerror(&detail));
        zip_error_fini(&detail);
        return false;
    }
    return true;
}

void ZipArchive::close() {
    if (archive_ != nullptr) zip_discard(archive_);
    archive_ = nullptr;
}

int ZipArchive::entryCount() const {
    if (archive_ == nullptr) return -1;
    const zip_int64_t count = zip_get_num_entries(archive_, 0);
    if (count < 0) return -1;
    return count > INT_MAX ? INT_MAX : static_cast<int>(count);
}

bool ZipArchive::entryInfo(int index, ZipEntryInfo& info) const {
    if (archive_ == nullptr || index < 0) return false;
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(archive_, static_cast<zip_uint64_t>(index), 0, &st) != 0) return false;
    if ((st.valid & ZIP_STAT_NAME) == 0 || st.name == nullptr) return false;
    info.name = st.name;
    info.index = index;
    info.isDirectory = !info.name.empty() && info.name.back() == '/';
    info.isJunk = isJunkEntryName(info.name);
    info.isSymlink = isUnixSymlink(archive_, static_cast<zip_uint64_t>(index));
    info.size = (st.valid & ZIP_STAT_SIZE) != 0 ? st.size : 0;
    return true;
}

Buffer ZipArchive::readEntry(int index) const {
    Buffer buffer;
    ZipEntryInfo info;
    if (!entryInfo(index, info) || info.size == 0) return buffer;
    if (info.size > static_cast<std::uint64_t>(INT_MAX)) {
        platform::log("ZipArchive: %s is too large to read whole", info.name.c_str());
        return buffer;
    }
    zip_file_t* file = zip_fopen_index(archive_, static_cast<zip_uint64_t>(index), 0);
    if (file == nullptr) return buffer;
    void* block = std::malloc(static_cast<std::size_t>(info.size));
    if (block == nullptr) {
        zip_fclose(file);
        return buffer;
    }
    const zip_int64_t n = zip_fread(file, block, info.size);
    // The CRC is checked when the end is reached: one more read must give 0.
    char extra = 0;
    const zip_int64_t tail = n == static_cast<zip_int64_t>(info.size) ? zip_fread(file, &extra, 1) : -1;
    zip_fclose(file);
    if (tail != 0) {
        platform::log("ZipArchive: reading %s failed", info.name.c_str());
        std::free(block);
        return buffer;
    }
    buffer.adopt(block, static_cast<int>(info.size));
    return buffer;
}

ExtractResult ZipArchive::extract(int index, const std::string& destination) const {
    ZipEntryInfo info;
    if (!entryInfo(index, info)) {
        platform::log("ZipArchive: no entry %d", index);
        return ExtractResult::Failed;
    }
    if (info.isJunk) return ExtractResult::Skipped;
    if (!isSafeEntryName(info.name) || info.isSymlink) {
        platform::log("ZipArchive: refusing entry \"%s\"%s", info.name.c_str(),
                      info.isSymlink ? " (symbolic link)" : " (leaves the destination)");
        return ExtractResult::Skipped;
    }
    if (isProtected(info.name)) {
        platform::log("ZipArchive: refusing entry \"%s\" (would replace one of the client's own files)",
                      info.name.c_str());
        return ExtractResult::Skipped;
    }
    std::string target = destination;
    if (target.empty() || target.back() != '/') target += '/';
    target += info.name;
    if (info.isDirectory) {
        if (makeDirectories(target)) return ExtractResult::Directory;
        platform::log("ZipArchive: cannot make directory %s", target.c_str());
        return ExtractResult::Failed;
    }
    if (info.size == 0) return ExtractResult::Skipped;
    // Directories are made only by their own entries (or exist already).
    if (!isDirectoryOnDisk(directoryOf(target))) {
        platform::log("ZipArchive: skipping %s: its directory does not exist", info.name.c_str());
        return ExtractResult::Skipped;
    }
    return writeFile(info, target);
}

ExtractResult ZipArchive::writeFile(const ZipEntryInfo& info, const std::string& target) const {
    std::string temp = directoryOf(target) + "/" + kTempPrefix + "XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        platform::log("ZipArchive: cannot create a file beside %s", target.c_str());
        return ExtractResult::Failed;
    }
    bool ok = ::fchmod(fd, 0644) == 0;
    zip_file_t* file = ok ? zip_fopen_index(archive_, static_cast<zip_uint64_t>(info.index), 0) : nullptr;
    if (file == nullptr) {
        platform::log("ZipArchive: cannot read entry %s", info.name.c_str());
        ok = false;
    } else {
        ok = copyEntry(file, fd, info.size, info.name);
        zip_fclose(file);
    }
    if (::close(fd) != 0) ok = false;
    if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
        platform::log("ZipArchive: cannot put %s in place", target.c_str());
        ok = false;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return ExtractResult::Failed;
    }
    return ExtractResult::Written;
}

bool ZipArchive::extractEntry(int index, const std::string& destination) const {
    const ExtractResult result = extract(index, destination);
    return result == ExtractResult::Written || result == ExtractResult::Directory;
}

}  // namespace RK
