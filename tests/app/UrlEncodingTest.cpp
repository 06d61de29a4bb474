#include <gtest/gtest.h>

#include "app/UrlEncoding.h"

using namespace app;

TEST(StringByURLEncoding, KeepsOnlyTheUnreservedCharacters) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"a~b c/d", "a~b%20c%2Fd"},
        {"AZaz09-._~", "AZaz09-._~"},
        {";/?:@&=+$,[]#!'()*", "%3B%2F%3F%3A%40%26%3D%2B%24%2C%5B%5D%23%21%27%28%29%2A"},
        {"100%\"<>\\^`{|}", "100%25%22%3C%3E%5C%5E%60%7B%7C%7D"},
        {"\t\n\x7f", "%09%0A%7F"},
        {"\xe3\x81\x82", "%E3%81%82"},  // non-ASCII as its UTF-8 bytes
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(stringByURLEncoding(c.in), c.out) << c.in;
}

TEST(EncodeMailBody, EscapesHtmlThenTheUrlThenAmpersands) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"a b", "a%26nbsp;b"},
        {"x<y>\"z\"", "x%26lt;y%26gt;%26quot;z%26quot;"},
        {"line1\nline2", "line1%3Cbr%20/%3Eline2"},  // the break is made after spaces were escaped
        {"A&B", "A%26amp;B"},
        {"50% off", "50%25%26nbsp;off"},
        {"k=v/w?x:y@z;+$,!*'()-_.~", "k=v/w?x:y@z;+$,!*'()-_.~"},  // reserved and marks stay
        {"#tag [1] {x} |\\^`", "%23tag%26nbsp;%5B1%5D%26nbsp;%7Bx%7D%26nbsp;%7C%5C%5E%60"},
        {"\xe3\x81\x82\t", "%E3%81%82%09"},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(encodeMailBody(c.in), c.out) << c.in;
}
