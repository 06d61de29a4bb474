#include "install/DownloadRun.h"

#include <cstdio>
#include <string>
#include <vector>

#include "audio/SearchPaths.h"
#include "foundation/Directories.h"
#include "foundation/FileSystem.h"
#include "foundation/HttpResponse.h"
#include "foundation/Strings.h"
#include "install/ArchiveInstall.h"
#include "install/DownloadList.h"
#include "install/Fetch.h"
#include "install/InstallRecords.h"
#include "install/VoiceFiles.h"
#include "platform/Backend.h"
#include "platform/Log.h"
#include "platform/Preferences.h"

namespace install {
namespace {

struct RunPaths {
    std::string caches;
    std::string records;
    std::string archive;
    std::string picture;
};

RunPaths runPaths() {
    RunPaths paths;
    paths.caches = RK::cachesPath();
    const std::string temporary = RK::temporaryPath();
    paths.records = paths.caches + "/" + kRecordFileName;
    paths.archive = temporary + "/" + kArchiveFileName;
    paths.picture = temporary + "/" + kPictureFileName;
    return paths;
}

void writeRecords(RecordLog& log, const std::vector<ListLine>& lines) {
    for (const ListLine& line : lines) log.append(line.id, line.marker);
}

void removeWithdrawnVoices(RecordLog& log, const std::vector<ListLine>& lines, const std::string& caches) {
    for (const ListLine& line : lines) {
        const std::string voice = voiceFilePath(caches, line.id);
        if (RK::fileExists(voice.c_str())) RK::removeFile(voice);
        log.append(line.id, line.marker);
    }
}

// The loading-screen picture, put in place whole or not at all.
bool fetchPicture(const std::string& host, const std::string& path, const RK::HttpCancelFlag& cancel) {
    RK::HttpResponse* response =
        downloadAF((host + "/img/php/app_dl_img_all.php").c_str(), kMaxLoadingPicture, cancel);
    if (response == nullptr) return false;
    const std::string temp = path + ".part";
    std::FILE* out = std::fopen(temp.c_str(), "wb");
    bool written = out != nullptr;
    if (out != nullptr) {
        written = std::fwrite(response->body.data(), 1, response->body.size(), out) == response->body.size();
        written = std::fclose(out) == 0 && written;
    }
    response->release();
    if (!written || std::rename(temp.c_str(), path.c_str()) != 0) {
        // The screen then falls back to its bundled picture.
        platform::log("download: cannot store the loading picture at %s", path.c_str());
        std::remove(temp.c_str());
    }
    return true;
}

// One group: fetch, unpack, sync, record. False leaves it unrecorded.
bool installGroup(const std::string& host, const std::string& name, const std::vector<std::string>& lines,
                  const RunPaths& paths, RecordLog& log, const RK::HttpCancelFlag& cancel) {
    const std::string url = RK::format("%s/resource/download/zip/%s", host.c_str(), (name + ".zip").c_str());
    if (!downloadToFile(url, paths.archive, cancel)) return false;
    // The record file lies among the unpacked files: no entry may replace it.
    if (!installArchiveFile(paths.archive, paths.caches + "/", {kRecordFileName})) return false;
    bool recorded = true;
    for (const auto& [id, marker] : groupRecords(lines)) recorded = log.append(id, marker) && recorded;
    if (!recorded || !log.sync()) {
        platform::log("download: the records of %s could not be written", name.c_str());
        return false;
    }
    return true;
}

int installGroups(const std::string& host, const Classification& work, const RunPaths& paths, RecordLog& log,
                  DownloadObserver& observer, const RK::HttpCancelFlag& cancel) {
    if (!fetchPicture(host, paths.picture, cancel)) return kDownloadFetchFailed;
    observer.showDownloadPage();
    const int n = static_cast<int>(work.groups.size());
    int i = 0;
    for (const auto& [name, lines] : work.groups) {
        if (!installGroup(host, name, lines, paths, log, cancel)) return kDownloadFetchFailed;
        observer.setGaugeTarget(gaugeTarget(++i, n));
    }
    return kDownloadOk;
}

void markRunFinished(platform::Preferences& prefs) {
    if (prefs.boolForKey(kKeyDownloadFirst)) prefs.setFloat(kKeyDownloadFirst, 0.0f);
    prefs.setFloat(kKeyDownloadReset, 0.0f);
    prefs.flush();
}

}  // namespace

int downloadList(const std::string& downloadHost, bool first, DownloadObserver& observer,
                 const RK::HttpCancelFlag& cancel) {
    platform::Backend* backend = platform::backend();
    const RunPaths paths = runPaths();
    if (backend == nullptr || paths.caches.empty()) {
        platform::log("downloadList: no app home; nothing is downloaded");
        return kDownloadListFailed;
    }
    platform::Preferences& prefs = backend->preferences();
    const int voiceKey = static_cast<int>(prefs.integerForKey(kKeyVoiceDownload));
    const std::string listUrl = RK::format("%s/app_dl_list.php?id=%d", downloadHost.c_str(), voiceKey);
    const bool resetFlag = prefs.boolForKey(kKeyDownloadReset);

    InstallRecords records;
    records.load(paths.records);

    RK::HttpResponse* response = downloadAF(listUrl.c_str(), kMaxDownloadList, cancel);
    if (response == nullptr) return kDownloadListFailed;
    const ListBody body(response->bodyString());
    response->release();

    VoiceFiles voices(paths.caches);
    const Classification work = classifyList(body.lines(), records, resetFlag,
                                             [&voices](const std::string& id) { return voices.exists(id); });

    RecordLog log;
    log.open(paths.records);
    writeRecords(log, work.recordOnly);
    removeWithdrawnVoices(log, work.removal, paths.caches);
    log.sync();

    int error = kDownloadOk;
    if (!work.groups.empty()) {
        error = installGroups(downloadHost, work, paths, log, observer, cancel);
    } else if (first) {
        // A first run always ends on a full gauge and the start button.
        observer.showDownloadPage();
        observer.setGaugeTarget(100);
    }
    if (error == kDownloadOk) markRunFinished(prefs);
    RK::removeFile(paths.archive);
    log.close();
    return error;
}

}  // namespace install
