#pragma once
// The in-process backend for tests and headless runs. Every facility is real:
// files under the app home, a main loop served by the thread that runs it, a
// thread pool for the global queues.
//
//   platform::headless::TemporaryHome home;           // fresh app home
//   platform::headless::HeadlessBackend backend(home.path());
//   platform::setBackend(&backend);
//
// With Options::virtualTime the backend's clock is a ManualClock and the main
// loop's timers run in virtual time (see HeadlessMainLoop). The backend removes
// itself from platform::backend() when destroyed.
#include <memory>
#include <string>

#include "platform/Backend.h"
#include "platform/headless/FileKeychain.h"
#include "platform/headless/HeadlessAudioPlayer.h"
#include "platform/headless/HeadlessAudioSession.h"
#include "platform/headless/FilePreferences.h"
#include "platform/headless/HeadlessDevice.h"
#include "platform/headless/HeadlessDirectories.h"
#include "platform/headless/HeadlessMainLoop.h"
#include "platform/headless/HeadlessSystem.h"
#include "platform/headless/HeadlessTrackers.h"
#include "platform/headless/HeadlessWindowing.h"
#include "platform/headless/ThreadPoolQueues.h"

namespace platform::headless {

class HeadlessBackend : public Backend {
public:
    struct Options {
        std::string home;    // empty: HeadlessDirectories' default
        std::string bundle;  // empty: HeadlessDirectories' default
        bool virtualTime = false;
    };

    HeadlessBackend() : HeadlessBackend(Options{}) {}
    explicit HeadlessBackend(Options options);
    explicit HeadlessBackend(std::string home, bool virtualTime = false)
        : HeadlessBackend(Options{std::move(home), std::string(), virtualTime}) {}
    ~HeadlessBackend() override;
    HeadlessBackend(const HeadlessBackend&) = delete;
    HeadlessBackend& operator=(const HeadlessBackend&) = delete;

    MainLoop& mainLoop() override { return *mainLoop_; }
    Queues& queues() override { return *queues_; }
    Clock& clock() override { return *clock_; }
    Preferences& preferences() override { return *preferences_; }
    Keychain& keychain() override { return *keychain_; }
    Directories& directories() override { return *directories_; }
    Device& device() override { return *device_; }
    AudioSession* audioSession() override { return audioSession_.get(); }
    SystemAudio* systemAudio() override { return systemAudio_.get(); }
    std::unique_ptr<GLContext> createGLContext(int width, int height) override {
        return createOffscreenGLContext(width, height);
    }
    System& system() override { return *system_; }
    Trackers& trackers() override { return *trackers_; }
    ui::Windowing& windowing() override { return *windowing_; }

    // The concrete pieces, for tests that steer them.
    HeadlessMainLoop& headlessMainLoop() { return *mainLoop_; }
    HeadlessDirectories& headlessDirectories() { return *directories_; }
    HeadlessDevice& headlessDevice() { return *device_; }
    FilePreferences& filePreferences() { return *preferences_; }
    FileKeychain& fileKeychain() { return *keychain_; }
    HeadlessSystem& headlessSystem() { return *system_; }
    HeadlessTrackers& headlessTrackers() { return *trackers_; }
    HeadlessWindowing& headlessWindowing() { return *windowing_; }
    ManualClock* manualClock() { return manualClock_; }  // null unless virtualTime

private:
    // The destructor drains the queues, then drops what is declared after
    // them, then the queues; members declared before them outlive both.
    std::unique_ptr<Clock> clock_;
    ManualClock* manualClock_ = nullptr;
    std::unique_ptr<HeadlessDirectories> directories_;
    std::unique_ptr<HeadlessDevice> device_;
    std::unique_ptr<FilePreferences> preferences_;
    std::unique_ptr<FileKeychain> keychain_;
    std::unique_ptr<HeadlessMainLoop> mainLoop_;
    std::unique_ptr<ThreadPoolQueues> queues_;
    std::unique_ptr<HeadlessSystem> system_;
    std::unique_ptr<HeadlessTrackers> trackers_;
    std::unique_ptr<HeadlessWindowing> windowing_;
    std::unique_ptr<HeadlessAudioSession> audioSession_;
    std::unique_ptr<HeadlessSystemAudio> systemAudio_;
};

}  // namespace platform::headless
