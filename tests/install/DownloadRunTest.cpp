// Whole download runs against a loopback download host: real libcurl,
// libzip, files and settings under a temporary app home.
#include "install/DownloadRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "foundation/Directories.h"
#include "install/Fetch.h"
#include "platform/Backend.h"
#include "platform/Log.h"
#include "platform/Preferences.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/headless/TemporaryHome.h"
#include "tests/install/FakeDownloadHost.h"
#include "tools/demo-content/ZipWriter.h"

#include "tests/install/FileTree.h"

namespace {

namespace fs = std::filesystem;
using democontent::ZipItem;
using installtest::Answer;

using installtest::readFile;
using installtest::treeOf;

class RecordingObserver : public install::DownloadObserver {
public:
    void showDownloadPage() override { ++pageShown; }
    void setGaugeTarget(int percent) override { targets.push_back(percent); }
    int pageShown = 0;
    std::vector<int> targets;
};

class DownloadRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = platform::setBackend(&backend_);
        prefs().registerDefaults({{"DOWNLOAD_FIRST", 1.0}, {"DL_RESET_FLG", 0.0}, {"VOICE_DL_KEY", 0.0}});
        caches = RK::cachesPath();
        temporary = RK::temporaryPath();
        ASSERT_TRUE(host.start());
        host.set("/img/php/app_dl_img_all.php", {200, "JPEG-PICTURE"});
    }
    void TearDown() override { platform::setBackend(previous_); }

    platform::Preferences& prefs() { return backend_.preferences(); }
    std::string records() { return readFile(caches + "/localDownloadData.txt"); }
    void list(const std::string& body, const std::string& path = "/app_dl_list.php") { host.set(path, {200, body}); }
    void archive(const std::string& name, const std::vector<ZipItem>& items) {
        host.set("/resource/download/zip/" + name + ".zip", {200, democontent::zipBytes(items)});
    }
    // pack_<x> holds directory <x>/ and <x>/voice.ogg, and voice_<x>.ogg at the top.
    void simpleArchive(const std::string& x) {
        archive("pack_" + x, {{ZipItem::Directory, x, ""},
                              {ZipItem::File, x + "/voice.ogg", "voice of " + x},
                              {ZipItem::File, "voice_" + x + ".ogg", "top voice of " + x}});
    }
    int run(bool first) { return install::downloadList(host.host(), first, observer); }

    platform::headless::TemporaryHome home_;
    platform::headless::HeadlessBackend backend_{home_.path()};
    platform::Backend* previous_ = nullptr;
    installtest::FakeDownloadHost host;
    RecordingObserver observer;
    std::string caches, temporary;
};

const char* kThreeGroups = "a\tpack_a\t0\nb\tpack_b\t0\nc\tpack_c\t0\r\nc2\tpack_c\t0\n";

TEST_F(DownloadRunTest, FirstRunInstallsThreeGroupsAndTheSecondDownloadsNothing) {
    list(kThreeGroups);
    for (const char* x : {"a", "b", "c"}) simpleArchive(x);

    EXPECT_EQ(run(true), install::kDownloadOk);
    EXPECT_EQ(observer.pageShown, 1);
    EXPECT_EQ(observer.targets, (std::vector<int>{33, 66, 100}));
    EXPECT_EQ(records(), "a\t0\nb\t0\nc\t0\nc2\t0\n");
    EXPECT_EQ(readFile(caches + "/b/voice.ogg"), "voice of b");
    EXPECT_EQ(readFile(caches + "/voice_c.ogg"), "top voice of c");
    EXPECT_EQ(readFile(temporary + "/downloadGirlImg.jpg"), "JPEG-PICTURE");
    EXPECT_FALSE(fs::exists(temporary + "/downloadZip.zip"));
    EXPECT_FALSE(prefs().boolForKey("DOWNLOAD_FIRST"));
    EXPECT_EQ(host.requested(),
              (std::vector<std::string>{"/app_dl_list.php?id=0", "/img/php/app_dl_img_all.php",
                                        "/resource/download/zip/pack_a.zip", "/resource/download/zip/pack_b.zip",
                                        "/resource/download/zip/pack_c.zip"}));

    host.clearRequests();
    RecordingObserver second;
    EXPECT_EQ(install::downloadList(host.host(), false, second), install::kDownloadOk);
    EXPECT_EQ(host.requested(), std::vector<std::string>{"/app_dl_list.php?id=0"});
    EXPECT_EQ(second.pageShown, 0);
    EXPECT_TRUE(second.targets.empty());
    EXPECT_EQ(records(), "a\t0\nb\t0\nc\t0\nc2\t0\n");
}

