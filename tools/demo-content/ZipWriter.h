#pragma once
// Writes ZIP files with libzip: files, directory entries and symbolic links
// under any name given, hostile ones included (the demo content and the
// tests both need archives the client must refuse to unpack).
#include <string>
#include <vector>

namespace democontent {

struct ZipItem {
    enum Kind { File, Directory, Symlink };
    Kind kind = File;
    std::string name;  // stored as given; a Directory gets its "/" from libzip
    std::string data;  // file content, or the link's target
    bool store = false;  // true: no compression (bytes appear as they are)
};

// Replaces path with an archive of the items, in order, every entry dated
// 2020-01-01 so the bytes are the same on every run. False on any failure.
bool writeZip(const std::string& path, const std::vector<ZipItem>& items);

// The archive as bytes (written through a temporary file); empty on failure.
std::string zipBytes(const std::vector<ZipItem>& items);

}  // namespace democontent
