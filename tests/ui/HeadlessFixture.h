#pragma once
// A fresh app home and an installed headless backend for one test. With
// virtual time, animations and timers take no wall time.
#include <gtest/gtest.h>

#include <memory>

#include "platform/headless/HeadlessBackend.h"
#include "platform/headless/TemporaryHome.h"

namespace uitest {

class HeadlessFixture : public ::testing::Test {
protected:
    explicit HeadlessFixture(bool virtualTime = true) {
        backend_ = std::make_unique<platform::headless::HeadlessBackend>(
            platform::headless::HeadlessBackend::Options{.home = home_.path(), .bundle = {}, .virtualTime = virtualTime});
        platform::setBackend(backend_.get());
    }
    ~HeadlessFixture() override { backend_.reset(); }

    platform::headless::HeadlessBackend& backend() { return *backend_; }
    platform::MainLoop& loop() { return backend_->mainLoop(); }
    // Runs the main loop for a span of (virtual) time.
    void runFor(int ms) { loop().runFor(platform::Millis(ms)); }
    double now() const { return double(backend_->clock().now().count()); }

    platform::headless::TemporaryHome home_;
    std::unique_ptr<platform::headless::HeadlessBackend> backend_;
};

}  // namespace uitest
