#pragma once
// The download list: its body split into lines, each line's fields, and the
// classification of the lines against the install records.
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "install/InstallRecords.h"

namespace install {

// One usable list line: id "\t" archive "\t" marker ["\t" ignored ...].
struct ListLine {
    std::string text;     // the whole line as listed
    std::string id;
    std::string archive;  // without ".zip"; "-" withdraws the entry's voice file
    std::string marker;
};

// Splits a fetched body into lines: the text up to its first zero byte,
// every CR turned into LF (so CR LF leaves an empty line, which classifying
// skips), then split at LF. Empty lines are kept.
std::vector<std::string> splitListBody(const std::string& body);

// The same lines as views into one copy of the text, for large lists.
class ListBody {
public:
    explicit ListBody(const std::string& body);
    ListBody(const ListBody&) = delete;
    ListBody& operator=(const ListBody&) = delete;
    const std::vector<std::string_view>& lines() const { return lines_; }

private:
    std::string text_;
    std::vector<std::string_view> lines_;
};

// False for a line with fewer than three tab-separated fields, and (with a
// log line) for one whose id is unsafe (isSafeListName) or whose archive
// name is unusable (isUsableArchiveName): such a line is skipped, the rest
// of the list still counts.
bool parseListLine(const std::string& text, ListLine& out);

// Whether a name from the list may become part of a file name: no "/",
// no "\" and no "..".
bool isSafeListName(const std::string& name);

// Whether an archive field can name an archive: "-", or a non-empty name of
// letters, digits and "_", "-", ".", "~" (what a URL path carries without
// escaping; it is fetched as "<name>.zip") without "..".
bool isUsableArchiveName(const std::string& name);

// "<caches>/" + "/voice_" + id + ".ogg" (the doubled "/" names the same file).
std::string voiceFilePath(const std::string& cachesDir, const std::string& id);

// archive name -> the lines it carries, in list order; names in byte order.
using ArchiveGroups = std::map<std::string, std::vector<std::string>, std::less<>>;

// Where each list line goes.
struct Classification {
    std::vector<ListLine> recordOnly;  // recorded without a download
    std::vector<ListLine> removal;     // voice file deleted, then recorded
    ArchiveGroups groups;
};

// Answers whether an entry's voice file exists (given the entry's id).
using VoiceFileProbe = std::function<bool(const std::string& id)>;

// Classifies the lines in list order. resetFlag is "DL_RESET_FLG": while it
// is on, a present voice file never saves a download.
Classification classifyList(const std::vector<std::string_view>& lines, const InstallRecords& records,
                            bool resetFlag, const VoiceFileProbe& voiceFileExists);
Classification classifyList(const std::vector<std::string>& lines, const InstallRecords& records, bool resetFlag,
                            const VoiceFileProbe& voiceFileExists);

// The records a group's lines stand for: every line is cut at ",", and each
// piece with at least three tab-separated fields gives (id, marker).
std::vector<std::pair<std::string, std::string>> groupRecords(const std::vector<std::string>& lines);

}  // namespace install
