#include "install/DownloadList.h"

#include <cstring>

#include "foundation/Strings.h"
#include "platform/Log.h"

namespace install {

namespace {

std::string normalisedText(const std::string& body) {
    std::string text(body.c_str());  // up to the first zero byte
    RK::replaceAll(text, "\r", "\n");
    RK::replaceAll(text, "\r\n", "\n");
    return text;
}

// The first three fields as views; the rest of the line is never split.
struct Fields {
    std::string_view id, archive, marker;
};

bool fieldsOf(std::string_view text, Fields& out) {
    const std::size_t first = text.find('\t');
    if (first == std::string_view::npos) return false;
    const std::size_t second = text.find('\t', first + 1);
    if (second == std::string_view::npos) return false;
    std::size_t third = text.find('\t', second + 1);
    if (third == std::string_view::npos) third = text.size();
    out.id = text.substr(0, first);
    out.archive = text.substr(first + 1, second - first - 1);
    out.marker = text.substr(second + 1, third - second - 1);
    return true;
}

bool isSafeName(std::string_view name) {
    return name.find('/') == std::string_view::npos && name.find('\\') == std::string_view::npos &&
           name.find("..") == std::string_view::npos;
}

bool isUrlSafeChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
           c == '.' || c == '~';
}

// The archive name goes into the archive's URL path as it is ("<name>.zip"),
// so only characters that need no escaping there are taken. "-" withdraws.
bool isSafeArchive(std::string_view name) {
    if (name.empty() || name.find("..") != std::string_view::npos) return false;
    for (const char c : name)
        if (!isUrlSafeChar(c)) return false;
    return true;
}

// Whether the line's names may be used at all; the line is logged when not.
bool namesUsable(std::string_view text, const Fields& fields) {
    const char* problem = nullptr;
    if (!isSafeName(fields.id)) {
        problem = "unsafe name";
    } else if (!isSafeArchive(fields.archive)) {
        problem = "unusable archive name";
    }
    if (problem == nullptr) return true;
    platform::log("download list: skipping line with %s: %.*s", problem, static_cast<int>(text.size()), text.data());
    return false;
}

// A line split into its fields with usable names.
bool parsedFields(std::string_view text, Fields& out) { return fieldsOf(text, out) && namesUsable(text, out); }

ListLine listLineOf(std::string_view text, const Fields& fields) {
    return ListLine{std::string(text), std::string(fields.id), std::string(fields.archive),
                    std::string(fields.marker)};
}

}  // namespace

std::vector<std::string> splitListBody(const std::string& body) { return RK::split(normalisedText(body), "\n"); }

ListBody::ListBody(const std::string& body) : text_(normalisedText(body)) {
    const std::string_view all(text_);
    std::size_t start = 0;
    for (std::size_t end = all.find('\n'); end != std::string_view::npos; end = all.find('\n', start)) {
        lines_.push_back(all.substr(start, end - start));
        start = end + 1;
    }
    lines_.push_back(all.substr(start));
}

bool parseListLine(const std::string& text, ListLine& out) {
    Fields fields;
    if (!parsedFields(text, fields)) return false;
    out = listLineOf(text, fields);
    return true;
}

bool isSafeListName(const std::string& name) { return isSafeName(name); }

bool isUsableArchiveName(const std::string& name) { return isSafeArchive(name); }

std::string voiceFilePath(const std::string& cachesDir, const std::string& id) {
    return cachesDir + "/" + "/voice_" + id + ".ogg";
}

Classification classifyList(const std::vector<std::string_view>& lines, const InstallRecords& records,
                            bool resetFlag, const VoiceFileProbe& voiceFileExists) {
    Classification result;
    std::string record;
    std::string id;
    for (const std::string_view text : lines) {
        Fields f;
        if (text.empty() || !parsedFields(text, f)) continue;
        record.assign(f.id).append("\t").append(f.marker);
        if (records.contains(record)) continue;
        id.assign(f.id);
        const bool voicePresent = voiceFileExists(id);
        if (f.archive == "-") {
            if (voicePresent) result.removal.push_back(listLineOf(text, f));
            continue;
        }
        if (!resetFlag && f.marker.find('1') != std::string_view::npos && voicePresent) {
            result.recordOnly.push_back(listLineOf(text, f));
            continue;
        }
        auto group = result.groups.find(f.archive);
        if (group == result.groups.end()) group = result.groups.emplace(f.archive, std::vector<std::string>()).first;
        group->second.emplace_back(text);
    }
    return result;
}

Classification classifyList(const std::vector<std::string>& lines, const InstallRecords& records, bool resetFlag,
                            const VoiceFileProbe& voiceFileExists) {
    const std::vector<std::string_view> views(lines.begin(), lines.end());
    return classifyList(views, records, resetFlag, voiceFileExists);
}

std::vector<std::pair<std::string, std::string>> groupRecords(const std::vector<std::string>& lines) {
    std::vector<std::pair<std::string, std::string>> out;
    for (const std::string& line : lines) {
        for (const std::string& piece : RK::split(line, ",")) {
            const std::vector<std::string> fields = RK::split(piece, "\t");
            if (fields.size() >= 3) out.emplace_back(fields[0], fields[2]);
        }
    }
    return out;
}

}  // namespace install