// A well-formed list of more lines than any real one is no list either.
std::string oversizedList() {
    const std::string line = "v1\tpack_a\t0\n";
    std::string body;
    body.reserve(install::kMaxDownloadList + line.size());
    while (body.size() <= install::kMaxDownloadList) body += line;
    return body;
}

TEST_F(DownloadRunTest, NoListChangesNothing) {
    const std::string huge = oversizedList();
    for (const Answer& answer : {Answer{500, "a\tpack_a\t0\n"}, Answer{404, ""}, Answer{200, "a\tpack_a\t0\n", 4},
                                 Answer{200, huge}, Answer{200, huge, -1, true}}) {
        host.set("/app_dl_list.php", answer);
        EXPECT_EQ(run(true), install::kDownloadListFailed) << answer.status << " " << answer.body.size();
    }
    EXPECT_FALSE(fs::exists(caches + "/localDownloadData.txt"));
    EXPECT_TRUE(prefs().boolForKey("DOWNLOAD_FIRST"));
    EXPECT_EQ(observer.pageShown, 0);
}

// The second of three archives goes wrong in different ways: the first
// group stays installed and recorded, the rest is not recorded, the first-run
// flag stays, and the next run fetches only what is missing.
struct BrokenArchive {
    const char* name;
    Answer answer;
};

void PrintTo(const BrokenArchive& broken, std::ostream* out) { *out << broken.name; }

class SecondArchiveBroken : public DownloadRunTest, public ::testing::WithParamInterface<BrokenArchive> {};

TEST_P(SecondArchiveBroken, KeepsTheFirstGroupAndFetchesTheRestNextRun) {
    list(kThreeGroups);
    for (const char* x : {"a", "b", "c"}) simpleArchive(x);
    host.set("/resource/download/zip/pack_b.zip", GetParam().answer);

    EXPECT_EQ(run(true), install::kDownloadFetchFailed);
    EXPECT_EQ(records(), "a\t0\n");
    EXPECT_EQ(observer.targets, std::vector<int>{33});
    EXPECT_TRUE(prefs().boolForKey("DOWNLOAD_FIRST"));
    EXPECT_FALSE(fs::exists(caches + "/b/voice.ogg"));
    EXPECT_FALSE(fs::exists(caches + "/c"));
    EXPECT_FALSE(fs::exists(temporary + "/downloadZip.zip"));
    for (const std::string& path : treeOf(caches)) EXPECT_EQ(path.find(".unpack-"), std::string::npos) << path;

    simpleArchive("b");
    host.clearRequests();
    RecordingObserver next;
    EXPECT_EQ(install::downloadList(host.host(), true, next), install::kDownloadOk);
    EXPECT_EQ(host.requested(),
              (std::vector<std::string>{"/app_dl_list.php?id=0", "/img/php/app_dl_img_all.php",
                                        "/resource/download/zip/pack_b.zip", "/resource/download/zip/pack_c.zip"}));
    EXPECT_EQ(next.targets, (std::vector<int>{50, 100}));
    EXPECT_EQ(records(), "a\t0\nb\t0\nc\t0\nc2\t0\n");
    EXPECT_FALSE(prefs().boolForKey("DOWNLOAD_FIRST"));
}

