// The version check shows the checking box from its own thread while the
// main thread waits; the main thread applies the last wish.
#include <gtest/gtest.h>

#include <thread>

#include "tests/app/ControllerFixture.h"

namespace app::testing {
namespace {

using CheckingBoxThreadTest = ControllerFixture;

TEST_F(CheckingBoxThreadTest, StartFromAnotherThreadShowsTheBoxOnTheMainThread) {
    launch();
    std::thread([this] { controller->startLoading(); }).join();
    EXPECT_TRUE(controller->_loadingContainer->isHidden());  // not touched off the main thread
    run(10);
    EXPECT_FALSE(controller->_loadingContainer->isHidden());
    std::thread([this] { controller->endLoading(); }).join();
    run(10);
    EXPECT_TRUE(controller->_loadingContainer->isHidden());
}

TEST_F(CheckingBoxThreadTest, EndOnTheMainThreadWinsOverAnEarlierStart) {
    launch();
    std::thread([this] { controller->startLoading(); }).join();
    controller->endLoading();  // the answer came before the posted start ran
    run(10);
    EXPECT_TRUE(controller->_loadingContainer->isHidden());
    EXPECT_FALSE(controller->_loadingMark->isAnimating());
    EXPECT_FALSE(system().networkActivityIndicatorVisible());
}

TEST_F(CheckingBoxThreadTest, ManyTogglesFromManyThreads) {
    launch();
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i) {
        threads.emplace_back([this] {
            for (int k = 0; k < 50; ++k) {
                controller->startLoading();
                controller->endLoading();
            }
        });
    }
    for (auto& t : threads) t.join();
    run(10);
    EXPECT_TRUE(controller->_loadingContainer->isHidden());
}

}  // namespace
}  // namespace app::testing
