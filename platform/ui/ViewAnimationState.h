#pragma once
// The running animations of one view (internal to the UI library).
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/MainLoop.h"
#include "platform/ui/ViewAnimation.h"

namespace platform::ui {

enum class AnimatedProperty { Alpha, Frame };

struct RunningAnimation {
    std::uint64_t id = 0;
    AnimatedProperty property = AnimatedProperty::Alpha;
    double fromAlpha = 0, toAlpha = 0;
    Rect fromFrame, toFrame;
    double beginMs = 0;  // start time plus delay
    double durationMs = 0;
    AnimationCurve curve = AnimationCurve::Linear;
    MainLoop::TaskId endTask = 0;
    std::shared_ptr<AnimationCompletion> completion;
};

struct ViewAnimationState {
    std::vector<RunningAnimation> running;
};

// Progress 0..1 of an animation at the given time, after its curve.
double animationProgress(const RunningAnimation& a, double nowMs);

}  // namespace platform::ui
