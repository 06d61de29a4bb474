#pragma once
// Installing one fetched archive into the caches directory.
#include <string>
#include <vector>

namespace install {

// Unpacks every entry of the archive at zipPath below destination, then
// syncs what was written. True only when the archive opened, every entry
// was written or rightly skipped (junk, zero-length, hostile names, links,
// files whose directory is missing) and the files reached the disk. On
// false the archive must not be recorded as installed. Entries that would
// land on one of protectedNames (paths relative to destination: the
// client's own files there) are refused and skipped like hostile names.
bool installArchiveFile(const std::string& zipPath, const std::string& destination,
                        const std::vector<std::string>& protectedNames = {});

// The gauge target after group i (counting from 1) of n: i / n * 100 in
// single precision, truncated, so the last group gives exactly 100.
int gaugeTarget(int i, int n);

}  // namespace install
