#include "foundation/FileSystem.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/Log.h"
#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;

mode_t currentUmask() {
    const mode_t m = ::umask(0);
    ::umask(m);
    return m;
}

TEST(FileSystem, DirectoryOfFollowsDirname) {
    const std::pair<std::string, std::string> cases[] = {
        {"/a/b/c.txt", "/a/b"}, {"/a/b/", "/a"}, {"/file", "/"}, {"/", "/"},
        {"name", "."},          {"", "."},       {"a/b", "a"},
    };
    for (const auto& [path, dir] : cases) {
        SCOPED_TRACE(path);
        EXPECT_EQ(RK::directoryOf(path), dir);
    }
}

TEST(FileSystem, MakeDirectoriesCreatesEveryMissingLevelWith0755) {
    testsupport::TempDir dir;
    const std::string deep = dir.path() + "/mesh2d/resource/img";
    ASSERT_TRUE(RK::makeDirectories(deep));
    ASSERT_TRUE(fs::is_directory(deep));
    struct stat st {};
    ASSERT_EQ(::stat(deep.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0755u & ~currentUmask());
    // All existing, with and without a trailing slash: true, nothing made.
    EXPECT_TRUE(RK::makeDirectories(deep));
    EXPECT_TRUE(RK::makeDirectories(deep + "/"));
    EXPECT_TRUE(RK::makeDirectories(""));
}

TEST(FileSystem, MakeDirectoriesStopsAtAFileInTheWay) {
    testsupport::TempDir dir;
    std::ofstream(dir.file("blocker")) << "x";
    platform::LogCapture log;
    EXPECT_FALSE(RK::makeDirectories(dir.path() + "/blocker/below"));
    EXPECT_TRUE(log.contains("blocker/below"));
}

// A relative path must not be taken as one rooted at "/".
TEST(FileSystem, MakeDirectoriesRefusesRelativePaths) {
    testsupport::TempDir dir;
    const fs::path previous = fs::current_path();
    fs::current_path(dir.path());
    platform::LogCapture log;
    const bool made = RK::makeDirectories("pelora-relative-check/sub");
    fs::current_path(previous);
    EXPECT_FALSE(made);
    EXPECT_FALSE(fs::exists(dir.file("pelora-relative-check")));
    EXPECT_FALSE(fs::exists("/pelora-relative-check"));
    EXPECT_TRUE(log.contains("relative"));
}

TEST(FileSystem, RemoveFileReportsWhetherSomethingWasDeleted) {
    testsupport::TempDir dir;
    std::ofstream(dir.file("voice_1.ogg")) << "ogg";
    EXPECT_TRUE(RK::removeFile(dir.file("voice_1.ogg")));
    EXPECT_FALSE(fs::exists(dir.file("voice_1.ogg")));
    EXPECT_FALSE(RK::removeFile(dir.file("voice_1.ogg")));
    EXPECT_FALSE(RK::removeFile(""));
}

}  // namespace
