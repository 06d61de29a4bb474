// Download runs against the real demo server and its generated content.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "foundation/Directories.h"
#include "foundation/HttpClient.h"
#include "install/DownloadRun.h"
#include "install/VersionCheck.h"
#include "platform/Backend.h"
#include "platform/Preferences.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/headless/TemporaryHome.h"
#include "tools/demo-server/DemoServer.h"

#include "tests/install/FileTree.h"

namespace {

namespace fs = std::filesystem;

using installtest::readFile;
std::vector<std::string> loggedPaths(const demoserver::DemoServer& server) {
    std::vector<std::string> paths;
    for (const std::string& line : server.requestLog()) {
        const size_t at = line.find("\"path\":\"");
        paths.push_back(line.substr(at + 8, line.find('"', at + 8) - at - 8));
    }
    return paths;
}

class Gauge : public install::DownloadObserver {
public:
    void showDownloadPage() override { ++pages; }
    void setGaugeTarget(int percent) override { targets.push_back(percent); }
    int pages = 0;
    std::vector<int> targets;
};

demoserver::Options demoOptions() {
    demoserver::Options options;
    options.contentDir = PELORA_DEMO_CONTENT_DIR;
    return options;
}

class DemoServerRun : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = platform::setBackend(&backend_);
        backend_.preferences().registerDefaults({{"DOWNLOAD_FIRST", 1.0}, {"DL_RESET_FLG", 0.0}, {"VOICE_DL_KEY", 0.0}});
        ASSERT_TRUE(server_.start());
        userAgent_ = RK::HttpClient::shared().defaultUserAgent();
        RK::HttpClient::shared().setDefaultUserAgent("PeloraTest/1.0 (demo)");
    }
    void TearDown() override {
        RK::HttpClient::shared().setDefaultUserAgent(userAgent_);
        platform::setBackend(previous_);
    }
    int run(bool first, Gauge& gauge) { return install::downloadList(server_.baseUrl(), first, gauge); }

    platform::headless::TemporaryHome home_;
    platform::headless::HeadlessBackend backend_{home_.path()};
    platform::Backend* previous_ = nullptr;
    demoserver::DemoServer server_{demoOptions()};
    std::string userAgent_;
};

const std::vector<std::string> kFirstRunPaths = {
    "/app_dl_list.php", "/img/php/app_dl_img_all.php", "/resource/download/zip/pelora_base_01.zip",
    "/resource/download/zip/pelora_base_02.zip", "/resource/download/zip/pelora_base_03.zip"};

TEST_F(DemoServerRun, VersionIsCurrentAndFirstRunInstallsTheThreeBaseArchives) {
    EXPECT_EQ(install::checkVersion(server_.baseUrl()), install::VersionOutcome::Current);
    server_.setStatus("/app_version.php", 500);
    EXPECT_EQ(install::checkVersion(server_.baseUrl()), install::VersionOutcome::NoResponse);
    server_.clearSteering();

    Gauge gauge;
    EXPECT_EQ(run(true, gauge), install::kDownloadOk);
    EXPECT_EQ(gauge.targets, (std::vector<int>{33, 66, 100}));
    const std::string caches = RK::cachesPath();
    EXPECT_EQ(readFile(caches + "/localDownloadData.txt"), "b01\t0\nb02\t0\nb03a\t0\nb03b\t0\n");
    for (const char* file : {"voice_b01.ogg", "chara/b01.json", "bgm/home_bgm.ogg", "voice_b03b.ogg"})
        EXPECT_TRUE(fs::is_regular_file(caches + "/" + file)) << file;
    EXPECT_EQ(readFile(caches + "/voice_b01.ogg").substr(0, 4), "OggS");
    for (const char* junk : {"__MACOSX", ".DS_Store"}) EXPECT_FALSE(fs::exists(caches + "/" + junk)) << junk;

    std::vector<std::string> paths = loggedPaths(server_);
    paths.erase(paths.begin(), paths.begin() + 2);  // the two version checks
    EXPECT_EQ(paths, kFirstRunPaths);
    for (const std::string& line : server_.requestLog())
        EXPECT_NE(line.find("\"user_agent\":\"PeloraTest/1.0 (demo)\""), std::string::npos) << line;

    Gauge second;
    EXPECT_EQ(run(false, second), install::kDownloadOk);
    EXPECT_EQ(loggedPaths(server_).back(), "/app_dl_list.php");
    EXPECT_EQ(loggedPaths(server_).size(), kFirstRunPaths.size() + 3);
}

