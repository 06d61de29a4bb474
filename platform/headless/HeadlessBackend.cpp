#include "platform/headless/HeadlessBackend.h"

namespace platform::headless {

HeadlessBackend::HeadlessBackend(Options options) {
    if (options.virtualTime) {
        auto manual = std::make_unique<ManualClock>();
        manualClock_ = manual.get();
        clock_ = std::move(manual);
    } else {
        clock_ = std::make_unique<SystemClock>();
    }
    directories_ = std::make_unique<HeadlessDirectories>(options.home, options.bundle);
    device_ = std::make_unique<HeadlessDevice>();
    preferences_ = std::make_unique<FilePreferences>(directories_->preferences() + "/settings.json");
    keychain_ = std::make_unique<FileKeychain>(directories_->keychains() + "/keychain.json");
    mainLoop_ = std::make_unique<HeadlessMainLoop>(*clock_);
    queues_ = std::make_unique<ThreadPoolQueues>();
    system_ = std::make_unique<HeadlessSystem>();
    trackers_ = std::make_unique<HeadlessTrackers>(directories_->home() + "/Library/trackers.jsonl", *clock_);
    windowing_ = std::make_unique<HeadlessWindowing>(*mainLoop_, *queues_);
    audioSession_ = std::make_unique<HeadlessAudioSession>();
    systemAudio_ = std::make_unique<HeadlessSystemAudio>(*mainLoop_);
}

HeadlessBackend::~HeadlessBackend() {
    Backend* self = this;
    if (platform::backend() == self) platform::setBackend(nullptr);
    // Background tasks in flight may still use any facility: let them finish
    // while everything is alive. Then the facilities built on the queues and
    // the loop go (newest first), then the queues, then the rest.
    queues_->drain();
    systemAudio_.reset();
    audioSession_.reset();
    windowing_.reset();
    trackers_.reset();
    system_.reset();
    queues_.reset();
}

}  // namespace platform::headless
