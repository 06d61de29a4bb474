#pragma once
// File objects over C standard I/O streams. Each is owned by one caller,
// is closed after construction and again on destruction.
#include <sys/types.h>

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

namespace RK {

class File {
public:
    File() = default;
    virtual ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // Closes the handle if open; calling it again does nothing.
    void close();
    // Size in bytes; -1 when closed or when the size cannot be told. The
    // stream position is kept.
    int size() const;
    // Changes the permission bits of the stored path.
    bool setPermissions(mode_t mode) const;

    bool isOpen() const { return handle_ != nullptr; }
    std::FILE* handle() const { return handle_; }
    // The path of the last successful open; empty before the first.
    const std::string& path() const { return path_; }

protected:
    // Opens with the given mode, closing a handle that was still open.
    // On failure the handle is null and the stored path is kept.
    bool openWithMode(const std::string& path, const char* mode);

private:
    std::FILE* handle_ = nullptr;
    std::string path_;
};

class ReadFile : public File {
public:
    // Mode "rb" when binary, else "rt".
    bool open(const std::string& path, bool binary);
    // The whole file from its start; empty when the file is not open. When
    // fewer bytes can be read than the size promised, only those are kept.
    std::string readAll();
};

class WriteFile : public File {
public:
    // Mode "wb" or "wt". With makeDirectories the parent directories are
    // made first, and the open fails as a whole when they cannot be.
    bool open(const std::string& path, bool binary, bool makeDirectories);
    // The same with modes "ab" and "at".
    bool openAppend(const std::string& path, bool binary, bool makeDirectories);

    // False when closed; otherwise whether every byte was written (an empty
    // vector gives true).
    bool write(const std::vector<char>& bytes);
    bool write(const void* bytes, std::size_t length);
    // Writes the text up to its first zero byte; false when closed, when
    // the text is empty or null, or when not every byte was written.
    bool writeString(const char* text);
    bool writeString(const std::string& text);

    // 1 when the last open asked for binary mode, 0 for text mode.
    int binary() const { return binary_; }

private:
    bool openFor(const std::string& path, bool binary, bool makeDirectories, const char* binaryMode,
                 const char* textMode);

    int binary_ = 0;
};

}  // namespace RK