TEST_F(DemoServerRun, CutMidArchiveKeepsEarlierGroupsAndTheNextRunFetchesTheRest) {
    server_.setCutAfter("/resource/download/zip/pelora_base_02.zip", 2000);
    Gauge gauge;
    EXPECT_EQ(run(true, gauge), install::kDownloadFetchFailed);
    const std::string caches = RK::cachesPath();
    EXPECT_EQ(readFile(caches + "/localDownloadData.txt"), "b01\t0\n");
    EXPECT_FALSE(fs::exists(caches + "/bgm/home_bgm.ogg"));
    EXPECT_FALSE(fs::exists(RK::temporaryPath() + "/downloadZip.zip"));
    EXPECT_TRUE(backend_.preferences().boolForKey("DOWNLOAD_FIRST"));

    server_.clearSteering();
    const size_t before = server_.requestLog().size();
    Gauge next;
    EXPECT_EQ(run(true, next), install::kDownloadOk);
    std::vector<std::string> paths = loggedPaths(server_);
    paths.erase(paths.begin(), paths.begin() + static_cast<long>(before));
    EXPECT_EQ(paths, (std::vector<std::string>{"/app_dl_list.php", "/img/php/app_dl_img_all.php",
                                               "/resource/download/zip/pelora_base_02.zip",
                                               "/resource/download/zip/pelora_base_03.zip"}));
    EXPECT_EQ(next.targets, (std::vector<int>{50, 100}));
    EXPECT_FALSE(backend_.preferences().boolForKey("DOWNLOAD_FIRST"));
}

TEST_F(DemoServerRun, VoiceKeyAddsItsPacksAndResetReinstallsThem) {
    backend_.preferences().setInteger("VOICE_DL_KEY", 5);
    Gauge gauge;
    ASSERT_EQ(run(true, gauge), install::kDownloadOk);
    EXPECT_EQ(gauge.targets, (std::vector<int>{20, 40, 60, 80, 100}));
    const std::string caches = RK::cachesPath();
    EXPECT_TRUE(fs::exists(caches + "/voice_p1_01.ogg"));
    EXPECT_TRUE(fs::exists(caches + "/voice_p4_02.ogg"));
    EXPECT_FALSE(fs::exists(caches + "/voice_p2_01.ogg"));
    EXPECT_NE(server_.requestLog()[0].find("\"query\":\"id=5\""), std::string::npos);

    // A page's reset: records gone, flag on. Voice packs (marker "1") are
    // fetched again although their voices are present.
    fs::remove(caches + "/localDownloadData.txt");
    backend_.preferences().setFloat("DL_RESET_FLG", 1.0f);
    Gauge reset;
    ASSERT_EQ(run(false, reset), install::kDownloadOk);
    EXPECT_EQ(reset.targets.size(), 5u);
    EXPECT_FALSE(backend_.preferences().boolForKey("DL_RESET_FLG"));

    // Without the flag, present voices with marker "1" are recorded without a download.
    fs::remove(caches + "/localDownloadData.txt");
    Gauge plain;
    ASSERT_EQ(run(false, plain), install::kDownloadOk);
    EXPECT_EQ(plain.targets, (std::vector<int>{33, 66, 100}));
    EXPECT_NE(readFile(caches + "/localDownloadData.txt").find("p1_01\t1\n"), std::string::npos);
}

}  // namespace
