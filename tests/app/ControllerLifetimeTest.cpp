// Destroying the controller while its background work runs: the waiting
// loop and the download run hold the controller, so the destructor must
// stop them (the archive transfer is aborted, not waited out) and join them,
// and what they posted to the main loop must come to nothing afterwards.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "install/CGView.h"
#include "tests/app/SlowDownloadHost.h"

namespace app::testing {
namespace {

using namespace std::chrono_literals;
using ControllerLifetime = ControllerOnSlowHost;

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST_F(ControllerLifetime, DestroyedMidArchiveAbortsTheTransferAndLeavesNothingBehind) {
    c->_dlState = 1;  // a page asked for the download: the run starts right after the check
    c->titleInit();
    ASSERT_TRUE(runUntil([&] { return host.archiveSent >= 4 * SlowDownloadHost::kChunk; })) << logs.text();

    const auto took = destroyController();
    EXPECT_LT(took, 2000ms) << "the destructor waited for the archive instead of aborting it";
    backend->mainLoop().runFor(500ms);  // ticks and alerts posted by the run, if any, now run
    backend->queues().drain();

    EXPECT_TRUE(runUntil([&] { return host.archiveCut.load(); }, 2)) << "the transfer went on";
    EXPECT_LT(host.archiveSent, SlowDownloadHost::kArchiveSize);
    EXPECT_TRUE(backend->headlessWindowing().alertHistory().empty());
    EXPECT_TRUE(backend->preferences().boolForKey("DOWNLOAD_FIRST"));
    EXPECT_EQ(readFile(home.path() + "/Library/Caches/localDownloadData.txt").find("001"), std::string::npos);
    EXPECT_FALSE(backend->headlessSystem().networkActivityIndicatorVisible());
}

// A first run with nothing to fetch ends on the start button, and its
// waiting loop would wait for the tap for ever.
TEST_F(ControllerLifetime, DestroyedWhileWaitingForTheStartButtonEndsTheWaitingLoop) {
    host.listBody = "";
    c->_dlState = 1;
    c->titleInit();
    ASSERT_TRUE(runUntil([&] {
        auto s = c->viewDraw();
        return s && s->drawState() == 4 && s->downloadParNum() == 100;
    })) << logs.text();
    ASSERT_EQ(c->backgroundWork().runningCount(), 1);  // the waiting loop

    EXPECT_LT(destroyController(), 1000ms);
    backend->mainLoop().runFor(500ms);
    backend->queues().drain();
    EXPECT_TRUE(backend->headlessWindowing().alertHistory().empty());
}

// The check waits for the next turn of the main loop; a controller gone by
// then makes no request and leaves the status bar quiet.
TEST_F(ControllerLifetime, DestroyedBeforeThePendingVersionCheckRunsMakesNoRequest) {
    c->_dlState = 1;
    c->titleInit();
    EXPECT_TRUE(backend->headlessSystem().networkActivityIndicatorVisible());
    destroyController();
    backend->mainLoop().runFor(500ms);
    backend->queues().drain();
    EXPECT_EQ(host.versionRequests, 0);
    EXPECT_FALSE(backend->headlessSystem().networkActivityIndicatorVisible());
    EXPECT_TRUE(backend->headlessWindowing().alertHistory().empty());
}

}  // namespace
}  // namespace app::testing
