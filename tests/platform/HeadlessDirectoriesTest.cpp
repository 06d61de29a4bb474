#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "platform/Log.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/headless/TemporaryHome.h"

namespace fs = std::filesystem;
using platform::headless::HeadlessBackend;
using platform::headless::HeadlessDirectories;
using platform::headless::TemporaryHome;

namespace {

// Sets or clears environment variables for one test and restores them after.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old, had_ = true;
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedEnv() { had_ ? ::setenv(name_, old_.c_str(), 1) : ::unsetenv(name_); }

private:
    const char* name_;
    std::string old_;
    bool had_ = false;
};

}  // namespace

TEST(HeadlessDirectories, CreatesTheStandardFoldersUnderAnExplicitHome) {
    TemporaryHome home;
    ASSERT_FALSE(home.path().empty());
    HeadlessDirectories dirs(home.path() + "/", "/opt/bundle/");
    EXPECT_TRUE(dirs.ready());
    EXPECT_EQ(dirs.home(), home.path());
    EXPECT_EQ(dirs.bundle(), "/opt/bundle");
    EXPECT_EQ(dirs.documents(), home.path() + "/Documents");
    EXPECT_EQ(dirs.caches(), home.path() + "/Library/Caches");
    EXPECT_EQ(dirs.temporary(), home.path() + "/tmp");
    for (const auto& dir : {dirs.documents(), dirs.caches(), dirs.temporary()}) {
        EXPECT_TRUE(fs::is_directory(dir)) << dir;
    }
    struct stat st {};
    ASSERT_EQ(::stat(dirs.keychains().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST(HeadlessDirectories, HomeRootFollowsTheEnvironmentInOrder) {
    struct Case {
        const char* peloraHome;
        const char* xdg;
        const char* user;
        const char* expected;
    } cases[] = {
        {"/x/home", "/x/xdg", "/x/user", "/x/home"},
        {nullptr, "/x/xdg/", "/x/user", "/x/xdg/pelora"},
        {"", "", "/x/user", "/x/user/.local/share/pelora"},
        {nullptr, nullptr, nullptr, "/tmp/pelora"},
    };
    for (const Case& c : cases) {
        ScopedEnv a("PELORA_HOME", c.peloraHome), b("XDG_DATA_HOME", c.xdg), d("HOME", c.user);
        EXPECT_EQ(HeadlessDirectories::defaultHome(), c.expected);
    }
}

TEST(HeadlessDirectories, BundleComesFromTheEnvironmentElseTheBuild) {
    {
        ScopedEnv bundle("PELORA_BUNDLE_DIR", "/some/bundle");
        EXPECT_EQ(HeadlessDirectories::defaultBundle(), "/some/bundle");
    }
    ScopedEnv bundle("PELORA_BUNDLE_DIR", nullptr);
    EXPECT_FALSE(HeadlessDirectories::defaultBundle().empty());
}

TEST(HeadlessDirectories, UnwritableHomeIsReportedNotFatal) {
    TemporaryHome home;
    const std::string blocker = home.path() + "/file";
    FILE* f = std::fopen(blocker.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    platform::LogCapture log;
    HeadlessDirectories dirs(blocker);  // a regular file cannot hold folders
    EXPECT_FALSE(dirs.ready());
    EXPECT_TRUE(log.contains("cannot create " + blocker + "/Documents"));
}

TEST(HeadlessBackend, InstallsAndRemovesItself) {
    TemporaryHome home;
    {
        HeadlessBackend backend(home.path());
        platform::setBackend(&backend);
        ASSERT_EQ(platform::backend(), &backend);
        EXPECT_EQ(platform::backend()->directories().home(), home.path());
    }
    EXPECT_EQ(platform::backend(), nullptr);
}

TEST(TemporaryHome, IsFreshAndRemovedAfterUse) {
    std::string path;
    {
        TemporaryHome a, b;
        EXPECT_NE(a.path(), b.path());
        path = a.path();
        EXPECT_TRUE(fs::is_empty(path));
        HeadlessDirectories dirs(path);
    }
    EXPECT_FALSE(fs::exists(path));
}
