// The download thread stores the target while the main thread ticks and
// draws the screen, and the controller reads the start area: all of it
// without races (run under ThreadSanitizer).
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "CGViewFixture.h"

namespace cgviewtest {
namespace {

TEST_F(CGViewTest, SettersFromAnotherThreadRaceWithNothing) {
    writeBundle();
    auto view = screenIn(4);
    std::atomic<bool> published{false};
    std::atomic<bool> mainDone{false};
    std::thread download([&] {
        for (int target = 0; target <= 100; ++target) {
            view->setDownloadParNum(target);
            view->setDrawState(4);
            if (view->getTouchNextArea().width() > 0) published = true;
            std::this_thread::yield();
        }
        while (!published && !mainDone) {
            if (view->getTouchNextArea().width() > 0) published = true;
            std::this_thread::yield();
        }
    });
    for (int tick = 0; tick < 100000 && !published; ++tick) {
        view->update();
        // Drawn only once full: the percentage text is not needed here.
        if (view->downloadParNowNum() == view->downloadParMax()) render(*view);
        std::this_thread::yield();
    }
    mainDone = true;
    download.join();
    EXPECT_TRUE(published);
    EXPECT_EQ(view->downloadParNowNum(), 100);
}

}  // namespace
}  // namespace cgviewtest
