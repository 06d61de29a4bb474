#include "mesh2d/motion/AMotion.h"

#include <cmath>

#include "mesh2d/motion/MotionQueueEnt.h"
#include "mesh2d/util/UtDebug.h"
#include "mesh2d/util/UtTime.h"

namespace mesh2d {

float AMotion::getEasing(float x) {
    // NaN lands in the first branch: a broken fraction fades to nothing.
    if (!(x >= 0.0f)) return 0.0f;
    if (x > 1.0f) return 1.0f;
    const float angle = x * 3.1415f;
    return static_cast<float>(0.5 - 0.5 * std::cos(static_cast<double>(angle)));
}

float AMotion::getFade(int64_t elapsedMSec, int durationMSec) {
    return getEasing(static_cast<float>(elapsedMSec) / static_cast<float>(durationMSec));
}

void AMotion::setWeight(float weight) {
    if (!(weight >= 0.0f)) weight = 0.0f;
    if (weight > 1.0f) weight = 1.0f;
    weight_ = weight;
}

void AMotion::updateParam(AMesh2DModel* model, MotionQueueEnt* entry) {
    if (entry == nullptr || !entry->isAvailable() || entry->isFinished()) return;

    const int64_t t = UtTime::getTimeMSec();
    if (!entry->isStarted()) {
        entry->setStarted(true);
        entry->setStartTimeMSec(t - offsetMsec_);
        entry->setFadeInStartTimeMSec(t);
        if (entry->getEndTimeMSec() == -1) {
            const int duration = getDurationMSec();
            entry->setEndTimeMSec(duration < 1 ? -1 : entry->getStartTimeMSec() + duration);
        }
    }

    const float fadeIn = fadeInMsec_ == 0 ? 1.0f : getFade(t - entry->getFadeInStartTimeMSec(), fadeInMsec_);
    const int64_t end = entry->getEndTimeMSec();
    const float fadeOut = (fadeOutMsec_ == 0 || end < 0) ? 1.0f : getFade(end - t, fadeOutMsec_);
    const float weight = weight_ * fadeIn * fadeOut;
    // The weight and both factors are kept within [0, 1] above; this holds
    // whatever a motion file says.
    LD_ASSERT(0.0f <= weight && weight <= 1.0f);

    entry->setLastUpdateTimeMSec(t);
    entry->setLastWeight(weight);
    updateParamExe(model, t, weight, entry);

    const int64_t endNow = entry->getEndTimeMSec();
    if (endNow > 0 && endNow < t) entry->setFinished(true);
}

}  // namespace mesh2d
