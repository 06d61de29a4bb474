#include <gtest/gtest.h>

#include "app/Base64.h"

using namespace app;

TEST(Base64, EncodesGroupsOfThreeWithPadding) {
    struct Case {
        std::string in;
        const char* out;
    } cases[] = {
        {"", ""},          {"a", "YQ=="},         {"ab", "YWI="},          {"abc", "YWJj"},
        {"f", "Zg=="},     {"foob", "Zm9vYg=="},  {"fooba", "Zm9vYmE="},   {"foobar", "Zm9vYmFy"},
        {std::string("\0\0\0", 3), "AAAA"},       {"\xff\xfe\xfd", "//79"}, {"\xfb\xff", "+/8="},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(base64Encode(c.in), c.out);
        EXPECT_EQ(dataEncodedWithBase64(bytesOf(c.in)), c.out);
        EXPECT_EQ(stringEncodedWithBase64(c.in), c.out);
    }
    // No line breaks however long the input.
    EXPECT_EQ(base64Encode(std::string(300, 'x')).find('\n'), std::string::npos);
    EXPECT_EQ(base64Encode(std::string(300, 'x')).size(), 400u);
}

TEST(Base64, StrictDecodingRoundTripsAndRejectsAnythingElse) {
    for (std::string in : {"", "a", "ab", "abc", "foobar", "\x00\xff\x10 binary"}) {
        const auto decoded = base64Decode(base64Encode(in));
        ASSERT_TRUE(decoded.has_value()) << in;
        EXPECT_EQ(textOf(*decoded), in);
    }
    for (const char* bad : {"Y", "YQ=", "YQ===", "Y===", "====", "YQ==YQ==", "Y=Q=", "YW J", "YWJj\n", "YW-_",
                            "YWJ\xc3", "=YWJ"}) {
        EXPECT_FALSE(base64Decode(bad).has_value()) << bad;
    }
}

TEST(Base64, LenientDecodingTreatsStrangersAsZeroAndStopsAtTheFirstZeroByte) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"YWJj", "abc"},
        {"YWI=", "ab"},          // "=" is 0, so the third byte is 0 and ends the text
        {"YQ", "a"},             // a short last group still decodes
        {"Zm9vYmFy", "foobar"},
        {"YW*j", "a`#"},         // "*" counts as A
        {"AAAAYWJj", ""},        // a zero byte first: empty text
        {"", ""},
        {"/w==", "\xc3\xbf"},    // byte 0xFF kept as the Latin-1 character, as UTF-8
    };
    for (const Case& c : cases) EXPECT_EQ(stringDecodedWithBase64(c.in), c.out) << c.in;
}
