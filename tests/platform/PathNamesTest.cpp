#include "platform/PathNames.h"

#include <gtest/gtest.h>

TEST(PathNames, OnlyAWholeDotDotComponentClimbsOut) {
    struct Case {
        const char* name;
        bool climbs;
    } cases[] = {
        {"..", true},         {"../a", true},     {"a/..", true},      {"a/../b", true},
        {"a/b/../../..", true}, {"a..b", false},  {"..a/b", false},    {"a/b..", false},
        {"...", false},       {"", false},        {"a//b", false},     {"./a", false},
        {"a/...", false},     {"/..", true},      {"a/../", true},
    };
    for (const auto& c : cases) EXPECT_EQ(platform::hasParentComponent(c.name), c.climbs) << c.name;
}
