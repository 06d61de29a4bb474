#pragma once
// The install records of "localDownloadData.txt": one line per finished
// entry, id + "\t" + marker + "\n", appended and never rewritten.
// Names kept from the phone client: see docs/GLOSSARY.md.
#include <cstddef>
#include <cstdio>
#include <string>
#include <cstdint>
#include <string_view>
#include <vector>

namespace install {

// id + "\t" + marker, the text of one record without its line end.
std::string recordText(const std::string& id, const std::string& marker);

// The records read at the start of a run. Lookups go through an
// open-addressing hash table of views into the text read (no allocation per
// line, so 100 000 records load in a few milliseconds); a record matches
// only a line equal to it byte for byte, as a search of the lines would.
class InstallRecords {
public:
    InstallRecords() = default;
    // The views point into text_, so the object stays where it is.
    InstallRecords(const InstallRecords&) = delete;
    InstallRecords& operator=(const InstallRecords&) = delete;

    // Reads the whole file; a missing file means no records (and is no
    // error). False when the file exists but cannot be read.
    bool load(const std::string& path);
    // Records from a text already read (split at "\n").
    void loadText(std::string text);

    bool contains(std::string_view record) const;
    // Lines held, duplicates counted.
    std::size_t size() const { return count_; }

private:
    struct Slot {
        std::uint64_t hash = 0;
        const char* data = nullptr;  // null: free
        std::size_t length = 0;
    };
    void insert(std::string_view line);

    std::string text_;
    std::vector<Slot> slots_;  // a power of two, at most half full
    std::size_t count_ = 0;
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
    // closed or when not every byte was written. Appends always go to the
    // file now at the path: one that was renamed over or removed since it
    // was opened is reopened first.
    bool append(const std::string& id, const std::string& marker);
    // Makes the records appended so far durable; false when closed, when
    // the disk refused, or when the file was replaced since the last append
    // (it is reopened, but what went to the old one is lost).
    bool sync();

private:
    bool stillAtPath() const;
    bool followPath();

    std::FILE* file_ = nullptr;
    std::string path_;
};

}  // namespace install
