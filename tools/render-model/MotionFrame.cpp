#include "tools/render-model/MotionFrame.h"

#include "mesh2d/AMesh2DModel.h"
#include "mesh2d/motion/Mesh2DMotion.h"
#include "mesh2d/motion/MotionQueueManager.h"
#include "mesh2d/util/UtTime.h"

namespace rendermodel {

namespace {

// Restores the runtime clock when the frame is done.
class ClockRestore {
public:
    ClockRestore() : wasSet_(mesh2d::UtTime::hasUserTimeMSec()), time_(mesh2d::UtTime::getTimeMSec()) {}
    ~ClockRestore() {
        if (wasSet_) mesh2d::UtTime::setUserTimeMSec(time_);
        else mesh2d::UtTime::clearUserTimeMSec();
    }
    ClockRestore(const ClockRestore&) = delete;
    ClockRestore& operator=(const ClockRestore&) = delete;

private:
    bool wasSet_;
    int64_t time_;
};

}  // namespace

bool applyMotionFrame(mesh2d::AMesh2DModel* model, const std::vector<std::uint8_t>& motionBytes, int64_t atMSec) {
    if (model == nullptr) return false;
    mesh2d::Mesh2DMotion* motion =
        mesh2d::Mesh2DMotion::loadMotion(motionBytes.data(), static_cast<int>(motionBytes.size()));
    auto* queue = new mesh2d::MotionQueueManager();
    if (motion == nullptr || queue == nullptr) {
        delete motion;
        delete queue;
        return false;
    }
    {
        ClockRestore restore;
        mesh2d::UtTime::setUserTimeMSec(0);
        queue->startMotion(motion, true);
        queue->updateParam(model);
        mesh2d::UtTime::setUserTimeMSec(atMSec);
        queue->updateParam(model);
    }
    delete queue;  // and the motion with its entry
    return true;
}

}  // namespace rendermodel
