#include <gtest/gtest.h>

#include "app/StringSearch.h"

using namespace app;

TEST(StringSearch, SubstringToReverseCharAndCountToChar) {
    struct Case {
        const char* text;
        char c;
        std::optional<std::string> before;
        int count;
    } cases[] = {
        {"img/part/face.png", '/', "img/part", 2},
        {"a.b.c", '.', "a.b", 2},
        {"/leading", '/', "", 1},
        {"none", '/', std::nullopt, 0},
        {"", 'x', std::nullopt, 0},
        {"xxx", 'x', "xx", 3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(substringToReverseChar(c.text, c.c), c.before) << c.text;
        EXPECT_EQ(countToChar(c.text, c.c), c.count) << c.text;
    }
    EXPECT_EQ(countToChar(std::string("a\0b\0", 4), '\0'), 2);
}
