// Unpacking real archives written with libzip, hostile ones included.
#include "install/ZipArchive.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "install/ArchiveInstall.h"
#include "platform/Log.h"
#include "tests/support/TempDir.h"
#include "tools/demo-content/ZipWriter.h"

#include "tests/install/FileTree.h"

namespace {

namespace fs = std::filesystem;
using democontent::ZipItem;
using RK::ExtractResult;

using installtest::readFile;
using installtest::treeOf;

// A sandbox: <tmp>/work/caches is the destination, <tmp>/work/archive.zip
// the archive; nothing may appear anywhere else under <tmp>.
class ZipArchiveTest : public ::testing::Test {
protected:
    void SetUp() override {
        work = dir.path() + "/work";
        caches = work + "/caches";
        zipPath = work + "/archive.zip";
        fs::create_directories(caches);
    }
    bool make(const std::vector<ZipItem>& items) { return democontent::writeZip(zipPath, items); }

    testsupport::TempDir dir;
    std::string work, caches, zipPath;
};

TEST_F(ZipArchiveTest, ReportsEntriesAndReadsThemWhole) {
    ASSERT_TRUE(make({{ZipItem::Directory, "dir", ""},
                      {ZipItem::File, "dir/a.txt", "hello"},
                      {ZipItem::File, "__MACOSX/._a.txt", "x"}}));
    RK::ZipArchive archive;
    EXPECT_EQ(archive.entryCount(), -1);
    ASSERT_TRUE(archive.open(zipPath));
    ASSERT_EQ(archive.entryCount(), 3);

    RK::ZipEntryInfo info;
    ASSERT_TRUE(archive.entryInfo(0, info));
    EXPECT_EQ(info.name, "dir/");
    EXPECT_TRUE(info.isDirectory);
    ASSERT_TRUE(archive.entryInfo(1, info));
    EXPECT_EQ(info.name, "dir/a.txt");
    EXPECT_EQ(info.index, 1);
    EXPECT_FALSE(info.isDirectory);
    EXPECT_FALSE(info.isJunk);
    EXPECT_EQ(info.size, 5u);
    ASSERT_TRUE(archive.entryInfo(2, info));
    EXPECT_TRUE(info.isJunk);
    EXPECT_FALSE(archive.entryInfo(3, info));
    EXPECT_FALSE(archive.entryInfo(-1, info));

    RK::Buffer buffer = archive.readEntry(1);
    ASSERT_EQ(buffer.length(), 5);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer.data()), 5), "hello");
    EXPECT_TRUE(archive.readEntry(0).isEmpty());  // a directory has no bytes
    archive.close();
    EXPECT_EQ(archive.entryCount(), -1);
    EXPECT_TRUE(archive.readEntry(1).isEmpty());
}

