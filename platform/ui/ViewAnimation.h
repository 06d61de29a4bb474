#pragma once
// View animations: a property moves from its on-screen value to a new value
// over a duration on the main loop's clock. The model value changes at once
// (reads of alpha()/frame() see the target), the screen follows the
// presentation value. When the animation ends its completion runs on the main
// loop with finished = true; when it is interrupted (a new animation of the
// same property of the same view, or removeAllAnimations) the completion
// still runs, with finished = false. Completions never run inside the call
// that started or interrupted them.
#include <functional>

#include "platform/ui/View.h"

namespace platform::ui {

enum class AnimationCurve { EaseInOut, EaseIn, EaseOut, Linear };

struct AnimationOptions {
    double duration = 0.2;  // seconds
    double delay = 0;       // seconds
    AnimationCurve curve = AnimationCurve::EaseInOut;
};

using AnimationCompletion = std::function<void(bool finished)>;

void animateAlpha(View& view, double to, AnimationOptions options, AnimationCompletion completion = {});
void animateFrame(View& view, Rect to, AnimationOptions options, AnimationCompletion completion = {});

// Milliseconds on the clock that animations run on (the installed backend's
// clock; a steady clock when none is installed).
double animationClockMillis();

}  // namespace platform::ui