std::string corruptArchive() {
    const std::string content(3000, 'Q');
    std::string bytes = democontent::zipBytes({{ZipItem::Directory, "b", ""},
                                               {ZipItem::File, "b/voice.ogg", content, true}});
    bytes[bytes.find(content) + 100] = 'R';
    return bytes;
}

std::string largeArchive() {
    std::string content(200000, 'x');
    for (size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>('a' + (i * 7919) % 26);
    return democontent::zipBytes({{ZipItem::Directory, "b", ""}, {ZipItem::File, "b/voice.ogg", content, true}});
}

INSTANTIATE_TEST_SUITE_P(
    Failures, SecondArchiveBroken,
    ::testing::Values(BrokenArchive{"server_error", {500, "<html>error</html>"}},
                      BrokenArchive{"not_found", {404, ""}},
                      BrokenArchive{"cut_mid_archive", {200, largeArchive(), 100000}},
                      BrokenArchive{"crc_error", {200, corruptArchive()}},
                      BrokenArchive{"not_an_archive", {200, "<html>maintenance</html>"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DownloadRunTest, NoPictureFetchesNoArchive) {
    list(kThreeGroups);
    host.set("/img/php/app_dl_img_all.php", {500, "oops"});
    EXPECT_EQ(run(true), install::kDownloadFetchFailed);
    EXPECT_EQ(host.requested(), (std::vector<std::string>{"/app_dl_list.php?id=0", "/img/php/app_dl_img_all.php"}));
    EXPECT_EQ(observer.pageShown, 0);
    EXPECT_TRUE(prefs().boolForKey("DOWNLOAD_FIRST"));
}

TEST_F(DownloadRunTest, RecordsPresentVoicesAndRemovesWithdrawnOnes) {
    for (const char* id : {"r", "w", "k"}) std::ofstream(caches + "/voice_" + id + ".ogg") << "clip";
    list("r\tpack_a\t1\nw\t-\t0\nx\t-\t0\nk\tpack_k\t1\tmore\n");

    EXPECT_EQ(run(false), install::kDownloadOk);
    EXPECT_EQ(records(), "r\t1\nk\t1\nw\t0\n");
    EXPECT_TRUE(fs::exists(caches + "/voice_r.ogg"));
    EXPECT_FALSE(fs::exists(caches + "/voice_w.ogg"));
    EXPECT_EQ(host.requested(), std::vector<std::string>{"/app_dl_list.php?id=0"});
    EXPECT_EQ(observer.pageShown, 0);  // not a first run: the screen stays as it is

    // The withdrawn entry whose voice was absent is looked at again next time.
    RecordingObserver first;
    EXPECT_EQ(install::downloadList(host.host(), true, first), install::kDownloadOk);
    EXPECT_EQ(records(), "r\t1\nk\t1\nw\t0\n");
    EXPECT_EQ(first.pageShown, 1);  // a first run ends on a full gauge all the same
    EXPECT_EQ(first.targets, std::vector<int>{100});
}

TEST_F(DownloadRunTest, ResetFlagDownloadsDespitePresentVoiceAndIsCleared) {
    std::ofstream(caches + "/voice_r.ogg") << "clip";
    prefs().setFloat("DL_RESET_FLG", 1.0f);
    list("r\tpack_a\t1\n");
    simpleArchive("a");
    EXPECT_EQ(run(false), install::kDownloadOk);
    EXPECT_EQ(host.requested().back(), "/resource/download/zip/pack_a.zip");
    EXPECT_EQ(records(), "r\t1\n");
    EXPECT_FALSE(prefs().boolForKey("DL_RESET_FLG"));
}

TEST_F(DownloadRunTest, VoiceKeySelectsTheList) {
    prefs().setInteger("VOICE_DL_KEY", 5);
    list("", "/app_dl_list.php");
    EXPECT_EQ(run(false), install::kDownloadOk);
    EXPECT_EQ(host.requested(), std::vector<std::string>{"/app_dl_list.php?id=5"});
}

TEST_F(DownloadRunTest, HostileArchiveWritesNothingOutsideTheCaches) {
    list("h\tpack_h\t0\n");
    archive("pack_h", {{ZipItem::File, "../../escape.txt", "evil"},
                       {ZipItem::File, "../tmp/downloadGirlImg.jpg", "evil"},
                       {ZipItem::File, "/tmp/abs-escape.txt", "evil"},
                       {ZipItem::File, "..\\escape.txt", "evil"},
                       {ZipItem::Symlink, "link", home_.path()},
                       {ZipItem::File, "ok.txt", "fine"}});
    const std::set<std::string> before = treeOf(home_.path());

    EXPECT_EQ(run(false), install::kDownloadOk);
    std::set<std::string> added;
    for (const std::string& path : treeOf(home_.path()))
        if (!before.count(path)) added.insert(path);
    EXPECT_EQ(added, (std::set<std::string>{"Library/Caches/localDownloadData.txt", "Library/Caches/ok.txt",
                                            "Library/Preferences/settings.json", "tmp/downloadGirlImg.jpg"}));
    EXPECT_EQ(readFile(temporary + "/downloadGirlImg.jpg"), "JPEG-PICTURE");
    EXPECT_FALSE(fs::exists("/tmp/abs-escape.txt"));
    EXPECT_EQ(records(), "h\t0\n");
}

// Lines whose archive cannot be fetched by its name sort first among the
// groups; they are skipped, and every group after them installs, this run
// and the next.
TEST_F(DownloadRunTest, UnusableListLinesDoNotStopTheGroupsAfterThem) {
    list("a\tpack_a\t0\nx\t\t0\ny\tpack y\t0\nw\tpack%2fz\t0\nb\tpack_b\t0\n");
    for (const char* x : {"a", "b"}) simpleArchive(x);
    platform::LogCapture log;

    EXPECT_EQ(run(true), install::kDownloadOk);
    EXPECT_EQ(records(), "a\t0\nb\t0\n");
    EXPECT_EQ(readFile(caches + "/b/voice.ogg"), "voice of b");
    EXPECT_EQ(observer.targets, (std::vector<int>{50, 100}));
    EXPECT_EQ(host.requested(),
              (std::vector<std::string>{"/app_dl_list.php?id=0", "/img/php/app_dl_img_all.php",
                                        "/resource/download/zip/pack_a.zip", "/resource/download/zip/pack_b.zip"}));
    EXPECT_TRUE(log.contains("skipping line with unusable archive name: y\tpack y\t0"));
    EXPECT_FALSE(prefs().boolForKey("DOWNLOAD_FIRST"));

    host.clearRequests();
    EXPECT_EQ(run(false), install::kDownloadOk);
    EXPECT_EQ(host.requested(), std::vector<std::string>{"/app_dl_list.php?id=0"});
}

// An archive may not put its own text in place of the install records:
// the entry is refused and every record of the run lands in the real file.
TEST_F(DownloadRunTest, ArchiveEntryNamedLikeTheRecordFileIsRefused) {
    std::ofstream(caches + "/voice_r.ogg") << "clip";
    list("r\tpack_a\t1\nh\tpack_h\t0\nz\tpack_z\t0\n");
    archive("pack_h", {{ZipItem::File, "localDownloadData.txt", "h\t0\nforged\t0\n"},
                       {ZipItem::File, "./localDownloadData.txt", "forged\t1\n"},
                       {ZipItem::File, "ok.txt", "fine"}});
    simpleArchive("z");
    platform::LogCapture log;

    EXPECT_EQ(run(false), install::kDownloadOk);
    EXPECT_EQ(records(), "r\t1\nh\t0\nz\t0\n");
    EXPECT_EQ(readFile(caches + "/ok.txt"), "fine");
    EXPECT_EQ(readFile(caches + "/z/voice.ogg"), "voice of z");
    EXPECT_TRUE(log.contains("refusing entry \"localDownloadData.txt\""));
}

}  // namespace
