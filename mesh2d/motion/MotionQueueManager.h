#pragma once
// Plays motions one after another on one model: starting a motion fades out
// the running ones, and finished entries are dropped on the next update.
// Later entries are applied after earlier ones, so the newest motion wins
// where they overlap while the older ones fade out.
#include "mesh2d/memory/LDObject.h"
#include "mesh2d/type/LDVector.h"

namespace mesh2d {

class AMesh2DModel;
class AMemoryHolder;
class AMotion;
class MemoryParam;
class MotionQueueEnt;

class MotionQueueManager : public LDObject {
public:
    static constexpr int PAGE_SIZE = 2048;

    MotionQueueManager();
    ~MotionQueueManager() override;

    MotionQueueManager(const MotionQueueManager&) = delete;
    MotionQueueManager& operator=(const MotionQueueManager&) = delete;

    // Fades out every running entry, then queues the motion; the serial
    // number of the new entry, or -1 for a null motion (or no memory). With
    // autoDelete the queue deletes the motion with its entry.
    int startMotion(AMotion* motion, bool autoDelete);
    // Applies every entry to the model; true when at least one was applied.
    bool updateParam(AMesh2DModel* model);
    // True when no entry is still running (also for an empty queue).
    bool isFinished();
    // Deletes every entry (and the motions they own).
    void stopAllMotions();

    void setMotionDebugMode(bool debug) { debug_ = debug; }
    bool isMotionDebugMode() const { return debug_; }

private:
    void removeEntry(int index);

    LDVector<MotionQueueEnt*>* motions_ = nullptr;
    bool debug_ = false;
    MemoryParam* memoryParam_ = nullptr;
    AMemoryHolder* memoryHolderFixedMain_ = nullptr;
};

}  // namespace mesh2d
