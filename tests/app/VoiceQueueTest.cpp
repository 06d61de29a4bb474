// The voice queue's text: one item at a time from the front, malformed items
// removed without reading past their fields.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/VoiceQueue.h"

namespace app {
namespace {

struct ItemCase {
    const char* queue;
    bool valid;
    const char* name;
    long long delay;
    std::optional<int> ducking;
    const char* rest;
};

class VoiceQueueItems : public ::testing::TestWithParam<ItemCase> {};

TEST_P(VoiceQueueItems, TakesTheFrontItem) {
    const ItemCase& c = GetParam();
    std::string queue = c.queue;
    const std::optional<VoiceItem> item = takeVoiceItem(queue);
    EXPECT_EQ(queue, c.rest);
    ASSERT_EQ(item.has_value(), c.valid);
    if (!item) return;
    EXPECT_EQ(item->name, c.name);
    EXPECT_EQ(item->delayMs, c.delay);
    EXPECT_EQ(item->ducking, c.ducking);
}

INSTANTIATE_TEST_SUITE_P(
    Grammar, VoiceQueueItems,
    ::testing::Values(
        ItemCase{"a.ogg:0,b.ogg:500:40,:0", true, "a.ogg", 0, std::nullopt, "b.ogg:500:40,:0"},
        ItemCase{"b.ogg:500:40,:0", true, "b.ogg", 500, 40, ":0"},
        ItemCase{":0", true, "", 0, std::nullopt, ""},
        ItemCase{"a.ogg:5:", true, "a.ogg", 5, std::nullopt, ""},           // empty third field: no change
        ItemCase{"a.ogg:0:150", true, "a.ogg", 0, 100, ""},                 // clamped up
        ItemCase{"a.ogg:0:-5", true, "a.ogg", 0, 0, ""},                    // clamped down
        ItemCase{"a.ogg:+7:40:extra", true, "a.ogg", 7, 40, ""},            // later fields ignored
        ItemCase{"a.ogg:-20", true, "a.ogg", -20, std::nullopt, ""},
        ItemCase{"a.ogg:0,", true, "a.ogg", 0, std::nullopt, ""},           // a trailing "," goes too
        ItemCase{"a.ogg,b.ogg:0", false, "", 0, std::nullopt, "b.ogg:0"},   // one field
        ItemCase{"", false, "", 0, std::nullopt, ""},
        ItemCase{",b.ogg:0", false, "", 0, std::nullopt, "b.ogg:0"},
        ItemCase{"a.ogg:abc,b.ogg:0", false, "", 0, std::nullopt, "b.ogg:0"},
        ItemCase{"a.ogg:500ms", false, "", 0, std::nullopt, ""},
        ItemCase{"a.ogg::", false, "", 0, std::nullopt, ""},
        ItemCase{"a.ogg:0:4o", false, "", 0, std::nullopt, ""},
        ItemCase{"a.ogg:99999999999999999999", false, "", 0, std::nullopt, ""},  // out of range
        ItemCase{"a.ogg:+-1", false, "", 0, std::nullopt, ""}));

TEST(VoiceQueue, EveryTakeShortensTheQueueUntilItIsEmpty) {
    const char* queues[] = {",,,", "x,y:1,,:", "a:1:2:3,:,::,b", ",a:1,"};
    for (const char* text : queues) {
        std::string queue = text;
        int takes = 0;
        while (!queue.empty()) {
            const std::size_t before = queue.size();
            takeVoiceItem(queue);
            ASSERT_LT(queue.size(), before) << text;
            ASSERT_LT(++takes, 20) << text;
        }
    }
}

TEST(VoiceQueue, OnlyDelaysAboveOneHundredMillisecondsAreWaited) {
    const struct {
        long long delay;
        bool waited;
    } cases[] = {{-1, false}, {0, false}, {100, false}, {101, true}, {500, true}};
    for (const auto& c : cases) EXPECT_EQ(voiceDelayIsWaited(c.delay), c.waited) << c.delay;
}

}  // namespace
}  // namespace app
