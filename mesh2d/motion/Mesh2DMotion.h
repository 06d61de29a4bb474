#pragma once
// A keyframe motion read from a motion file: per-parameter tracks sampled at a
// fixed frame rate, played with the fades of AMotion. Tracks live in the
// motion's own fixed holder and die with it.
#include <cstdint>

#include "mesh2d/motion/AMotion.h"
#include "mesh2d/type/LDVector.h"

namespace mesh2d {

class AMemoryHolder;
class MemoryParam;
class Motion;

class Mesh2DMotion : public AMotion {
public:
    static constexpr int PAGE_SIZE = 8192;
    static constexpr float DEFAULT_FPS = 30.0f;

    Mesh2DMotion();
    ~Mesh2DMotion() override;

    Mesh2DMotion(const Mesh2DMotion&) = delete;
    Mesh2DMotion& operator=(const Mesh2DMotion&) = delete;

    // A new motion (in the tmp holder) from the bytes of a motion file.
    // Malformed text never fails: what cannot be read is skipped. Null only
    // when no memory is left for the motion object itself.
    static Mesh2DMotion* loadMotion(const void* buf, int bufSize);

    int getDurationMSec() override { return loop_ ? -1 : durationMSec_; }
    int getLoopDurationMSec() override { return durationMSec_; }
    void updateParamExe(AMesh2DModel* model, int64_t timeMSec, float weight, MotionQueueEnt* entry) override;

    void setLoop(bool loop) { loop_ = loop; }
    bool isLoop() const { return loop_; }
    // Whether a loop restart fades in again.
    void setLoopFadeIn(bool loopFadeIn) { loopFadeIn_ = loopFadeIn; }
    bool isLoopFadeIn() const { return loopFadeIn_; }

    float getFPS() const { return fps_; }
    int getFrameCount() const { return maxLength_; }
    int getSerial() const { return serial_; }
    float getLastWeight() const { return lastWeight_; }
    int getTrackCount() const { return motions_ ? motions_->size() : 0; }
    // Null outside [0, getTrackCount()).
    const Motion* getTrack(int index) const;

private:
    friend class MotionFileParser;

    // Tracks come from here; false when the holder could not be made.
    MemoryParam* getMemoryParam() const { return memoryParam_; }
    void applyTrack(AMesh2DModel* model, Motion& track, int frame, float fraction, float weight, float fadeIn,
                    float fadeOut, int64_t t, MotionQueueEnt* entry);

    LDVector<Motion*>* motions_ = nullptr;
    float fps_ = DEFAULT_FPS;
    int maxLength_ = 0;
    int durationMSec_ = -1;
    bool loop_ = false;
    bool loopFadeIn_ = true;
    int serial_;
    float lastWeight_ = 0.0f;
    MemoryParam* memoryParam_ = nullptr;
    AMemoryHolder* memoryHolderFixedMain_ = nullptr;
};

}  // namespace mesh2d
