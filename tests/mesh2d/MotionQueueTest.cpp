// The motion queue: starting fades out what runs, finished entries go, the
// newest motion wins where motions overlap, ownership of motions, debug lines.
#include <string>

#include "MotionTestSupport.h"
#include "mesh2d/memory/LDObject.h"
#include "mesh2d/motion/MotionQueueManager.h"

namespace mesh2d::motiontest {
namespace {

class MotionQueueTest : public MotionTest {
protected:
    // Runs one queue call with the debug lines captured.
    template <typename F>
    std::string debugOutput(F&& call) {
        ::testing::internal::CaptureStdout();
        call();
        return ::testing::internal::GetCapturedStdout();
    }
    static std::string line(const char* format, int size, int serial) {
        char buf[160];
        std::snprintf(buf, sizeof buf, format, size, serial);
        return buf;
    }
    // Made once the runtime is up: its holder comes from the runtime's memory.
    void SetUp() override {
        MotionTest::SetUp();
        queue_ = new MotionQueueManager();
    }
    void TearDown() override {
        delete queue_;
        MotionTest::TearDown();
    }
    MotionQueueManager* queue_ = nullptr;
};

TEST_F(MotionQueueTest, EmptyQueueIsFinished) {
    EXPECT_TRUE(queue_->isFinished());
    loadModel();
    EXPECT_FALSE(queue_->updateParam(model_));
}

TEST_F(MotionQueueTest, EmptyFileFinishesOnItsFirstUpdate) {
    loadModel();
    ASSERT_GE(queue_->startMotion(Mesh2DMotion::loadMotion("", 0), true), 0);
    EXPECT_FALSE(queue_->isFinished());
    EXPECT_TRUE(queue_->updateParam(model_));
    EXPECT_TRUE(queue_->isFinished());
    EXPECT_FALSE(queue_->updateParam(model_));  // the entry is gone
}

TEST_F(MotionQueueTest, SecondMotionFadesOutALoopingFirst) {
    loadModel();
    queue_->setMotionDebugMode(true);
    Mesh2DMotion* first = motion("$fadein=0\nPARAM_A=1,1,1\n");  // fade-out 1000 ms
    first->setLoop(true);
    Mesh2DMotion* second = motion("$fadein=0\nPARAM_B=1,1,1,1,1,1,1,1,1,1\n");
    second->setLoop(true);

    int firstSerial = -1;
    std::string out = debugOutput([&] { firstSerial = queue_->startMotion(first, false); });
    EXPECT_EQ(out, line("MotionQueueManager[size:%2d]->startMotion() / L2D_NEW_TMP motion (m%d)\n", 1, firstSerial));
    for (int t = 0; t <= 500; t += 100) {
        at(t);
        queue_->updateParam(model_);
    }
    int secondSerial = -1;
    out = debugOutput([&] { secondSerial = queue_->startMotion(second, false); });
    EXPECT_EQ(out, line("MotionQueueManager[size:%2d]->startMotion() / start fade out (m%d)\n", 1, firstSerial) +
                       line("MotionQueueManager[size:%2d]->startMotion() / L2D_NEW_TMP motion (m%d)\n", 2,
                            secondSerial));
    EXPECT_GT(secondSerial, firstSerial);

    // The first fades out over its 1000 ms fade-out and goes just after.
    for (int t : {600, 1000, 1500}) {
        at(t);
        EXPECT_EQ(debugOutput([&] { queue_->updateParam(model_); }), "") << t;
    }
    at(1501);
    EXPECT_EQ(debugOutput([&] { queue_->updateParam(model_); }),
              line("MotionQueueManager[size:%2d]->updateParam() / finish motion (m%d)\n", 1, firstSerial));
    EXPECT_FALSE(queue_->isFinished());  // the second loops on
}

TEST_F(MotionQueueTest, FadeOutNeverExtendsAnEarlierEnd) {
    loadModel();
    queue_->setMotionDebugMode(true);
    Mesh2DMotion* first = motion("$fadein=0\nPARAM_A=1,1,1\n");  // fade-out 1000 ms
    first->setLoop(true);
    const int firstSerial = queue_->startMotion(first, false);
    queue_->updateParam(model_);
    std::string longer = "$fadein=0\nPARAM_B=";
    for (int i = 0; i < 200; ++i) longer += "1,";
    queue_->startMotion(motion(longer), false);  // the first now ends at 1000
    at(500);
    queue_->startMotion(motion(longer), false);  // 1500 would be later: 1000 stays
    at(1000);
    EXPECT_EQ(debugOutput([&] { queue_->updateParam(model_); }), "");
    at(1001);
    EXPECT_EQ(debugOutput([&] { queue_->updateParam(model_); }),
              line("MotionQueueManager[size:%2d]->updateParam() / finish motion (m%d)\n", 2, firstSerial));
}

TEST_F(MotionQueueTest, NewestMotionWinsWhereMotionsOverlap) {
    loadModel();
    Mesh2DMotion* older = motion("$fadein=0\n$fadeout=300\nPARAM_A=1,1,1,1,1,1\n");
    older->setLoop(true);
    queue_->startMotion(older, false);
    queue_->updateParam(model_);
    EXPECT_FLOAT_EQ(param("PARAM_A"), 1.0f);
    queue_->startMotion(motion("$fadein=0\n$fadeout=0\nPARAM_A=5,5,5,5,5,5\n"), false);
    queue_->updateParam(model_);
    EXPECT_FLOAT_EQ(param("PARAM_A"), 5.0f);
}

TEST_F(MotionQueueTest, NullMotionIsRefusedButStillFadesOutTheRunningOnes) {
    loadModel();
    queue_->setMotionDebugMode(true);
    const int serial = queue_->startMotion(motion("$fadein=0\n$fadeout=0\nPARAM_A=1,1,1,1,1,1\n"), false);
    queue_->updateParam(model_);
    std::string out;
    int result = 0;
    out = debugOutput([&] { result = queue_->startMotion(nullptr, true); });
    EXPECT_EQ(result, -1);
    EXPECT_EQ(out, line("MotionQueueManager[size:%2d]->startMotion() / start fade out (m%d)\n", 1, serial));
    at(1);
    queue_->updateParam(model_);
    EXPECT_TRUE(queue_->isFinished());
}

TEST_F(MotionQueueTest, AutoDeleteDecidesWhoReleasesTheMotion) {
    const int before = LDObject::getInstanceCount();
    {
        MotionQueueManager queue;
        queue.startMotion(Mesh2DMotion::loadMotion("PARAM_A=1\n", 10), true);
        queue.stopAllMotions();
        EXPECT_TRUE(queue.isFinished());
    }
    EXPECT_EQ(LDObject::getInstanceCount(), before);

    Mesh2DMotion* kept = Mesh2DMotion::loadMotion("PARAM_A=1,2,3\n", 14);
    {
        MotionQueueManager queue;
        queue.startMotion(kept, false);
        queue.startMotion(Mesh2DMotion::loadMotion("PARAM_B=1\n", 10), true);
    }  // the queue's destructor stops everything
    EXPECT_EQ(kept->getDurationMSec(), 100);  // still alive
    delete kept;
    EXPECT_EQ(LDObject::getInstanceCount(), before);
}

TEST_F(MotionQueueTest, FinishedEntriesAreReleasedDuringUpdates) {
    loadModel();
    const int before = LDObject::getInstanceCount();
    for (int i = 0; i < 200; ++i) {
        at(i * 10);
        queue_->startMotion(Mesh2DMotion::loadMotion("", 0), true);
        queue_->updateParam(model_);
    }
    EXPECT_TRUE(queue_->isFinished());
    EXPECT_EQ(LDObject::getInstanceCount(), before);
}

}  // namespace
}  // namespace mesh2d::motiontest
