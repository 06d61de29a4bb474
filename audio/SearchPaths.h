#pragma once
// The ordered directories a bare file name is looked up in (bundle first,
// then documents, caches, temporary), and the cache of names already found.
// Main thread only.
#include <cstdint>
#include <string>
#include <vector>

namespace RK {

struct SearchPath {
    std::uint8_t id = 0;
    std::uint8_t weight = 0;  // stored, not used by any lookup
    std::string directory;    // no trailing "/"
};

// Rebuilds the list from the standard directories (clears it first). The
// resolved-path cache is kept: a name found once keeps its first answer.
void initSearchPaths();
const std::vector<SearchPath>& searchPaths();

// Full path of a file name: an absolute name as it is, else the first
// search-list directory that holds it; empty when none does (not cached).
std::string resolvePath(const char* name);
// Absolute: the file exists. Relative: the bundle holds a resource by that
// name (in its subdirectory, if the name has one).
bool fileExists(const char* path);

}  // namespace RK
