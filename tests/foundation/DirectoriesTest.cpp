#include "foundation/Directories.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/Backend.h"
#include "platform/Directories.h"
#include "platform/Log.h"

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

// Only the directories are needed here; any other facility is a test bug.
class DirectoriesOnlyBackend : public platform::Backend {
public:
    explicit DirectoriesOnlyBackend(FixedDirectories& d) : dirs_(d) {}
    platform::MainLoop& mainLoop() override { std::abort(); }
    platform::Queues& queues() override { std::abort(); }
    platform::Clock& clock() override { std::abort(); }
    platform::Preferences& preferences() override { std::abort(); }
    platform::Keychain& keychain() override { std::abort(); }
    platform::Directories& directories() override { return dirs_; }
    platform::Device& device() override { std::abort(); }

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

TEST(Directories, ComeFromTheBackendWithoutATrailingSlash) {
    FixedDirectories d;
    d.bundleDir = "/opt/pelora/bundle";
    d.documentsDir = "/home/u/app/Documents/";
    d.cachesDir = "/home/u/app/Library/Caches";
    d.temporaryDir = "/home/u/app/tmp/";
    DirectoriesOnlyBackend backend(d);
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
