#include "foundation/Directories.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "foundation/File.h"
#include "platform/Backend.h"
#include "platform/Directories.h"
#include "platform/Log.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/headless/TemporaryHome.h"

namespace {

// Directories with whatever texts a test wants, including trailing slashes
// that a platform might hand back.
class FixedDirectories : public platform::Directories {
public:
    std::string homeDir, bundleDir, documentsDir, cachesDir, temporaryDir;
    std::string home() const override { return homeDir; }
    std::string bundle() const override { return bundleDir; }
    std::string documents() const override { return documentsDir; }
    std::string caches() const override { return cachesDir; }
    std::string temporary() const override { return temporaryDir; }
};

// The headless backend with its directories replaced by fixed texts.
class FixedDirectoriesBackend : public platform::headless::HeadlessBackend {
public:
    FixedDirectoriesBackend(const std::string& home, FixedDirectories& d)
        : HeadlessBackend(Options{home, {}, false}), dirs_(d) {}
    platform::Directories& directories() override { return dirs_; }

private:
    FixedDirectories& dirs_;
};

class InstalledBackend {
public:
    explicit InstalledBackend(platform::Backend* b) : previous_(platform::setBackend(b)) {}
    ~InstalledBackend() { platform::setBackend(previous_); }

private:
    platform::Backend* previous_;
};

TEST(Directories, NameTheAppHomeOfTheHeadlessBackend) {
    platform::headless::TemporaryHome home;
    ASSERT_FALSE(home.path().empty());
    platform::headless::HeadlessBackend backend({home.path(), home.path() + "/bundle", false});
    InstalledBackend installed(&backend);

    EXPECT_EQ(RK::bundlePath(), home.path() + "/bundle");
    EXPECT_EQ(RK::documentsPath(), home.path() + "/Documents");
    EXPECT_EQ(RK::cachesPath(), home.path() + "/Library/Caches");
    EXPECT_EQ(RK::temporaryPath(), home.path() + "/tmp");

    // What the download code does with them: a file below the caches.
    RK::WriteFile out;
    ASSERT_TRUE(out.open(RK::cachesPath() + "/img/bg/01.png", true, true));
    EXPECT_TRUE(out.writeString("png"));
    out.close();
    EXPECT_TRUE(std::filesystem::is_regular_file(home.path() + "/Library/Caches/img/bg/01.png"));
}

TEST(Directories, ComeWithoutATrailingSlash) {
    platform::headless::TemporaryHome home;
    FixedDirectories d;
    d.bundleDir = "/opt/pelora/bundle";
    d.documentsDir = "/home/u/app/Documents/";
    d.cachesDir = "/home/u/app/Library/Caches";
    d.temporaryDir = "/home/u/app/tmp/";
    FixedDirectoriesBackend backend(home.path(), d);
    InstalledBackend installed(&backend);

    EXPECT_EQ(RK::bundlePath(), "/opt/pelora/bundle");
    EXPECT_EQ(RK::documentsPath(), "/home/u/app/Documents");
    EXPECT_EQ(RK::cachesPath(), "/home/u/app/Library/Caches");
    EXPECT_EQ(RK::temporaryPath(), "/home/u/app/tmp");

    d.temporaryDir = "/";  // the root alone is kept
    EXPECT_EQ(RK::temporaryPath(), "/");
    d.temporaryDir = "/t//";  // only one slash goes
    EXPECT_EQ(RK::temporaryPath(), "/t/");
}

TEST(Directories, WithoutABackendAreEmptyAndLogged) {
    InstalledBackend none(nullptr);
    platform::LogCapture log;
    EXPECT_EQ(RK::bundlePath(), "");
    EXPECT_EQ(RK::documentsPath(), "");
    EXPECT_EQ(RK::cachesPath(), "");
    EXPECT_EQ(RK::temporaryPath(), "");
    EXPECT_TRUE(log.contains("RK::cachesPath: no platform backend"));
}

}  // namespace
