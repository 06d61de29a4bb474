#include "mesh2d/motion/MotionQueueManager.h"

#include "mesh2d/memory/MemoryParam.h"
#include "mesh2d/memory/fixed/MemoryHolderFixed.h"
#include "mesh2d/motion/AMotion.h"
#include "mesh2d/motion/MotionQueueEnt.h"
#include "mesh2d/util/UtDebug.h"
#include "mesh2d/util/UtTime.h"

namespace mesh2d {

MotionQueueManager::MotionQueueManager()
    : memoryHolderFixedMain_(new MemoryHolderFixed(0, "MotionQueueManager", PAGE_SIZE)) {
    if (memoryHolderFixedMain_) memoryParam_ = new MemoryParam(memoryHolderFixedMain_, nullptr);
    if (memoryParam_) motions_ = LD_NEW(memoryParam_) LDVector<MotionQueueEnt*>(memoryParam_);
}

MotionQueueManager::~MotionQueueManager() {
    stopAllMotions();
    delete motions_;
    delete memoryParam_;
    delete memoryHolderFixedMain_;
}

int MotionQueueManager::startMotion(AMotion* motion, bool autoDelete) {
    if (motions_ == nullptr) {
        if (autoDelete) delete motion;
        return -1;
    }
    const int64_t now = UtTime::getTimeMSec();
    for (MotionQueueEnt* entry : *motions_) {
        if (entry == nullptr) continue;
        entry->startFadeout(now);
        if (debug_) {
            UtDebug::dump("MotionQueueManager[size:%2d]->startMotion() / start fade out (m%d)\n", motions_->size(),
                          entry->getSerial());
        }
    }
    if (motion == nullptr) return -1;

    // Entries come and go for the whole session: they live in the tmp holder,
    // which takes them back, rather than in the manager's grow-only holder.
    auto* entry = new MotionQueueEnt(motion, autoDelete);
    if (entry == nullptr || !motions_->push_back(entry)) {
        UtDebug::error("MotionQueueManager#startMotion() : no memory for a queue entry");
        if (entry) delete entry;
        else if (autoDelete) delete motion;
        return -1;
    }
    if (debug_) {
        UtDebug::dump("MotionQueueManager[size:%2d]->startMotion() / L2D_NEW_TMP motion (m%d)\n", motions_->size(),
                      entry->getSerial());
    }
    return entry->getSerial();
}

void MotionQueueManager::removeEntry(int index) {
    delete (*motions_)[index];
    motions_->remove(index);
}

bool MotionQueueManager::updateParam(AMesh2DModel* model) {
    if (motions_ == nullptr) return false;
    bool updated = false;
    for (int i = 0; i < motions_->size();) {
        MotionQueueEnt* entry = (*motions_)[i];
        if (entry == nullptr || entry->getMotion() == nullptr) {
            removeEntry(i);
            continue;
        }
        entry->getMotion()->updateParam(model, entry);
        updated = true;
        if (entry->isFinished()) {
            if (debug_) {
                UtDebug::dump("MotionQueueManager[size:%2d]->updateParam() / finish motion (m%d)\n",
                              motions_->size() - 1, entry->getSerial());
            }
            removeEntry(i);
            continue;
        }
        ++i;
    }
    return updated;
}

bool MotionQueueManager::isFinished() {
    if (motions_ == nullptr) return true;
    for (int i = 0; i < motions_->size();) {
        MotionQueueEnt* entry = (*motions_)[i];
        if (entry == nullptr || entry->getMotion() == nullptr) {
            removeEntry(i);
            continue;
        }
        if (!entry->isFinished()) return false;
        ++i;
    }
    return true;
}

void MotionQueueManager::stopAllMotions() {
    if (motions_ == nullptr) return;
    for (int i = motions_->size() - 1; i >= 0; --i) delete (*motions_)[i];
    motions_->clear();
}

}  // namespace mesh2d
