#include "app/headless/ScenarioRunner.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "app/MyWebAppDelegate.h"
#include "app/bridge/Url.h"
#include "install/CGView.h"
#include "audio/SoundCache.h"
#include "platform/Log.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/headless/TemporaryHome.h"
#include "platform/ui/Window.h"

namespace app::headless {

std::string escapeText(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\t': out += "\\t"; break;
            case '\r': out += "\\r"; break;
            default: {
                // Any other control byte (a NUL, an escape sequence) as \xHH:
                // the journal stays one line of text per effect.
                auto byte = static_cast<unsigned char>(c);
                if (isControlByte(byte)) {
                    static constexpr char kHex[] = "0123456789abcdef";
                    out += "\\x";
                    out += kHex[byte >> 4];
                    out += kHex[byte & 0x0F];
                } else {
                    out += c;
                }
            }
        }
    }
    return out;
}

namespace {

std::string formatValue(const platform::PrefValue& value) {
    if (const auto* text = std::get_if<std::string>(&value)) return escapeText(*text);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.9g", std::get<double>(value));
    return buffer;
}

// Every line goes through here, so the polled effects (scripts, loads, opens,
// alerts) come out before the event that follows them.
class Journal {
public:
    explicit Journal(std::ostream& out) : out_(out) {}
    void setPoll(std::function<void()> poll) { poll_ = std::move(poll); }
    void emit(const std::string& line, bool mayPoll) {
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        if (mayPoll && poll_ && !polling_) {
            polling_ = true;
            poll_();
            polling_ = false;
        }
        out_ << line << '\n';
        out_.flush();
    }

private:
    std::ostream& out_;
    std::recursive_mutex mutex_;
    std::function<void()> poll_;
    bool polling_ = false;
};

bool onMainThread() {
    auto* b = platform::backend();
    return b && b->mainLoop().isMainThread();
}

class RecordingPreferences final : public platform::Preferences {
public:
    RecordingPreferences(platform::Preferences& inner, Journal& journal) : inner_(inner), journal_(journal) {}
    void registerDefaults(const std::map<std::string, platform::PrefValue>& d) override { inner_.registerDefaults(d); }
    std::optional<platform::PrefValue> objectForKey(const std::string& k) const override { return inner_.objectForKey(k); }
    float floatForKey(const std::string& k) const override { return inner_.floatForKey(k); }
    bool boolForKey(const std::string& k) const override { return inner_.boolForKey(k); }
    long long integerForKey(const std::string& k) const override { return inner_.integerForKey(k); }
    std::optional<std::string> stringForKey(const std::string& k) const override { return inner_.stringForKey(k); }
    void setObject(const std::string& k, const platform::PrefValue& v) override {
        inner_.setObject(k, v);
        note(k, formatValue(v));
    }
    void setFloat(const std::string& k, float v) override {
        inner_.setFloat(k, v);
        note(k, formatValue(double(v)));
    }
    void setBool(const std::string& k, bool v) override {
        inner_.setBool(k, v);
        note(k, v ? "1" : "0");
    }
    void setInteger(const std::string& k, long long v) override {
        inner_.setInteger(k, v);
        note(k, std::to_string(v));
    }
    void setString(const std::string& k, const std::string& v) override {
        inner_.setString(k, v);
        note(k, escapeText(v));
    }
    void removeObjectForKey(const std::string& k) override {
        inner_.removeObjectForKey(k);
        note(k, "(removed)");
    }
    bool flush() override { return inner_.flush(); }

private:
    void note(const std::string& key, const std::string& value) {
        journal_.emit("setting " + escapeText(key) + " " + value, onMainThread());
    }
    platform::Preferences& inner_;
    Journal& journal_;
};

class RecordingTrackers final : public platform::Trackers {
public:
    RecordingTrackers(platform::Trackers& inner, Journal& journal) : inner_(inner), journal_(journal) {}
    void call(platform::TrackerKind kind, const std::string& operation, const std::vector<std::string>& args) override {
        inner_.call(kind, operation, args);
        std::string line = std::string("tracker ") + platform::trackerKindName(kind) + " " + escapeText(operation);
        for (const auto& a : args) line += " " + escapeText(a);
        journal_.emit(line, onMainThread());
    }

private:
    platform::Trackers& inner_;
    Journal& journal_;
};

class RunnerBackend final : public platform::headless::HeadlessBackend {
public:
    RunnerBackend(Options options, Journal& journal)
        : HeadlessBackend(std::move(options)),
          prefs_(HeadlessBackend::preferences(), journal),
          trackers_(HeadlessBackend::trackers(), journal) {}
    platform::Preferences& preferences() override { return prefs_; }
    platform::Trackers& trackers() override { return trackers_; }

private:
    RecordingPreferences prefs_;
    RecordingTrackers trackers_;
};

// Log lines of the app shell; the backend's own lines (paths of the home,
// fetch details) would make the output differ run to run.
bool isShellLine(std::string_view line) {
    for (std::string_view prefix : {"bridge:", "controller:", "footer:", "avatar:", "delegate:"}) {
        if (line.substr(0, prefix.size()) == prefix) return true;
    }
    return false;
}

}  // namespace

