// libFuzzer target for motion files: the parser on arbitrary bytes, then the
// motion played on a queue (with a second motion fading it out) and the eye
// blinker on a small model at times taken from the input. The first byte
// chooses loop and timing options; the rest is the motion text. A broken
// weight stops the process through the runtime's assertion; a broken count
// or a leaked object through abort().
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "mesh2d/AMesh2DModel.h"
#include "mesh2d/Mesh2D.h"
#include "mesh2d/ModelContext.h"
#include "mesh2d/id/ParamID.h"
#include "mesh2d/memory/LDObject.h"
#include "mesh2d/motion/EyeBlinkMotion.h"
#include "mesh2d/motion/Mesh2DMotion.h"
#include "mesh2d/motion/Motion.h"
#include "mesh2d/motion/MotionQueueManager.h"
#include "mesh2d/util/UtTime.h"

namespace {

using namespace mesh2d;

AMesh2DModel* gModel = nullptr;

void check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "motion fuzzer: %s\n", what);
    std::abort();
}

// Names that motion files in the seeds drive, on narrow and wide ranges so
// that the jump rule sees both.
void addParams(ModelContext* context) {
    context->addParam(ParamID::getID("PARAM_A"), 0.0f, 0.0f, 1.0f);
    context->addParam(ParamID::getID("PARAM_B"), 0.0f, -30.0f, 30.0f);
    context->addParam(ParamID::getID("PARAM_EYE_L_OPEN"), 1.0f, 0.0f, 1.0f);
}

void checkParsed(Mesh2DMotion* m) {
    check(m->getDurationMSec() >= 0, "negative duration");
    int longest = 0;
    for (int i = 0; i < m->getTrackCount(); ++i) {
        const Motion* track = m->getTrack(i);
        check(track != nullptr && track->getValueCount() > 0, "track without values");
        check(track->getType() != Motion::MOTION_TYPE_FADEIN && track->getType() != Motion::MOTION_TYPE_FADEOUT,
              "fade-setting track kept");
        if (track->getValueCount() > longest) longest = track->getValueCount();
    }
    check(longest <= m->getFrameCount(), "frame count below a track's length");
    check(m->getFPS() > 5.0f && m->getFPS() < 121.0f, "frame rate out of range");
    check(m->getFadeIn() >= 0 && m->getFadeOut() >= 0, "negative fade");
}

void play(const uint8_t* data, size_t size, uint8_t options) {
    const int64_t base = 1'700'000'000'000 + (options & 0x07) * 999;
    const int step = 1 + (options >> 3) * 7;  // 1 .. 218 ms between frames

    Mesh2DMotion* first = Mesh2DMotion::loadMotion(data, static_cast<int>(size));
    Mesh2DMotion* second = Mesh2DMotion::loadMotion(data, static_cast<int>(size));
    check(first != nullptr && second != nullptr, "no motion");
    checkParsed(first);
    first->setLoop((options & 0x08) != 0);
    first->setOffsetMSec((options & 0x10) ? 37 : 0);

    MotionQueueManager* queue = new MotionQueueManager();
    EyeBlinkMotion* blink = new EyeBlinkMotion();
    UtTime::setUserTimeMSec(base);
    queue->startMotion(first, true);
    for (int frame = 0; frame < 40; ++frame) {
        UtTime::setUserTimeMSec(base + static_cast<int64_t>(frame) * step);
        if (frame == 20) queue->startMotion(second, false);
        queue->updateParam(gModel);
        blink->setParam(gModel);
        queue->isFinished();
    }
    queue->stopAllMotions();
    check(queue->isFinished(), "entries left after stopping");
    delete blink;
    delete queue;
    delete second;
}

}  // namespace

// The runtime is started and ended around every input: IDs a file names are
// interned process-wide, and only a full dispose shows that nothing else of
// the run is left behind.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const int before = LDObject::getInstanceCount();
    Mesh2D::init();
    gModel = new AMesh2DModel();
    gModel->init();
    addParams(gModel->getModelContext());
    play(data + 1, size - 1, data[0]);
    delete gModel;
    gModel = nullptr;
    Mesh2D::dispose();
    check(LDObject::getInstanceCount() == before, "objects leaked");
    return 0;
}
