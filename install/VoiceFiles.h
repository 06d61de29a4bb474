#pragma once
// Whether an entry's voice file ("voice_" + id + ".ogg") lies in the caches
// directory. A few questions are answered with one stat each; a long list
// of them reads the directory once instead, which for 100 000 list lines is
// many times cheaper than a stat per line. Answers are the same either way:
// a plain entry seen in the directory exists as a stat would find it, and a
// link (or an entry of unknown type) is still confirmed with a stat.
#include <string>
#include <unordered_set>

namespace install {

class VoiceFiles {
public:
    explicit VoiceFiles(std::string cachesDir) : caches_(std::move(cachesDir)) {}

    bool exists(const std::string& id);

private:
    bool scan();

    std::string caches_;
    int probes_ = 0;
    bool scanTried_ = false;
    bool scanned_ = false;
    std::unordered_set<std::string> names_;    // plain directory entries named voice_*.ogg
    std::unordered_set<std::string> confirm_;  // links and entries of unknown type
    std::string name_;                       // reused for lookups
};

}  // namespace install
