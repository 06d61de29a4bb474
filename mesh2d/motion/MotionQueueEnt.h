#pragma once
// One motion playing on a queue: its timing (start, fade-in start, end) and
// state. With auto-delete the entry owns its motion.
#include <cstdint>

#include "mesh2d/memory/LDObject.h"

namespace mesh2d {

class AMotion;

class MotionQueueEnt : public LDObject {
public:
    MotionQueueEnt(AMotion* motion, bool autoDelete);
    ~MotionQueueEnt() override;

    MotionQueueEnt(const MotionQueueEnt&) = delete;
    MotionQueueEnt& operator=(const MotionQueueEnt&) = delete;

    AMotion* getMotion() const { return motion_; }
    bool isAutoDelete() const { return autoDelete_; }
    int getSerial() const { return serial_; }

    bool isAvailable() const { return available_; }
    void setAvailable(bool available) { available_ = available; }
    bool isFinished() const { return finished_; }
    void setFinished(bool finished) { finished_ = finished; }
    bool isStarted() const { return started_; }
    void setStarted(bool started) { started_ = started; }

    int64_t getStartTimeMSec() const { return startTimeMSec_; }
    void setStartTimeMSec(int64_t t) { startTimeMSec_ = t; }
    int64_t getFadeInStartTimeMSec() const { return fadeInStartTimeMSec_; }
    void setFadeInStartTimeMSec(int64_t t) { fadeInStartTimeMSec_ = t; }
    // -1: no end yet.
    int64_t getEndTimeMSec() const { return endTimeMSec_; }
    void setEndTimeMSec(int64_t t) { endTimeMSec_ = t; }
    // The end becomes t + the motion's fade-out time, or stays where it was
    // when that is sooner.
    void startFadeout(int64_t nowMSec);

    int64_t getLastUpdateTimeMSec() const { return lastUpdateTimeMSec_; }
    void setLastUpdateTimeMSec(int64_t t) { lastUpdateTimeMSec_ = t; }
    float getLastWeight() const { return lastWeight_; }
    void setLastWeight(float w) { lastWeight_ = w; }

private:
    bool autoDelete_;
    AMotion* motion_;
    bool available_ = true;
    bool finished_ = false;
    bool started_ = false;
    int64_t startTimeMSec_ = -1;
    int64_t fadeInStartTimeMSec_ = 0;
    int64_t endTimeMSec_ = -1;
    int serial_;
    int64_t lastUpdateTimeMSec_ = 0;
    float lastWeight_ = 0.0f;
};

}  // namespace mesh2d