struct ScenarioRunner::Impl {
    Impl(RunnerOptions o, std::ostream& out) : options(std::move(o)), journal(out) {}

    RunnerOptions options;
    Journal journal;
    std::unique_ptr<platform::headless::TemporaryHome> temporaryHome;
    std::unique_ptr<RunnerBackend> backend;
    std::unique_ptr<MyWebAppDelegate> delegate;
    platform::LogSink previousSink;
    std::size_t scripts = 0, loads = 0, opens = 0, alerts = 0;
    std::string lastScreen;  // the last "screen" line, so only changes are printed

    platform::headless::HeadlessWebView* web() {
        if (!delegate || !delegate->viewController->outlets()._webView) return nullptr;
        return static_cast<platform::headless::HeadlessWebView*>(delegate->viewController->outlets()._webView.get());
    }

    void poll() {
        auto& out = journal;
        if (auto* w = web()) {
            const auto& s = w->evaluatedScripts();
            for (; scripts < s.size(); ++scripts) out.emit("script " + escapeText(s[scripts]), false);
            const auto& l = w->loadedRequests();
            for (; loads < l.size(); ++loads) {
                out.emit("load " + escapeText(l[loads].method) + " " + escapeText(l[loads].url), false);
            }
        }
        auto opened = backend->headlessSystem().openedUrls();
        for (; opens < opened.size(); ++opens) out.emit("open " + escapeText(opened[opens]), false);
        const auto& shown = backend->headlessWindowing().alertHistory();
        for (; alerts < shown.size(); ++alerts) {
            const auto& a = *shown[alerts];
            out.emit("alert " + std::to_string(a.tag()) + " " + escapeText(a.title()) + " | " + escapeText(a.message()),
                     false);
        }
        pollLoadingScreen();
    }

    // The loading mark (3) and the download page (4) with its gauge, as
    // "screen <state> <percent>" whenever either changes. The other states
    // belong to the title and are followed through "await".
    void pollLoadingScreen() {
        if (!delegate) return;
        auto screen = delegate->viewController->viewDraw();
        const int state = screen ? screen->drawState() : 0;
        if (state != 3 && state != 4) return;
        std::string line = "screen " + std::to_string(state) + " " + std::to_string(screen->downloadParNum());
        if (line == lastScreen) return;
        lastScreen = line;
        journal.emit(line, false);
    }

