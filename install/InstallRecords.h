#pragma once
// The install records of "localDownloadData.txt": one line per finished
// entry, id + "\t" + marker + "\n", appended and never rewritten.
#include <cstddef>
#include <cstdio>
#include <string>
#include <unordered_set>

namespace install {

// id + "\t" + marker, the text of one record without its line end.
std::string recordText(const std::string& id, const std::string& marker);

// The records read at the start of a run. Lookups go through a hash set;
// a record matches only a line equal to it byte for byte, as a search of
// the lines would.
class InstallRecords {
public:
    // Reads the whole file; a missing file means no records (and is no
    // error). False when the file exists but cannot be read.
    bool load(const std::string& path);
    // Records from a text already read (split at "\n").
    void loadText(const std::string& text);

    bool contains(const std::string& record) const { return lines_.count(record) != 0; }
    std::size_t size() const { return lines_.size(); }

private:
    std::unordered_set<std::string> lines_;
};

// The append side. A batch of records is appended and then synced, so a
// record never stands for work that a power cut could still undo.
class RecordLog {
public:
    RecordLog() = default;
    ~RecordLog() { close(); }
    RecordLog(const RecordLog&) = delete;
    RecordLog& operator=(const RecordLog&) = delete;

    // Opens for appending in text mode; the directory must exist.
    bool open(const std::string& path);
    void close();
    bool isOpen() const { return file_ != nullptr; }
    // Writes id + "\t" + marker + "\n" through to the file; false when
    // closed or when not every byte was written.
    bool append(const std::string& id, const std::string& marker);
    // Makes the records appended so far durable; false when closed or when
    // the disk refused.
    bool sync();

private:
    std::FILE* file_ = nullptr;
    std::string path_;
};

}  // namespace install
