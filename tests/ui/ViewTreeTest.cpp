// The view tree: z-order, tags, coordinates, hit testing, the geometry
// shortcuts and autoresizing.
#include <gtest/gtest.h>

#include "platform/ui/ImageView.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"

using namespace platform::ui;

namespace {

ViewPtr make(Rect frame, int tag) {
    auto v = std::make_shared<View>(frame);
    v->setTag(tag);
    return v;
}

std::vector<int> tags(const View& v) {
    std::vector<int> out;
    for (auto& s : v.subviews()) out.push_back(s->tag());
    return out;
}

}  // namespace

TEST(ViewTree, InsertAtIndexReorderAndMoveBetweenParents) {
    auto root = make({0, 0, 100, 100}, 1);
    auto a = make({}, 10), b = make({}, 11), c = make({}, 12);
    root->addSubview(a);
    root->addSubview(b);
    root->insertSubview(c, 1);
    EXPECT_EQ(tags(*root), (std::vector<int>{10, 12, 11}));
    root->insertSubview(make({}, 13), 99);  // past the end: frontmost
    EXPECT_EQ(tags(*root).back(), 13);
    root->bringSubviewToFront(a.get());
    root->sendSubviewToBack(b.get());
    EXPECT_EQ(tags(*root), (std::vector<int>{11, 12, 13, 10}));

    // Adding to another parent takes the view out of the first one.
    auto other = make({}, 2);
    other->addSubview(a);
    EXPECT_EQ(a->superview(), other.get());
    EXPECT_EQ(tags(*root), (std::vector<int>{11, 12, 13}));
    // Re-adding to the same parent moves it to the front instead of duplicating.
    root->addSubview(b);
    EXPECT_EQ(tags(*root), (std::vector<int>{12, 13, 11}));
}

TEST(ViewTree, RefusesCyclesAndSurvivesRemovalOfTheLastReference) {
    auto root = make({}, 1);
    auto child = make({}, 2);
    root->addSubview(child);
    child->addSubview(root);  // would make a cycle
    EXPECT_EQ(root->superview(), nullptr);
    EXPECT_TRUE(child->subviews().empty());

    View* raw = child.get();
    child.reset();  // only the parent holds it now
    raw->removeFromSuperview();
    EXPECT_TRUE(root->subviews().empty());
}

TEST(ViewTree, ViewsNotOwnedBySharedPointersStillWork) {
    View parent({0, 0, 10, 10});
    auto child = std::make_shared<View>();
    parent.addSubview(child);
    View loose;
    loose.removeFromSuperview();  // no superview, no owner: nothing happens
    child->removeFromSuperview();
    EXPECT_TRUE(parent.subviews().empty());
}

TEST(ViewTree, ViewWithTagSearchesDepthFirstIncludingItself) {
    auto root = make({}, 99);
    auto panel = make({}, 1000);
    auto deep = make({}, 1003);
    panel->addSubview(deep);
    root->addSubview(make({}, 5));
    root->addSubview(panel);
    EXPECT_EQ(root->viewWithTag(99), root.get());
    EXPECT_EQ(root->viewWithTag(1003), deep.get());
    EXPECT_EQ(root->viewWithTag(7), nullptr);
}

TEST(ViewTree, ConvertsPointsBetweenNestedViews) {
    auto root = make({0, 0, 320, 568}, 0);
    auto contents = make({10, 20, 300, 500}, 99);
    auto inner = make({5, 7, 50, 50}, 1);
    root->addSubview(contents);
    contents->addSubview(inner);
    EXPECT_EQ(inner->convertPoint({1, 1}, nullptr), (Point{16, 28}));
    EXPECT_EQ(inner->convertPoint({1, 1}, contents.get()), (Point{6, 8}));
    EXPECT_EQ(root->convertPoint({16, 28}, inner.get()), (Point{1, 1}));
}

