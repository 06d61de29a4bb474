#pragma once
// Whole-file reads and crash-safe whole-file replacement for the small state
// files of the backend (settings, keychain).
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace platform::headless {

// The file's bytes; nothing when it does not exist or cannot be read
// (*missing tells the two apart when given).
std::optional<std::string> readWholeFile(const std::string& path, bool* missing = nullptr);

// Writes "<path>.tmp" with the given mode, syncs it, renames it over path and
// syncs the directory. At every instant path holds either the old or the new
// contents in full. False (and a log line) on any failure; path is untouched.
bool replaceFileAtomically(const std::string& path, std::string_view contents, mode_t mode);

}  // namespace platform::headless
