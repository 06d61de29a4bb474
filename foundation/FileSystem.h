#pragma once
// Path and file-system helpers: directory part of a path, directory
// creation and file removal.
#include <string>

namespace RK {

// The directory part by the POSIX dirname rules ("." for a bare name).
std::string directoryOf(const std::string& path);

// Creates every missing directory of an absolute path with mode 0755.
// True when all exist afterwards (also for an empty path). A relative path
// gives false and creates nothing; a failed creation stops at once and
// leaves the directories made so far.
bool makeDirectories(const std::string& path);

// True when the file (or an empty directory) was deleted.
bool removeFile(const std::string& path);

}  // namespace RK