TEST(ViewTree, GeometryShortcutsSetAndAddAsNamed) {
    struct Case {
        const char* name;
        void (*apply)(View&);
        Rect expected;
    } cases[] = {
        {"moveBy sets the origin", [](View& v) { v.moveBy({10, 20}); }, {10, 20, 30, 40}},
        {"moveTo adds to the origin", [](View& v) { v.moveTo({10, 20}); }, {15, 25, 30, 40}},
        {"sizeBy sets the size", [](View& v) { v.sizeBy({7, 8}); }, {5, 5, 7, 8}},
        {"sizeTo adds to the size", [](View& v) { v.sizeTo({7, 8}); }, {5, 5, 37, 48}},
    };
    for (const auto& c : cases) {
        View v({5, 5, 30, 40});
        c.apply(v);
        EXPECT_EQ(v.frame(), c.expected) << c.name;
    }
}

TEST(ViewTree, HitTestSkipsHiddenTransparentAndInertViews) {
    auto window = std::make_shared<Window>(Rect{0, 0, 320, 480});
    auto back = make({0, 0, 320, 480}, 1);
    auto front = make({0, 0, 100, 100}, 2);
    window->addSubview(back);
    window->addSubview(front);

    struct Case {
        const char* name;
        void (*setup)(View& front);
        int expectedTag;
    } cases[] = {
        {"frontmost wins", [](View&) {}, 2},
        {"hidden is skipped", [](View& f) { f.setHidden(true); }, 1},
        {"nearly transparent is skipped", [](View& f) { f.setAlpha(0.005); }, 1},
        {"non-interactive is skipped", [](View& f) { f.setUserInteractionEnabled(false); }, 1},
    };
    for (const auto& c : cases) {
        front->setHidden(false);
        front->setAlpha(1);
        front->setUserInteractionEnabled(true);
        c.setup(*front);
        View* hit = window->hitTest({50, 50});
        ASSERT_NE(hit, nullptr) << c.name;
        EXPECT_EQ(hit->tag(), c.expectedTag) << c.name;
    }
    // Outside the front view's frame the back view is hit; outside the window nothing.
    EXPECT_EQ(window->hitTest({150, 150})->tag(), 1);
    EXPECT_EQ(window->hitTest({320, 10}), nullptr);  // the far edge lies outside
}

TEST(ViewTree, ImageViewsTakeNoTouchesUntilAllowed) {
    auto window = std::make_shared<Window>(Rect{0, 0, 320, 480});
    auto title = std::make_shared<ImageView>(Rect{0, 0, 320, 480});
    title->setTag(100);
    window->addSubview(title);
    EXPECT_EQ(window->hitTest({10, 10}), window.get());
    title->setUserInteractionEnabled(true);
    EXPECT_EQ(window->hitTest({10, 10})->tag(), 100);
}

TEST(ViewTree, AutoresizingFollowsTheSuperviewsSize) {
    auto parent = make({0, 0, 320, 480}, 0);
    auto all = make({0, 0, 320, 427}, 1);
    all->setAutoresizingMask(63);  // every flexible part
    auto fixed = make({10, 10, 20, 20}, 2);
    auto stretch = make({0, 0, 320, 50}, 3);
    stretch->setAutoresizingMask(AutoresizingFlexibleWidth);
    auto margins = make({140, 100, 40, 40}, 4);
    margins->setAutoresizingMask(45);  // four flexible margins: stays centred
    for (auto& v : {all, fixed, stretch, margins}) parent->addSubview(v);

    parent->setFrame({0, 0, 640, 960});
    EXPECT_EQ(fixed->frame(), (Rect{10, 10, 20, 20}));
    EXPECT_EQ(stretch->frame(), (Rect{0, 0, 640, 50}));
    EXPECT_DOUBLE_EQ(margins->frame().center().x, 320);
    EXPECT_EQ(margins->frame().size, (Size{40, 40}));
    EXPECT_EQ(all->frame().width(), 640);
    EXPECT_NEAR(all->frame().height(), 427 * 2, 1e-9);
}
