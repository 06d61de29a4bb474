#pragma once
// A reader of one ZIP file on libzip, and the unpacking of its entries into
// a destination directory. Nothing is ever written into an archive.
//
// Unpacking is defensive: an entry whose name could leave the destination
// (absolute, a ".." component, a backslash) or that is a symbolic link is
// never written, and every file is written under a temporary name and
// renamed into place, so a reader never sees a half-written file. Entries
// that would land on one of the caller's own files (protectName) or on a
// name of the unpacker's temporaries are refused the same way.
#include <cstdint>
#include <string>
#include <vector>

#include "foundation/Buffer.h"

struct zip;

namespace RK {

struct ZipEntryInfo {
    std::string name;          // as stored in the archive (a relative path)
    int index = -1;
    bool isDirectory = false;  // the name ends with "/"
    bool isJunk = false;       // the archiving system's metadata ("__MACOSX", "._", ".DS_")
    bool isSymlink = false;    // Unix attributes mark a symbolic link
    std::uint64_t size = 0;    // uncompressed size
};

// What unpacking one entry came to.
enum class ExtractResult {
    Written,    // a file was put in place
    Directory,  // the directory exists now
    Skipped,    // junk, zero-length, hostile or protected name, link, or its directory is missing
    Failed,     // unreadable (read or CRC error, short read) or not writable
};

class ZipArchive {
public:
    ZipArchive() = default;
    ~ZipArchive();  // closes
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    // Opens the named archive (an absolute path, or a name looked up in the
    // search directories); closes one that was open before.
    bool open(const std::string& name);
    void close();
    bool isOpen() const { return archive_ != nullptr; }

    // Entries that would be unpacked onto this path (relative to the
    // destination, e.g. the install record file) are refused, whatever
    // spelling the entry uses ("./x", "x/", "a//x" ...). Kept across open().
    void protectName(const std::string& relativePath);

    // -1 when closed.
    int entryCount() const;
    bool entryInfo(int index, ZipEntryInfo& info) const;
    // The whole uncompressed entry; empty when it cannot be read in full
    // (a short read or a CRC error gives empty, never a partly filled buffer).
    Buffer readEntry(int index) const;

    // Unpacks one entry below destination. A directory entry makes its
    // directories; a file is written only when its directory already exists.
    ExtractResult extract(int index, const std::string& destination) const;
    // The same as a yes/no: true when a file or directory is in place.
    bool extractEntry(int index, const std::string& destination) const;

private:
    ExtractResult writeFile(const ZipEntryInfo& info, const std::string& target) const;
    bool isProtected(const std::string& entryName) const;

    zip* archive_ = nullptr;
    std::vector<std::string> protected_;  // normalised relative paths
};

// True for an entry name that stays inside the directory it is unpacked to:
// not empty, not absolute, no backslash and no ".." component.
bool isSafeEntryName(const std::string& name);
// The name with empty and "." components dropped and no trailing "/":
// "./a//b/" and "a/b" name the same path below a directory.
std::string normalisedEntryName(const std::string& name);
// The archiving system's metadata entries, never unpacked.
bool isJunkEntryName(const std::string& name);

}  // namespace RK
