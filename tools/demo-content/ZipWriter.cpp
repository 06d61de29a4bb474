#include "tools/demo-content/ZipWriter.h"

#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <cstdio>
#include <fstream>
#include <iterator>

namespace democontent {
namespace {

constexpr time_t kFixedTime = 1577836800;  // 2020-01-01 00:00:00 UTC

bool addItem(zip_t* archive, const ZipItem& item) {
    if (item.kind == ZipItem::Directory) {
        const zip_int64_t index = zip_dir_add(archive, item.name.c_str(), ZIP_FL_ENC_RAW);
        return index >= 0 && zip_file_set_mtime(archive, static_cast<zip_uint64_t>(index), kFixedTime, 0) == 0;
    }
    zip_source_t* source = zip_source_buffer(archive, item.data.data(), item.data.size(), 0);
    if (source == nullptr) return false;
    const zip_int64_t index = zip_file_add(archive, item.name.c_str(), source, ZIP_FL_ENC_RAW | ZIP_FL_OVERWRITE);
    if (index < 0) {
        zip_source_free(source);
        return false;
    }
    const auto at = static_cast<zip_uint64_t>(index);
    if (zip_file_set_mtime(archive, at, kFixedTime, 0) != 0) return false;
    if (item.store && zip_set_file_compression(archive, at, ZIP_CM_STORE, 0) != 0) return false;
    if (item.kind == ZipItem::Symlink &&
        zip_file_set_external_attributes(archive, at, 0, ZIP_OPSYS_UNIX, (S_IFLNK | 0777u) << 16) != 0)
        return false;
    return true;
}

}  // namespace

bool writeZip(const std::string& path, const std::vector<ZipItem>& items) {
    std::remove(path.c_str());
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (archive == nullptr) return false;
    for (const ZipItem& item : items) {
        if (!addItem(archive, item)) {
            zip_discard(archive);
            return false;
        }
    }
    // An archive without entries is not written by libzip; make it anyway.
    if (items.empty()) {
        zip_discard(archive);
        static const char kEmpty[22] = {'P', 'K', 5, 6};
        std::ofstream out(path, std::ios::binary);
        out.write(kEmpty, sizeof kEmpty);
        return static_cast<bool>(out);
    }
    return zip_close(archive) == 0;
}

std::string zipBytes(const std::vector<ZipItem>& items) {
    char pattern[] = "/tmp/zipwriter-XXXXXX";
    const int fd = ::mkstemp(pattern);
    if (fd < 0) return {};
    ::close(fd);
    std::string bytes;
    if (writeZip(pattern, items)) {
        std::ifstream in(pattern, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::remove(pattern);
    return bytes;
}

}  // namespace democontent