    bool holds(const std::string& condition) {
        auto& c = *delegate->viewController;
        auto screen = c.viewDraw();
        // A state counts once a tick has loaded its images, so it is drawn.
        const int state = screen && screen->drawState() == screen->drawInitState() ? screen->drawState() : 0;
        const bool titleShown = c.outlets()._imageTitle && !c.outlets()._imageTitle->isHidden();
        if (condition == "caution") return c._titleToucheState == 1 && c._titleToucheFlg;
        if (condition == "title") return titleShown && c._titleToucheState == 2 && c._titleToucheFlg;
        if (condition == "loading") return !titleShown && state == 3;
        if (condition == "download-page") return state == 4;
        if (condition == "start-button") {
            // The button is drawn once the creeping percentage has arrived.
            return state == 4 && screen->downloadParNum() == 100 &&
                   screen->downloadParNowNum() >= screen->downloadParMax() && c._dlWaitFlg && !c._downloadRunActive;
        }
        if (condition == "alert") return !backend->headlessWindowing().visibleAlerts().empty();
        if (condition == "page") {
            auto* w = web();
            return w && !w->isHidden() && !w->isLoading() && !w->loadedRequests().empty();
        }
        return false;
    }

    std::string await(const Step& step) {
        if (!delegate->viewController->isViewLoaded()) return "launch first";
        const bool reached = backend->mainLoop().runUntil(
            [&] {
                poll();
                return holds(step.text);
            },
            std::chrono::milliseconds(step.number));
        if (reached) return "";
        return "no " + step.text + " within " + std::to_string(step.number) + " ms";
    }

    // The button is laid out when the screen draws, so a frame is drawn first.
    std::string tapStart() {
        auto& c = *delegate->viewController;
        auto screen = c.viewDraw();
        if (!screen || !c.outlets()._viewContents) return "no loading screen";
        backend->headlessWindowing().screenshot();
        const platform::ui::Rect area = screen->getTouchNextArea();
        if (area.width() <= 0 || area.height() <= 0) return "no start button on screen";
        const platform::ui::Point middle{area.x() + area.width() / 2, area.y() + area.height() / 2};
        backend->headlessWindowing().mainWindow().tap(c.outlets()._viewContents->convertToRoot(middle));
        return "";
    }

    bool start() {
        std::string home = options.home;
        if (home.empty()) {
            temporaryHome = std::make_unique<platform::headless::TemporaryHome>();
            home = temporaryHome->path();
            if (home.empty()) return false;
        }
        platform::headless::HeadlessBackend::Options o;
        o.home = home;
        o.bundle = options.config.bundleDir;
        o.virtualTime = !options.fetchPages;
        backend = std::make_unique<RunnerBackend>(o, journal);
        platform::setBackend(backend.get());
        backend->headlessWindowing().setScreenBounds(options.screen);
        backend->headlessWindowing().setWebViewsFetch(options.fetchPages);
        journal.setPoll([this] { poll(); });
        previousSink = platform::setLogSink([this](std::string_view line) {
            if (isShellLine(line)) journal.emit("log " + escapeText(std::string(line)), onMainThread());
        });
        delegate = std::make_unique<MyWebAppDelegate>(options.config);
        return true;
    }

    void stop() {
        if (!backend) return;
        // A download loop still waiting for the start button (a run that
        // stopped on a failed step) would hold the drain for ever.
        if (delegate) {
            if (auto waiting = delegate->viewController->semaphore()) waiting->signal();
        }
        backend->queues().drain();
        delegate.reset();
        // The players go after the controller that listens to them and
        // before the backend whose main loop they report to.
        RK::SoundCache::destroyShared();
        platform::setLogSink(previousSink);
        journal.setPoll({});
        backend.reset();
    }

