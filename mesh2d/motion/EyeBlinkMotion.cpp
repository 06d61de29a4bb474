#include "mesh2d/motion/EyeBlinkMotion.h"

#include <cstdlib>

#include "mesh2d/AMesh2DModel.h"
#include "mesh2d/util/UtTime.h"

namespace mesh2d {

namespace {

// Progress through a phase as float(int64 difference) / duration; a phase of
// no length is over at once (rather than 0/0).
float phase(int64_t elapsedMSec, int durationMSec) {
    if (durationMSec <= 0) return 1.0f;
    return static_cast<float>(elapsedMSec) / static_cast<float>(durationMSec);
}

}  // namespace

EyeBlinkMotion::EyeBlinkMotion()
    : eyeIdLeft_("PARAM_EYE_L_OPEN"), eyeIdRight_("PARAM_EYE_R_OPEN"), random_(&std::rand) {}

void EyeBlinkMotion::setEyeMotion(int closingMsec, int closedMsec, int openingMsec) {
    closingMotionMsec_ = closingMsec;
    closedMotionMsec_ = closedMsec;
    openingMotionMsec_ = openingMsec;
}

void EyeBlinkMotion::setEyeParams(const char* leftParam, const char* rightParam) {
    if (leftParam) eyeIdLeft_ = leftParam;
    if (rightParam) eyeIdRight_ = rightParam;
}

void EyeBlinkMotion::setRandomSource(RandomSource random) { random_ = random ? random : &std::rand; }

int64_t EyeBlinkMotion::calcNextBlink() {
    const int64_t now = UtTime::getTimeMSec();
    const double r = static_cast<double>(random_()) / 2147483647.0;
    return static_cast<int64_t>(static_cast<double>(now) + r * (2.0 * blinkIntervalMsec_ - 1.0));
}

float EyeBlinkMotion::advance(int64_t now) {
    switch (state_) {
        case STATE_INTERVAL:
            if (nextBlinkTime_ < now) enterState(STATE_CLOSING, now);
            return 1.0f;
        case STATE_CLOSING: {
            float p = phase(now - stateStartTime_, closingMotionMsec_);
            if (p >= 1.0f) {
                enterState(STATE_CLOSED, now);
                p = 1.0f;
            }
            return 1.0f - p;
        }
        case STATE_CLOSED:
            if (phase(now - stateStartTime_, closedMotionMsec_) >= 1.0f) enterState(STATE_OPENING, now);
            return 0.0f;
        case STATE_OPENING: {
            const float p = phase(now - stateStartTime_, openingMotionMsec_);
            if (p < 1.0f) return p;
            break;  // fully open: a new wait begins
        }
        default:
            break;
    }
    state_ = STATE_INTERVAL;
    nextBlinkTime_ = calcNextBlink();
    return 1.0f;
}

void EyeBlinkMotion::setParam(AMesh2DModel* model) {
    if (model == nullptr) return;
    const float open = advance(UtTime::getTimeMSec());
    const float value = closeIfZero_ ? open : -open;
    model->setParamFloat(eyeIdLeft_.c_str(), value, 1.0f);
    model->setParamFloat(eyeIdRight_.c_str(), value, 1.0f);
}

}  // namespace mesh2d
