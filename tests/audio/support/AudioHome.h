#pragma once
// A whole audio environment for one test: a bundle directory, a fresh app
// home behind the installed headless backend, the search list built from
// them, and the loopback device. Destroyed in reverse: the sound cache and
// device first, then the backend whose main loop the system player uses.
#include <memory>
#include <string>

#include "platform/Backend.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/headless/TemporaryHome.h"
#include "tests/audio/support/LoopbackAudio.h"
#include "tests/audio/support/TestClips.h"

namespace audiotest {

struct AudioHome {
    AudioHome();
    ~AudioHome();

    // Writes a clip into one of the standard directories.
    std::string bundleFile(const std::string& name) const { return bundle.file(name); }
    std::string documentsFile(const std::string& name) const;
    std::string cachesFile(const std::string& name) const;
    // Mixes real time in 10 ms steps while the main loop runs, until done()
    // holds or the time passes; returns done().
    template <class Done>
    bool mixUntil(Done done, double seconds) {
        for (double t = 0; t < seconds; t += 0.01) {
            if (done()) return true;
            audio->render(LoopbackAudio::kRate / 100);
            backend->mainLoop().runFor(std::chrono::milliseconds(10));
        }
        return done();
    }

    ScopedDir bundle{"bundle"};
    platform::headless::TemporaryHome home;
    std::unique_ptr<platform::headless::HeadlessBackend> backend;
    platform::Backend* previous = nullptr;
    std::unique_ptr<LoopbackAudio> audio;
};

}  // namespace audiotest