    // In real time the wait goes in short slices, so what changes meanwhile
    // on other threads (the download gauge) is reported as it happens.
    void waitFor(std::chrono::milliseconds duration) {
        if (!options.fetchPages) {
            backend->mainLoop().runFor(duration);
            return;
        }
        constexpr std::chrono::milliseconds kSlice{20};
        const auto end = std::chrono::steady_clock::now() + duration;
        for (auto left = duration; left.count() > 0;
             left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now())) {
            backend->mainLoop().runFor(std::min(left, kSlice));
            poll();
        }
    }

    void settle() { backend->mainLoop().runFor(std::chrono::milliseconds(1)); }

    // An empty answer when the step ran; otherwise what went wrong.
    std::string runStep(const Step& step) {
        auto& controller = *delegate->viewController;
        auto* w = web();
        switch (step.kind) {
            case StepKind::Launch:
                if (controller.isViewLoaded()) return "already launched";
                delegate->didFinishLaunching();
                return "";
            case StepKind::BecomeActive:
                if (!controller.isViewLoaded()) return "launch first";
                delegate->applicationDidBecomeActive();
                return "";
            case StepKind::ResignActive:
                if (!controller.isViewLoaded()) return "launch first";
                delegate->applicationWillResignActive();
                return "";
            case StepKind::GameScreen:
                if (!controller.isViewLoaded()) return "launch first";
                controller.webviewInit(step.text);
                return "";
            case StepKind::Navigate: {
                if (!w) return "no web view (launch first)";
                platform::UrlRequest request = platform::UrlRequest::get(step.text);
                auto type = platform::NavigationType::LinkClicked;
                if (!step.extra.empty()) {
                    request.method = "POST";
                    request.body = step.extra;
                    type = platform::NavigationType::FormSubmitted;
                }
                w->navigate(request, type);
                return "";
            }
            case StepKind::FinishLoad:
                if (!w || !w->isLoading()) return "no page is loading";
                if (options.fetchPages) {
                    backend->mainLoop().runUntil([w] { return !w->isLoading(); }, std::chrono::seconds(30));
                    return w->isLoading() ? "the page did not finish in 30 s" : "";
                }
                w->finishLoad();
                return "";
            case StepKind::FailLoad:
                if (!w || !w->isLoading()) return "no page is loading";
                w->failLoad(static_cast<int>(step.number));
                return "";
            case StepKind::Tap:
                if (!controller.isViewLoaded()) return "launch first";
                backend->headlessWindowing().mainWindow().tap({step.x, step.y});
                return "";
            case StepKind::AlertTap: {
                auto shown = backend->headlessWindowing().visibleAlerts();
                if (shown.empty()) return "no alert on screen";
                if (!shown.back()->tapButton(static_cast<int>(step.number))) return "the alert has no such button";
                return "";
            }
            case StepKind::Wait:
                waitFor(std::chrono::milliseconds(step.number));
                return "";
            case StepKind::Set: {
                char* end = nullptr;
                double number = std::strtod(step.extra.c_str(), &end);
                auto& prefs = backend->preferences();
                if (end && *end == '\0' && !step.extra.empty() && std::isfinite(number)) {
                    prefs.setObject(step.text, number);
                } else {
                    prefs.setString(step.text, step.extra);
                }
                prefs.flush();
                return "";
            }
            case StepKind::Print: {
                auto value = backend->preferences().objectForKey(step.text);
                journal.emit("print " + escapeText(step.text) + " " + (value ? formatValue(*value) : "(absent)"), true);
                return "";
            }
            case StepKind::Screenshot:
                settle();
                if (!backend->headlessWindowing().writeScreenshot(step.text)) return "could not write " + step.text;
                journal.emit("screenshot " + escapeText(step.text), true);
                return "";
            case StepKind::Await:
                return await(step);
            case StepKind::TapStart:
                return tapStart();
        }
        return "unknown step";
    }
};

ScenarioRunner::ScenarioRunner(RunnerOptions options, std::ostream& out)
    : impl_(std::make_unique<Impl>(std::move(options), out)) {}

ScenarioRunner::~ScenarioRunner() { impl_->stop(); }

int ScenarioRunner::run(const std::vector<Step>& steps) {
    if (!impl_->backend && !impl_->start()) {
        impl_->journal.emit("error line 0: no app home", false);
        return 1;
    }
    for (const auto& step : steps) {
        std::string problem = impl_->runStep(step);
        if (!problem.empty()) {
            impl_->journal.emit("error line " + std::to_string(step.line) + ": " + escapeText(problem), true);
            return 1;
        }
        impl_->settle();
        impl_->poll();
    }
    return 0;
}

}  // namespace app::headless
