#include "tests/app/AudioControllerFixture.h"

#include <AL/al.h>

#include <chrono>
#include <cmath>

#include "audio/OggPlayerIOS.h"
#include "audio/StreamWorker.h"
#include "tests/app/ControllerFixture.h"

namespace app::testing {
namespace {

constexpr int kStepFrames = audiotest::LoopbackAudio::kRate / 100;  // 10 ms
int gClipSerial = 0;  // names stay unique across the process's tests

}  // namespace

void AudioControllerFixture::SetUp() {
    backend = std::make_unique<platform::headless::HeadlessBackend>(
        platform::headless::HeadlessBackend::Options{.home = home.path(), .bundle = bundle.path, .virtualTime = true});
    platform::setBackend(backend.get());
    backend->headlessWindowing().setScreenBounds({320, 568});
    backend->headlessWindowing().setWebViewsFetch(false);
    audio = std::make_unique<audiotest::LoopbackAudio>();
    ASSERT_TRUE(audio->ok());
    delegate = std::make_unique<MyWebAppDelegate>();
    c = delegate->viewController.get();
    c->setAvatarViewFactory([](platform::ui::Rect frame) { return std::make_unique<FakeAvatarView>(frame); });
    delegate->didFinishLaunching();  // view set-up: search list, device, volumes
    c->webviewInit("");
    web()->finishLoad();
}

void AudioControllerFixture::TearDown() {
    if (!backend) return;
    backend->queues().drain();
    delegate.reset();  // the controller and its listeners before the players
    c = nullptr;
    audio.reset();     // the sound cache and the device
    backend.reset();
}

std::string AudioControllerFixture::clip(const std::string& stem, double seconds, double frequency) {
    const std::string name = stem + "_" + std::to_string(++gClipSerial) + ".ogg";
    audiotest::Clip shape;
    shape.channels = 1;
    shape.rate = 22050;
    shape.frames = static_cast<long>(seconds * shape.rate);
    shape.frequency = frequency;
    EXPECT_TRUE(audiotest::writeOggClip(backend->directories().documents() + "/" + name, shape)) << name;
    return name;
}

void AudioControllerFixture::step(double seconds, const std::function<void(double)>& observe) {
    const long count = std::lround(seconds * 100);
    for (long i = 0; i < count; ++i) {
        std::vector<short> chunk = audio->render(kStepFrames);
        mix.insert(mix.end(), chunk.begin(), chunk.end());
        if (++steps_ % 4 == 0) RK::StreamWorker::shared().runPass();
        backend->mainLoop().runFor(std::chrono::milliseconds(10));
        if (observe) observe(audio->now());
    }
}

bool AudioControllerFixture::stepUntil(const std::function<bool()>& done, double seconds) {
    for (double t = 0; t < seconds; t += 0.01) {
        if (done()) return true;
        step(0.01);
    }
    return done();
}

platform::headless::HeadlessWebView* AudioControllerFixture::web() {
    return static_cast<platform::headless::HeadlessWebView*>(c->outlets()._webView.get());
}

int AudioControllerFixture::scriptCount(const std::string& script) {
    int n = 0;
    for (const auto& s : web()->evaluatedScripts()) n += s == script;
    return n;
}

float AudioControllerFixture::gainOf(RK::BGMusic* music) {
    auto* ogg = dynamic_cast<RK::OggPlayerIOS*>(music);
    if (!ogg || !ogg->sourceName()) return -1;
    ALfloat gain = -1;
    alGetSourcef(ogg->sourceName(), AL_GAIN, &gain);
    return gain;
}

double AudioControllerFixture::toneAmplitude(double frequency, double from, double to) const {
    const long a = std::lround(from * audiotest::LoopbackAudio::kRate);
    const long b = std::min<long>(std::lround(to * audiotest::LoopbackAudio::kRate), static_cast<long>(mix.size() / 2));
    double re = 0, im = 0;
    for (long f = a; f < b; ++f) {
        const double phase = 2 * M_PI * frequency * f / audiotest::LoopbackAudio::kRate;
        re += mix[2 * f] * std::cos(phase);
        im += mix[2 * f] * std::sin(phase);
    }
    return b > a ? 2 * std::hypot(re, im) / static_cast<double>(b - a) : 0;
}

}  // namespace app::testing
