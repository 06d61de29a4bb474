#pragma once
// Base of every motion: the fade-in and fade-out weighting a queue entry gets
// each frame, and the hook through which a motion writes its parameters.
#include <cstdint>

#include "mesh2d/memory/LDObject.h"

namespace mesh2d {

class AMesh2DModel;
class MotionQueueEnt;

class AMotion : public LDObject {
public:
    AMotion() = default;
    ~AMotion() override = default;

    // -1: the motion has no end of its own (loops, or has no length).
    virtual int getDurationMSec() { return -1; }
    virtual int getLoopDurationMSec() { return -1; }
    // Writes the motion's parameters at time t with the entry's weight.
    virtual void updateParamExe(AMesh2DModel* model, int64_t timeMSec, float weight, MotionQueueEnt* entry) = 0;

    // One frame of an entry: starts it on its first call, weights it by its
    // fades and marks it finished once its end time has passed.
    void updateParam(AMesh2DModel* model, MotionQueueEnt* entry);

    // Negative fade times would make the curve run backwards; they become 0.
    void setFadeIn(int fadeInMsec) { fadeInMsec_ = fadeInMsec < 0 ? 0 : fadeInMsec; }
    void setFadeOut(int fadeOutMsec) { fadeOutMsec_ = fadeOutMsec < 0 ? 0 : fadeOutMsec; }
    int getFadeIn() const { return fadeInMsec_; }
    int getFadeOut() const { return fadeOutMsec_; }
    // Kept within [0, 1] (NaN becomes 0), so the frame weight always is too.
    void setWeight(float weight);
    float getWeight() const { return weight_; }
    // How far into the motion an entry starts.
    void setOffsetMSec(int offsetMsec) { offsetMsec_ = offsetMsec; }
    int getOffsetMSec() const { return offsetMsec_; }

    // The fade curve: 0 below 0, 1 above 1, a half cosine between.
    static float getEasing(float x);
    // The fade factor of `elapsedMSec` into a fade of `durationMSec`, taken as
    // float(int64 difference) / duration so absolute times never lose precision.
    static float getFade(int64_t elapsedMSec, int durationMSec);

protected:
    int fadeInMsec_ = 1000;
    int fadeOutMsec_ = 1000;
    float weight_ = 1.0f;
    int offsetMsec_ = 0;
};

}  // namespace mesh2d
