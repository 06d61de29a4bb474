#pragma once
// Whole-file replacement that never leaves a half-written file: the bytes go
// to a temporary file beside the target, which is synced and renamed over it.
#include <string>
#include <string_view>

namespace app {

// False on any failure; the target is then untouched.
bool writeFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace app
