#include "install/DownloadList.h"

#include <cstring>

#include "foundation/Strings.h"
#include "platform/Log.h"

namespace install {

std::vector<std::string> splitListBody(const std::string& body) {
    std::string text(body.c_str());  // up to the first zero byte
    RK::replaceAll(text, "\r", "\n");
    RK::replaceAll(text, "\r\n", "\n");
    return RK::split(text, "\n");
}

bool parseListLine(const std::string& text, ListLine& out) {
    // Only the first three fields matter; find them without splitting the rest.
    const std::size_t first = text.find('\t');
    if (first == std::string::npos) return false;
    const std::size_t second = text.find('\t', first + 1);
    if (second == std::string::npos) return false;
    std::size_t third = text.find('\t', second + 1);
    if (third == std::string::npos) third = text.size();
    out.text = text;
    out.id.assign(text, 0, first);
    out.archive.assign(text, first + 1, second - first - 1);
    out.marker.assign(text, second + 1, third - second - 1);
    return true;
}

bool isSafeListName(const std::string& name) {
    return name.find('/') == std::string::npos && name.find('\\') == std::string::npos &&
           name.find("..") == std::string::npos;
}

std::string voiceFilePath(const std::string& cachesDir, const std::string& id) {
    return cachesDir + "/" + "/voice_" + id + ".ogg";
}

Classification classifyList(const std::vector<std::string>& lines, const InstallRecords& records, bool resetFlag,
                            const VoiceFileProbe& voiceFileExists) {
    Classification result;
    std::string record;
    for (const std::string& text : lines) {
        if (text.empty()) continue;
        ListLine line;
        if (!parseListLine(text, line)) continue;
        record.assign(line.id).append("\t").append(line.marker);
        if (records.contains(record)) continue;
        if (!isSafeListName(line.id) || !isSafeListName(line.archive)) {
            platform::log("download list: skipping line with unsafe name: %s", text.c_str());
            continue;
        }
        const bool voicePresent = voiceFileExists(line.id);
        if (line.archive == "-") {
            if (voicePresent) result.removal.push_back(std::move(line));
            continue;
        }
        if (!resetFlag && line.marker.find('1') != std::string::npos && voicePresent) {
            result.recordOnly.push_back(std::move(line));
            continue;
        }
        result.groups[line.archive].push_back(line.text);
    }
    return result;
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
