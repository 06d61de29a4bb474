#pragma once
// A clock-driven blinker for the two eye parameters: open and waiting, closing,
// closed, opening, then a new random wait of up to twice the interval.
#include <cstdint>

#include "mesh2d/memory/LDObject.h"
#include "mesh2d/type/LDString.h"

namespace mesh2d {

class AMesh2DModel;

class EyeBlinkMotion : public LDObject {
public:
    enum EyeState {
        STATE_FIRST = 0,
        STATE_INTERVAL = 1,
        STATE_CLOSING = 2,
        STATE_CLOSED = 3,
        STATE_OPENING = 4,
    };
    // Values from 0 to RAND_MAX (2147483647 here); std::rand by default.
    using RandomSource = int (*)();

    EyeBlinkMotion();
    ~EyeBlinkMotion() override = default;

    // Advances the blinker to now and writes both eye parameters.
    void setParam(AMesh2DModel* model);

    // The next blink comes between now and now + 2 × interval − 1 ms.
    void setInterval(int blinkIntervalMsec) { blinkIntervalMsec_ = blinkIntervalMsec; }
    void setEyeMotion(int closingMsec, int closedMsec, int openingMsec);
    // Cleared: the eye parameters get the negated openness.
    void setCloseIfZero(bool closeIfZero) { closeIfZero_ = closeIfZero; }
    void setEyeParams(const char* leftParam, const char* rightParam);
    // Null restores std::rand.
    void setRandomSource(RandomSource random);

    int getState() const { return state_; }
    int64_t getNextBlinkTime() const { return nextBlinkTime_; }
    // A new wait from now (also what the first call and the end of opening do).
    int64_t calcNextBlink();

private:
    float advance(int64_t now);
    void enterState(int state, int64_t now) {
        state_ = state;
        stateStartTime_ = now;
    }

    int64_t nextBlinkTime_ = 0;
    int state_ = STATE_FIRST;
    int64_t stateStartTime_ = 0;
    bool closeIfZero_ = true;
    LDString eyeIdLeft_;
    LDString eyeIdRight_;
    int blinkIntervalMsec_ = 4000;
    int closingMotionMsec_ = 100;
    int closedMotionMsec_ = 50;
    int openingMotionMsec_ = 150;
    RandomSource random_;
};

}  // namespace mesh2d
