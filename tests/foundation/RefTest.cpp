#include "foundation/Ref.h"

#include <gtest/gtest.h>

namespace {

class Counted : public RK::Ref {
public:
    explicit Counted(int* destroyed) : destroyed_(destroyed) {}

protected:
    ~Counted() override { ++*destroyed_; }

private:
    int* destroyed_;
};

TEST(Ref, LastReleaseDeletesExactlyOnce) {
    int destroyed = 0;
    auto* object = new Counted(&destroyed);
    EXPECT_EQ(object->refCount(), 1);
    object->retain();
    EXPECT_EQ(object->refCount(), 2);
    object->release();
    EXPECT_EQ(destroyed, 0);
    EXPECT_EQ(object->refCount(), 1);
    object->release();
    EXPECT_EQ(destroyed, 1);
}

TEST(RefPtr, CopiesShareOneObjectAndTheLastOneReleasesIt) {
    int destroyed = 0;
    {
        auto first = RK::RefPtr<Counted>::adopt(new Counted(&destroyed));
        EXPECT_EQ(first->refCount(), 1);
        {
            RK::RefPtr<Counted> copy = first;
            EXPECT_EQ(first->refCount(), 2);
            RK::RefPtr<Counted> moved = std::move(copy);
            EXPECT_FALSE(copy);
            EXPECT_EQ(moved->refCount(), 2);
        }
        EXPECT_EQ(first->refCount(), 1);
        EXPECT_EQ(destroyed, 0);
    }
    EXPECT_EQ(destroyed, 1);
}

TEST(RefPtr, RetainOfKeepsTheCallersReferenceAndLeakHandsItBack) {
    int destroyed = 0;
    auto* object = new Counted(&destroyed);
    {
        auto held = RK::RefPtr<Counted>::retainOf(object);
        EXPECT_EQ(object->refCount(), 2);
    }
    EXPECT_EQ(object->refCount(), 1);
    auto owner = RK::RefPtr<Counted>::adopt(object);
    Counted* raw = owner.leak();
    EXPECT_FALSE(owner);
    EXPECT_EQ(destroyed, 0);
    raw->release();
    EXPECT_EQ(destroyed, 1);
}

}  // namespace
