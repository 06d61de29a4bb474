#include "platform/ui/ViewAnimation.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>

#include "platform/Backend.h"
#include "platform/Clock.h"
#include "platform/MainLoop.h"
#include "platform/ui/ViewAnimationState.h"

namespace platform::ui {

double animationClockMillis() {
    if (Backend* b = backend()) return double(b->clock().now().count());
    using namespace std::chrono;
    return double(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

namespace {

std::atomic<std::uint64_t> nextAnimationId{1};

double curveValue(AnimationCurve curve, double t) {
    switch (curve) {
        case AnimationCurve::Linear: return t;
        case AnimationCurve::EaseIn: return t * t;
        case AnimationCurve::EaseOut: return 1 - (1 - t) * (1 - t);
        case AnimationCurve::EaseInOut: return t * t * (3 - 2 * t);
    }
    return t;
}

double lerp(double a, double b, double t) { return a + (b - a) * t; }

Rect lerp(const Rect& a, const Rect& b, double t) {
    return {lerp(a.x(), b.x(), t), lerp(a.y(), b.y(), t), lerp(a.width(), b.width(), t),
            lerp(a.height(), b.height(), t)};
}

const RunningAnimation* find(const ViewAnimationState& s, AnimatedProperty p) {
    for (const auto& a : s.running) {
        if (a.property == p) return &a;
    }
    return nullptr;
}

// Completions run from the main loop, never inside the caller's frame.
void deliver(std::shared_ptr<AnimationCompletion> completion, bool finished) {
    if (!completion || !*completion) return;
    if (Backend* b = backend()) {
        b->mainLoop().post([completion, finished] { (*completion)(finished); });
    } else {
        (*completion)(finished);
    }
}

// Removes the running animation of the property (if any) and tells its owner
// it was interrupted.
void interrupt(ViewAnimationState& s, AnimatedProperty p) {
    auto it = std::find_if(s.running.begin(), s.running.end(), [p](const auto& a) { return a.property == p; });
    if (it == s.running.end()) return;
    RunningAnimation old = std::move(*it);
    s.running.erase(it);
    if (Backend* b = backend(); b && old.endTask) b->mainLoop().cancel(old.endTask);
    deliver(std::move(old.completion), false);
}

void start(View& view, RunningAnimation a, const AnimationOptions& options, AnimationCompletion completion) {
    a.id = nextAnimationId.fetch_add(1);
    a.durationMs = std::max(0.0, options.duration) * 1000;
    double delayMs = std::max(0.0, options.delay) * 1000;
    a.beginMs = animationClockMillis() + delayMs;
    a.curve = options.curve;
    a.completion = std::make_shared<AnimationCompletion>(std::move(completion));

    Backend* b = backend();
    std::weak_ptr<View> weak = view.weak_from_this();
    if (!b || weak.expired()) {
        // Nothing drives time here: the change lands at once.
        deliver(std::move(a.completion), true);
        return;
    }
    auto total = Millis(std::int64_t(std::ceil(delayMs + a.durationMs)));
    std::uint64_t id = a.id;
    auto done = a.completion;
    a.endTask = b->mainLoop().postAfter(total, [weak, id, done] {
        if (auto v = weak.lock()) {
            auto& list = v->animationState().running;
            list.erase(std::remove_if(list.begin(), list.end(), [id](const auto& r) { return r.id == id; }),
                       list.end());
        }
        if (*done) (*done)(true);
    });
    view.animationState().running.push_back(std::move(a));
}

}  // namespace

double animationProgress(const RunningAnimation& a, double nowMs) {
    if (nowMs < a.beginMs) return 0;
    if (a.durationMs <= 0) return 1;
    double t = std::clamp((nowMs - a.beginMs) / a.durationMs, 0.0, 1.0);
    return curveValue(a.curve, t);
}

void animateAlpha(View& view, double to, AnimationOptions options, AnimationCompletion completion) {
    to = std::clamp(to, 0.0, 1.0);
    RunningAnimation a;
    a.property = AnimatedProperty::Alpha;
    a.fromAlpha = view.presentationAlpha();
    a.toAlpha = to;
    interrupt(view.animationState(), AnimatedProperty::Alpha);
    view.setAlpha(to);
    start(view, std::move(a), options, std::move(completion));
}

void animateFrame(View& view, Rect to, AnimationOptions options, AnimationCompletion completion) {
    RunningAnimation a;
    a.property = AnimatedProperty::Frame;
    a.fromFrame = view.presentationFrame();
    a.toFrame = to;
    interrupt(view.animationState(), AnimatedProperty::Frame);
    view.setFrame(to);
    start(view, std::move(a), options, std::move(completion));
}

ViewAnimationState& View::animationState() { return *animations_; }

bool View::hasAnimations() const { return !animations_->running.empty(); }

void View::removeAllAnimations() {
    while (!animations_->running.empty()) interrupt(*animations_, animations_->running.front().property);
}

double View::presentationAlpha() const {
    const RunningAnimation* a = find(*animations_, AnimatedProperty::Alpha);
    if (!a) return alpha_;
    return lerp(a->fromAlpha, a->toAlpha, animationProgress(*a, animationClockMillis()));
}

Rect View::presentationFrame() const {
    const RunningAnimation* a = find(*animations_, AnimatedProperty::Frame);
    if (!a) return frame_;
    return lerp(a->fromFrame, a->toFrame, animationProgress(*a, animationClockMillis()));
}

}  // namespace platform::ui
