#include "mesh2d/motion/MotionQueueEnt.h"

#include <atomic>

#include "mesh2d/motion/AMotion.h"

namespace mesh2d {

namespace {
std::atomic<int> gEntrySerial{0};
}

MotionQueueEnt::MotionQueueEnt(AMotion* motion, bool autoDelete)
    : autoDelete_(autoDelete), motion_(motion), serial_(gEntrySerial.fetch_add(1, std::memory_order_relaxed)) {}

MotionQueueEnt::~MotionQueueEnt() {
    if (autoDelete_) delete motion_;
}

void MotionQueueEnt::startFadeout(int64_t nowMSec) {
    const int64_t fadeOutEnd = nowMSec + (motion_ ? motion_->getFadeOut() : 0);
    if (endTimeMSec_ == -1 || fadeOutEnd < endTimeMSec_) endTimeMSec_ = fadeOutEnd;
}

}  // namespace mesh2d
