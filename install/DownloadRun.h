#pragma once
// downloadList: one download run on the download thread. It compares the
// download list with the install records, records what needs no download,
// deletes withdrawn voice files, fetches the loading-screen picture and
// installs the archive groups in name order.
//
// The run never touches a view: it reports the loading screen's page and
// gauge through an observer, which the controller implements by storing
// into atomics that the main thread applies to whichever screen exists.
// Names kept from the phone client: see docs/GLOSSARY.md.
#include <atomic>
#include <string>

#include "foundation/HttpRequest.h"

namespace install {

class DownloadObserver {
public:
    virtual ~DownloadObserver() = default;
    // The loading screen is to show its download page (draw state 4).
    virtual void showDownloadPage() = 0;
    // The gauge's new target percentage.
    virtual void setGaugeTarget(int percent) = 0;
};

// An observer that only keeps the latest values, for a reader on another
// thread. drawState is 0 until the download page is asked for.
class LoadingTargets : public DownloadObserver {
public:
    void showDownloadPage() override { drawState.store(4); }
    void setGaugeTarget(int percent) override { gaugeTarget.store(percent); }

    std::atomic<int> drawState{0};
    std::atomic<int> gaugeTarget{0};
};

// What the run came to, the values of _downloadErrState.
enum DownloadError : int {
    kDownloadOk = 0,
    kDownloadFetchFailed = 1,  // the picture or an archive: not fetched or not installed
    kDownloadListFailed = 2,   // the list could not be fetched; nothing was changed
};

// Settings keys the run reads and writes.
inline constexpr const char* kKeyDownloadFirst = "DOWNLOAD_FIRST";
inline constexpr const char* kKeyDownloadReset = "DL_RESET_FLG";
inline constexpr const char* kKeyVoiceDownload = "VOICE_DL_KEY";

// Files of the run, below the caches and temporary directories.
inline constexpr const char* kRecordFileName = "localDownloadData.txt";
inline constexpr const char* kArchiveFileName = "downloadZip.zip";
inline constexpr const char* kPictureFileName = "downloadGirlImg.jpg";

// downloadList:(first). downloadHost is "http://host[:port]". Blocks for
// the whole run; returns a DownloadError. Once cancel turns true the
// transfer in flight stops and the run ends as a failed fetch (records of
// what was finished stay, the settings are left alone).
int downloadList(const std::string& downloadHost, bool first, DownloadObserver& observer,
                 const RK::HttpCancelFlag& cancel = {});

}  // namespace install
