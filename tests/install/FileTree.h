#pragma once
// What the install tests look at on disk after a run: whole files and the
// set of paths under a directory.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

namespace installtest {

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every path below root, relative to it.
inline std::set<std::string> treeOf(const std::string& root) {
    std::set<std::string> out;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
        out.insert(std::filesystem::relative(entry.path(), root).string());
    return out;
}

}  // namespace installtest
