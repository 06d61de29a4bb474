#include "mesh2d/motion/Mesh2DMotion.h"

#include <algorithm>
#include <atomic>
#include <climits>

#include "mesh2d/AMesh2DModel.h"
#include "mesh2d/ModelContext.h"
#include "mesh2d/memory/MemoryParam.h"
#include "mesh2d/memory/fixed/MemoryHolderFixed.h"
#include "mesh2d/motion/Motion.h"
#include "mesh2d/motion/MotionQueueEnt.h"

namespace mesh2d {

namespace {

std::atomic<int> gMotionSerial{0};

// Frame positions beyond this are far past any motion's end; the index is
// held below INT_MAX so that the next frame's index still fits.
constexpr float kMaxFramePosition = 2.0e9f;

// Values of two neighbouring frames further apart than this share of the
// parameter's range are a cut, not a movement: no blending between them.
constexpr float kJumpRangeShare = 0.4f;

}  // namespace

Mesh2DMotion::Mesh2DMotion()
    : serial_(gMotionSerial.fetch_add(1, std::memory_order_relaxed)),
      memoryHolderFixedMain_(new MemoryHolderFixed(0, "Mesh2DMotion", PAGE_SIZE)) {
    if (memoryHolderFixedMain_) memoryParam_ = new MemoryParam(memoryHolderFixedMain_, nullptr);
    if (memoryParam_) motions_ = LD_NEW(memoryParam_) LDVector<Motion*>(memoryParam_);
}

Mesh2DMotion::~Mesh2DMotion() {
    if (motions_) {
        for (Motion* track : *motions_) delete track;
        delete motions_;
    }
    // The holder goes last: the tracks live in its pages.
    delete memoryParam_;
    delete memoryHolderFixedMain_;
}

const Motion* Mesh2DMotion::getTrack(int index) const {
    if (index < 0 || index >= getTrackCount()) return nullptr;
    return (*motions_)[index];
}

void Mesh2DMotion::updateParamExe(AMesh2DModel* model, int64_t timeMSec, float weight, MotionQueueEnt* entry) {
    if (entry == nullptr) return;
    const int64_t elapsed = std::max<int64_t>(0, timeMSec - entry->getStartTimeMSec());
    const float position = fps_ * static_cast<float>(elapsed) / 1000.0f;
    int frame = INT_MAX - 1;
    float fraction = 0.0f;
    if (position < kMaxFramePosition) {
        frame = static_cast<int>(position);
        fraction = position - static_cast<float>(frame);
    }

    // Factors for tracks that bring their own fade times.
    const int64_t end = entry->getEndTimeMSec();
    const float fadeIn = fadeInMsec_ == 0 ? 1.0f : getFade(timeMSec - entry->getFadeInStartTimeMSec(), fadeInMsec_);
    const float fadeOut = (fadeOutMsec_ == 0 || end < 0) ? 1.0f : getFade(end - timeMSec, fadeOutMsec_);

    if (model != nullptr && motions_ != nullptr) {
        for (Motion* track : *motions_) {
            if (track) applyTrack(model, *track, frame, fraction, weight, fadeIn, fadeOut, timeMSec, entry);
        }
    }

    if (frame >= maxLength_) {
        if (loop_) {
            entry->setStartTimeMSec(timeMSec);
            if (loopFadeIn_) entry->setFadeInStartTimeMSec(timeMSec);
        } else {
            entry->setFinished(true);
        }
    }
    lastWeight_ = weight;
}

void Mesh2DMotion::applyTrack(AMesh2DModel* model, Motion& track, int frame, float fraction, float weight,
                              float fadeIn, float fadeOut, int64_t t, MotionQueueEnt* entry) {
    const int type = track.getType();
    if (type != Motion::MOTION_TYPE_PARAM && type != Motion::MOTION_TYPE_VISIBLE) return;
    const LDVector<float>& values = track.values();
    const int n = values.size();
    if (n < 1) return;
    ModelContext* context = model->getModelContext();
    const int index = track.getParamIndex(model);
    if (context == nullptr || index < 0) return;

    float value = values[std::min(frame, n - 1)];
    if (type == Motion::MOTION_TYPE_VISIBLE) {
        context->setParamFloat(index, value);
        return;
    }

    const float next = values[std::min(frame + 1, n - 1)];
    const float range = (context->getParamMax(index) - context->getParamMin(index)) * kJumpRangeShare;
    if (!(next - value > range || value - next > range)) value += fraction * (next - value);

    const float current = context->getParamFloat(index);
    const int trackIn = track.getFadeInMsec();
    const int trackOut = track.getFadeOutMsec();
    if (trackIn == Motion::NO_FADE && trackOut == Motion::NO_FADE) {
        context->setParamFloat(index, current + weight * (value - current));
        return;
    }
    // A track with its own fades replaces the motion's fade of that side and
    // keeps only the motion's weight.
    float fi = fadeIn;
    if (trackIn == 0) fi = 1.0f;
    else if (trackIn != Motion::NO_FADE) fi = getFade(t - entry->getFadeInStartTimeMSec(), trackIn);
    float fo = fadeOut;
    const int64_t end = entry->getEndTimeMSec();
    if (trackOut != Motion::NO_FADE) fo = (trackOut == 0 || end < 0) ? 1.0f : getFade(end - t, trackOut);
    context->setParamFloat(index, current + fo * (fi * weight_) * (value - current));
}

}  // namespace mesh2d