TEST_F(ZipArchiveTest, DirectoryThenFileGivesBothFileMode0644) {
    ASSERT_TRUE(make({{ZipItem::Directory, "voice", ""}, {ZipItem::File, "voice/v1.ogg", "OggS-data"}}));
    RK::ZipArchive archive;
    ASSERT_TRUE(archive.open(zipPath));
    EXPECT_EQ(archive.extract(0, caches + "/"), ExtractResult::Directory);
    EXPECT_EQ(archive.extract(1, caches + "/"), ExtractResult::Written);
    EXPECT_EQ(readFile(caches + "/voice/v1.ogg"), "OggS-data");
    struct stat st {};
    ASSERT_EQ(::stat((caches + "/voice/v1.ogg").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
    // Nothing but the two entries: no temporary file stays behind.
    EXPECT_EQ(treeOf(caches), (std::set<std::string>{"voice", "voice/v1.ogg"}));
}

TEST_F(ZipArchiveTest, ReplacesAnExistingFile) {
    { std::ofstream(caches + "/a.txt") << "old content that is longer"; }
    ASSERT_TRUE(make({{ZipItem::File, "a.txt", "new"}}));
    EXPECT_TRUE(install::installArchiveFile(zipPath, caches + "/"));
    EXPECT_EQ(readFile(caches + "/a.txt"), "new");
}

// Entries that are skipped without failing the archive; the good entry
// beside them is still written and nothing appears outside the caches.
TEST_F(ZipArchiveTest, SkipsJunkEmptyHostileAndOrphanEntries) {
    struct Case {
        ZipItem item;
        const char* why;
    };
    const std::vector<Case> cases = {
        {{ZipItem::Directory, "__MACOSX", ""}, "junk directory"},
        {{ZipItem::File, "__MACOSX/._good.txt", "meta"}, "junk file"},
        {{ZipItem::File, ".DS_Store", "meta"}, "junk file"},
        {{ZipItem::File, "empty.txt", ""}, "zero-length"},
        {{ZipItem::File, "/abs.txt", "evil"}, "absolute name"},
        {{ZipItem::File, "../escape.txt", "evil"}, "parent component"},
        {{ZipItem::File, "sub/../../escape2.txt", "evil"}, "inner parent component"},
        {{ZipItem::Directory, "../escapedir", ""}, "parent directory"},
        {{ZipItem::File, "..\\escape3.txt", "evil"}, "backslash"},
        {{ZipItem::File, "dir\\file.txt", "evil"}, "backslash"},
        {{ZipItem::Symlink, "link", "/etc/passwd"}, "symbolic link"},
        {{ZipItem::Symlink, "uplink", "../.."}, "symbolic link"},
        {{ZipItem::File, "missing/orphan.txt", "no dir entry"}, "directory missing"},
    };
    std::vector<ZipItem> items;
    for (const Case& c : cases) items.push_back(c.item);
    items.push_back({ZipItem::File, "good.txt", "good"});
    ASSERT_TRUE(make(items));

    RK::ZipArchive archive;
    ASSERT_TRUE(archive.open(zipPath));
    ASSERT_EQ(archive.entryCount(), static_cast<int>(items.size()));
    for (size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(archive.extract(static_cast<int>(i), caches), ExtractResult::Skipped) << cases[i].why;
    archive.close();

    EXPECT_TRUE(install::installArchiveFile(zipPath, caches + "/"));
    EXPECT_EQ(treeOf(dir.path()), (std::set<std::string>{"work", "work/caches", "work/caches/good.txt",
                                                         "work/archive.zip"}));
}

// The caller's own file among the unpacked ones (the install records) and
// names of the unpacker's temporaries are never replaced, however the entry
// spells them; the archive still installs the rest.
TEST_F(ZipArchiveTest, ProtectedNamesAreRefusedInEverySpelling) {
    { std::ofstream(caches + "/own.txt") << "mine\n"; }
    const std::vector<ZipItem> refused = {
        {ZipItem::File, "own.txt", "evil"},
        {ZipItem::File, "./own.txt", "evil"},
        {ZipItem::File, ".//own.txt", "evil"},
        {ZipItem::Directory, "own.txt", ""},
        {ZipItem::File, ".unpack-abc123", "evil"},
        {ZipItem::File, "sub/.unpack-x", "evil"},
    };
    std::vector<ZipItem> items = {{ZipItem::Directory, "sub", ""}};
    items.insert(items.end(), refused.begin(), refused.end());
    items.push_back({ZipItem::File, "own.txt.bak", "not ours"});
    ASSERT_TRUE(make(items));

    RK::ZipArchive archive;
    archive.protectName("own.txt");
    ASSERT_TRUE(archive.open(zipPath));
    platform::LogCapture log;
    for (size_t i = 1; i <= refused.size(); ++i)
        EXPECT_EQ(archive.extract(static_cast<int>(i), caches), ExtractResult::Skipped) << refused[i - 1].name;
    EXPECT_TRUE(log.contains("refusing entry \"own.txt\" (would replace one of the client's own files)"));
    archive.close();

    EXPECT_TRUE(install::installArchiveFile(zipPath, caches + "/", {"own.txt"}));
    EXPECT_EQ(readFile(caches + "/own.txt"), "mine\n");
    EXPECT_EQ(treeOf(caches), (std::set<std::string>{"own.txt", "own.txt.bak", "sub"}));
}

TEST_F(ZipArchiveTest, CrcErrorFailsTheEntryAndLeavesNoFile) {
    const std::string content(4000, 'A');
    std::string bytes = democontent::zipBytes({{ZipItem::File, "first.txt", "ok", true},
                                               {ZipItem::File, "data.bin", content, true}});
    const size_t at = bytes.find(content);
    ASSERT_NE(at, std::string::npos);
    bytes[at + 1000] = 'B';  // stored bytes changed, CRC not
    { std::ofstream(zipPath, std::ios::binary) << bytes; }

    RK::ZipArchive archive;
    ASSERT_TRUE(archive.open(zipPath));
    EXPECT_TRUE(archive.readEntry(1).isEmpty());
    EXPECT_EQ(archive.extract(1, caches), ExtractResult::Failed);
    EXPECT_FALSE(archive.extractEntry(1, caches));
    EXPECT_EQ(treeOf(caches), std::set<std::string>{});
    archive.close();
    EXPECT_FALSE(install::installArchiveFile(zipPath, caches + "/"));
}

TEST_F(ZipArchiveTest, UnopenableArchivesFail) {
    const std::string good = democontent::zipBytes({{ZipItem::File, "a.txt", std::string(10000, 'z')}});
    ASSERT_FALSE(good.empty());
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"truncated", good.substr(0, good.size() / 2)},
        {"cut before the directory end", good.substr(0, good.size() - 10)},
        {"html error page", "<html>500 Internal Server Error</html>"},
        {"empty file", ""},
    };
    for (const auto& [why, bytes] : cases) {
        { std::ofstream(zipPath, std::ios::binary | std::ios::trunc) << bytes; }
        RK::ZipArchive archive;
        EXPECT_FALSE(archive.open(zipPath)) << why;
        EXPECT_EQ(archive.entryCount(), -1) << why;
        EXPECT_FALSE(install::installArchiveFile(zipPath, caches + "/")) << why;
    }
    EXPECT_FALSE(install::installArchiveFile(work + "/absent.zip", caches + "/"));
    EXPECT_EQ(treeOf(caches), std::set<std::string>{});
}

TEST_F(ZipArchiveTest, UnwritableTargetFailsTheArchive) {
    // A directory where the file should go: the rename cannot replace it.
    fs::create_directories(caches + "/taken.txt");
    ASSERT_TRUE(make({{ZipItem::File, "taken.txt", "data"}}));
    EXPECT_FALSE(install::installArchiveFile(zipPath, caches + "/"));
    EXPECT_EQ(treeOf(caches), std::set<std::string>{"taken.txt"});
}

TEST(ZipEntryNames, SafeAndJunkNames) {
    const std::vector<std::pair<std::string, bool>> safe = {
        {"a.txt", true},      {"dir/", true},          {"a/b/c.ogg", true}, {"..a", true},
        {"a..b/c", true},     {"./a", true},           {"", false},         {"/a", false},
        {"..", false},        {"../a", false},         {"a/..", false},     {"a/../b", false},
        {"a\\b", false},      {"..\\a", false},        {"a/../", false},
    };
    for (const auto& [name, expected] : safe) EXPECT_EQ(RK::isSafeEntryName(name), expected) << name;

    const std::vector<std::pair<std::string, bool>> junk = {
        {"__MACOSX/", true}, {"a/._b", true}, {".DS_Store", true}, {"a/.DS_Store", true},
        {"voice_1.ogg", false}, {"dir/a.b", false},
    };
    for (const auto& [name, expected] : junk) EXPECT_EQ(RK::isJunkEntryName(name), expected) << name;

    const std::vector<std::pair<std::string, std::string>> normalised = {
        {"a", "a"}, {"./a", "a"}, {"a/", "a"}, {".//a/./b//", "a/b"}, {".", ""}, {"./", ""}, {"..a/.b", "..a/.b"},
    };
    for (const auto& [name, expected] : normalised) EXPECT_EQ(RK::normalisedEntryName(name), expected) << name;
}

}  // namespace
