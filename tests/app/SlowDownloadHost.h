#pragma once
// A download host on the loopback whose archive trickles out (4 KiB every
// 10 ms, several seconds in all), and a live controller on the headless
// backend (virtual time) that uses it for both of its hosts. The host
// counts what it sent and notices when the client hangs up mid-archive;
// onVersion runs on the server's thread while the version request is held.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "app/MyWebAppDelegate.h"
#include "app/MyWebViewController.h"
#include "platform/Log.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/headless/TemporaryHome.h"
#include "tests/support/LoopbackServer.h"

namespace app::testing {

class SlowDownloadHost {
public:
    static constexpr std::size_t kChunk = 4096;
    static constexpr std::size_t kArchiveSize = 512 * kChunk;  // about 5 s at the trickle's pace
    static constexpr const char* kArchivePath = "/resource/download/zip/pack_a.zip";

    SlowDownloadHost() {
        auto& s = server.server();
        s.Get("/app_version.php", [this](const httplib::Request&, httplib::Response& res) {
            ++versionRequests;
            if (onVersion) onVersion();
            res.set_content("1,PELORA_ver01", "text/plain");
        });
        s.Get("/app_dl_list.php", [this](const httplib::Request&, httplib::Response& res) {
            res.set_content(listBody, "text/plain");
        });
        s.Get("/img/php/app_dl_img_all.php", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("not really a picture", "image/jpeg");
        });
        s.Get(kArchivePath, [this](const httplib::Request&, httplib::Response& res) {
            res.set_content_provider(kArchiveSize, "application/zip",
                                     [this](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                         return trickle(offset, sink);
                                     });
        });
    }
    bool start() { return server.start(); }
    std::string baseUrl() const { return server.baseUrl(); }

    testsupport::LoopbackServer server;
    std::string listBody = "001\tpack_a\tq\n";  // set before start
    std::function<void()> onVersion;           // set before start
    std::atomic<int> versionRequests{0};
    std::atomic<std::size_t> archiveSent{0};
    std::atomic<bool> archiveCut{false};  // the client hung up before the end

private:
    bool trickle(std::size_t offset, httplib::DataSink& sink) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        const std::string chunk(std::min(kChunk, kArchiveSize - offset), 'z');
        if (!sink.is_writable() || !sink.write(chunk.data(), chunk.size())) {
            archiveCut = true;
            return false;
        }
        archiveSent += chunk.size();
        return true;
    }
};

class ControllerOnSlowHost : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.start());
        backend = std::make_unique<platform::headless::HeadlessBackend>(
            platform::headless::HeadlessBackend::Options{home.path(), {}, true});
        platform::setBackend(backend.get());
        backend->headlessWindowing().setScreenBounds({320, 568});
        backend->headlessWindowing().setWebViewsFetch(false);
        AppConfig config = defaultAppConfig();
        config.appHost = host.baseUrl();
        config.downloadHost = host.baseUrl();
        delegate = std::make_unique<MyWebAppDelegate>(config);
        c = delegate->viewController.get();
        delegate->didFinishLaunching();
    }
    void TearDown() override {
        delegate.reset();
        backend->queues().drain();
        backend.reset();
    }

    bool runUntil(const std::function<bool()>& done, int seconds = 10) {
        return backend->mainLoop().runUntil(done, std::chrono::seconds(seconds));
    }
    // Destroys the controller (as the process end does) and says how long
    // that took.
    std::chrono::milliseconds destroyController() {
        const auto begin = std::chrono::steady_clock::now();
        delegate.reset();
        c = nullptr;
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - begin);
    }

    SlowDownloadHost host;
    platform::headless::TemporaryHome home;
    std::unique_ptr<platform::headless::HeadlessBackend> backend;
    std::unique_ptr<MyWebAppDelegate> delegate;
    MyWebViewController* c = nullptr;
    platform::LogCapture logs;
};

}  // namespace app::testing
