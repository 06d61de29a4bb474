#include "install/InstallRecords.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <functional>

#include "foundation/File.h"
#include "foundation/Strings.h"
#include "platform/Log.h"

namespace install {

std::string recordText(const std::string& id, const std::string& marker) { return id + "\t" + marker; }

bool InstallRecords::load(const std::string& path) {
    loadText(std::string());
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return true;
    RK::ReadFile file;
    if (!file.open(path, false)) {
        platform::log("install records: cannot read %s", path.c_str());
        return false;
    }
    loadText(file.readAll());
    return true;
}

void InstallRecords::loadText(std::string text) {
    text_ = std::move(text);
    count_ = 0;
    const std::string_view all(text_);
    const std::size_t lines = static_cast<std::size_t>(std::count(all.begin(), all.end(), '\n')) + 1;
    std::size_t capacity = 16;
    while (capacity < lines * 2) capacity *= 2;
    slots_.assign(capacity, Slot{});
    // The pieces of a split at "\n", the empty one after the last line end included.
    std::size_t start = 0;
    for (std::size_t end = all.find('\n'); end != std::string_view::npos; end = all.find('\n', start)) {
        insert(all.substr(start, end - start));
        start = end + 1;
    }
    insert(all.substr(start));
}

void InstallRecords::insert(std::string_view line) {
    const std::uint64_t hash = std::hash<std::string_view>()(line);
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = hash & mask;
    while (slots_[i].data != nullptr) i = (i + 1) & mask;
    // A view into a std::string is never null, so a taken slot stays marked.
    slots_[i] = Slot{hash, line.data(), line.size()};
    ++count_;
}

bool InstallRecords::contains(std::string_view record) const {
    if (slots_.empty()) return false;
    const std::uint64_t hash = std::hash<std::string_view>()(record);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask; slots_[i].data != nullptr; i = (i + 1) & mask) {
        const Slot& slot = slots_[i];
        if (slot.hash == hash && std::string_view(slot.data, slot.length) == record) return true;
    }
    return false;
}

bool RecordLog::open(const std::string& path) {
    close();
    file_ = std::fopen(path.c_str(), "at");
    if (file_ == nullptr) {
        platform::log("install records: cannot open %s for appending", path.c_str());
        return false;
    }
    path_ = path;
    return true;
}

void RecordLog::close() {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
}

bool RecordLog::stillAtPath() const {
    struct stat held {};
    struct stat named {};
    return ::fstat(fileno(file_), &held) == 0 && ::stat(path_.c_str(), &named) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

bool RecordLog::followPath() {
    if (file_ == nullptr) return false;
    if (stillAtPath()) return true;
    // Whatever took the file's place (or removed it), records written to
    // the old, unlinked file would be lost: append to what is there now.
    platform::log("install records: %s was replaced or removed; reopening it", path_.c_str());
    const std::string path = path_;
    return open(path);
}

bool RecordLog::append(const std::string& id, const std::string& marker) {
    if (!followPath()) return false;
    const std::string line = recordText(id, marker) + "\n";
    const bool ok = std::fwrite(line.data(), 1, line.size(), file_) == line.size() && std::fflush(file_) == 0;
    if (!ok) platform::log("install records: writing to %s failed", path_.c_str());
    return ok;
}

bool RecordLog::sync() {
    if (file_ == nullptr) return false;
    // Records appended to a file that has gone since are not durable.
    const bool replaced = !stillAtPath();
    if (replaced && !followPath()) return false;
    const bool ok = !replaced && std::fflush(file_) == 0 && ::fsync(fileno(file_)) == 0;
    if (!ok) platform::log("install records: syncing %s failed", path_.c_str());
    return ok;
}

}  // namespace install
