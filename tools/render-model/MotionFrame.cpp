#include "tools/render-model/MotionFrame.h"

#include "live2d/ALive2DModel.h"
#include "live2d/motion/Live2DMotion.h"
#include "live2d/motion/MotionQueueManager.h"
#include "live2d/util/UtTime.h"

namespace rendermodel {

namespace {

// Restores the runtime clock when the frame is done.
class ClockRestore {
public:
    ClockRestore() : wasSet_(live2d::UtTime::hasUserTimeMSec()), time_(live2d::UtTime::getTimeMSec()) {}
    ~ClockRestore() {
        if (wasSet_) live2d::UtTime::setUserTimeMSec(time_);
        else live2d::UtTime::clearUserTimeMSec();
    }
    ClockRestore(const ClockRestore&) = delete;
    ClockRestore& operator=(const ClockRestore&) = delete;

private:
    bool wasSet_;
    int64_t time_;
};

}  // namespace

bool applyMotionFrame(live2d::ALive2DModel* model, const std::vector<std::uint8_t>& motionBytes, int64_t atMSec) {
    if (model == nullptr) return false;
    live2d::Live2DMotion* motion =
        live2d::Live2DMotion::loadMotion(motionBytes.data(), static_cast<int>(motionBytes.size()));
    auto* queue = new live2d::MotionQueueManager();
    if (motion == nullptr || queue == nullptr) {
        delete motion;
        delete queue;
        return false;
    }
    {
        ClockRestore restore;
        live2d::UtTime::setUserTimeMSec(0);
        queue->startMotion(motion, true);
        queue->updateParam(model);
        live2d::UtTime::setUserTimeMSec(atMSec);
        queue->updateParam(model);
    }
    delete queue;  // and the motion with its entry
    return true;
}

}  // namespace rendermodel
