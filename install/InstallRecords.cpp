#include "install/InstallRecords.h"

#include <sys/stat.h>
#include <unistd.h>

#include "foundation/File.h"
#include "foundation/Strings.h"
#include "platform/Log.h"

namespace install {

std::string recordText(const std::string& id, const std::string& marker) { return id + "\t" + marker; }

bool InstallRecords::load(const std::string& path) {
    lines_.clear();
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

void InstallRecords::loadText(const std::string& text) {
    lines_.clear();
    for (std::string& line : RK::split(text, "\n")) lines_.insert(std::move(line));
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

bool RecordLog::append(const std::string& id, const std::string& marker) {
    if (file_ == nullptr) return false;
    const std::string line = recordText(id, marker) + "\n";
    const bool ok = std::fwrite(line.data(), 1, line.size(), file_) == line.size() && std::fflush(file_) == 0;
    if (!ok) platform::log("install records: writing to %s failed", path_.c_str());
    return ok;
}

bool RecordLog::sync() {
    if (file_ == nullptr) return false;
    const bool ok = std::fflush(file_) == 0 && ::fsync(fileno(file_)) == 0;
    if (!ok) platform::log("install records: syncing %s failed", path_.c_str());
    return ok;
}

}  // namespace install
