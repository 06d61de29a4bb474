// The client's entry point: installs the platform backend, lets the
// application delegate launch and activate the client, and runs the main
// loop until the process is asked to stop (SIGINT, SIGTERM).
//
//   pelora [--app-host=H] [--download-host=H] [--page-hosts=H,...] [--bundle-dir=D] [--home=D]
#include <csignal>
#include <atomic>
#include <iostream>

#include "app/MyWebAppDelegate.h"
#include "audio/AudioDevice.h"
#include "audio/SoundCache.h"
#include "platform/headless/HeadlessBackend.h"

namespace {

std::atomic<bool> stopRequested{false};

void requestStop(int) { stopRequested = true; }

}  // namespace

int main(int argc, char** argv) {
    // Before any other OpenAL call: picks the silent backend on a machine
    // without sound output.
    RK::audioStartup();
    app::AppConfig config = app::defaultAppConfig();
    std::vector<std::string> args(argv + 1, argv + argc), rest;
    std::string error;
    if (!app::applyCommandLine(args, config, rest, error) || !rest.empty()) {
        std::cerr << "pelora: " << (error.empty() ? "unknown argument " + rest.front() : error) << "\n";
        return 2;
    }
    platform::headless::HeadlessBackend::Options options;
    options.home = config.homeDir;
    options.bundle = config.bundleDir;
    platform::headless::HeadlessBackend backend(options);
    platform::setBackend(&backend);

    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);
    auto watcher = backend.mainLoop().scheduleRepeating(std::chrono::milliseconds(100), [&] {
        if (stopRequested) backend.mainLoop().quit();
    });

    {
        app::MyWebAppDelegate delegate(config);
        backend.mainLoop().post([&] {
            delegate.didFinishLaunching();
            delegate.applicationDidBecomeActive();
        });
        backend.mainLoop().runForever();
        delegate.applicationWillResignActive();
        delegate.applicationWillTerminate();
        // The controller's destruction stops its download work and waits
        // for it; a run in flight is aborted rather than waited out.
    }
    backend.queues().drain();
    // The players go after the controller that listens to them, and before
    // the backend whose main loop they report to.
    RK::SoundCache::destroyShared();
    watcher.reset();
    return 0;
}
