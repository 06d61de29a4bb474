#pragma once
// The four standard directories of the app, read from the installed
// platform backend. None ends in "/": callers add "/" and a file name.
// Without a backend each gives an empty string and logs why.
#include <string>

namespace RK {

std::string bundlePath();     // the application bundle's resources (read-only)
std::string documentsPath();  // the user's documents
std::string cachesPath();     // the user's caches (unpacked resources live here)
std::string temporaryPath();  // temporary files (the archive being installed)

}  // namespace RK
