#include "foundation/Strings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Pieces = std::vector<std::string>;

struct AffixCase {
    const char* text;
    const char* affix;
    int lower;
    bool starts;  // expected startsWith
    bool ends;    // expected endsWith
};

TEST(Strings, AffixTests) {
    const AffixCase cases[] = {
        {"DD://img/a.png", "dd://", 1, true, false},
        {"DD://img/a.png", "dd://", 0, false, false},
        {"dd://x", "dd://", 2, true, false},   // only 1 lower-cases; already lower matches
        {"DD://x", "dd://", 2, false, false},
        {"VOICE.OGG", ".ogg", 1, false, true},
        {"VOICE.OGG", ".ogg", 0, false, false},
        {"ogg", ".ogg", 1, false, false},      // shorter than the affix
        {"abc", "", 1, false, false},          // empty affix never matches
        {"abc", nullptr, 0, false, false},
        {"", "a", 0, false, false},
        {"abc", "abc", 0, true, true},
        {"Title.OGG", ".OGG", 1, false, false},  // the affix is never lower-cased
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " / " + (c.affix ? c.affix : "(null)"));
        EXPECT_EQ(RK::startsWith(c.text, c.affix, c.lower), c.starts);
        EXPECT_EQ(RK::endsWith(c.text, c.affix, c.lower), c.ends);
    }
}

TEST(Strings, ToLowerWorksByteByByte) {
    std::string s = "AbC-\xC3\x89-Z";
    RK::toLower(s);
    EXPECT_EQ(s, "abc-\xC3\x89-z");  // non-ASCII bytes are left alone in the C locale
}

struct SplitCase {
    std::string text;
    std::string delimiter;
    Pieces pieces;
};

TEST(Strings, SplitKeepsEmptyPieces) {
    const SplitCase cases[] = {
        {"", ",", {""}},
        {"a,b,c", ",", {"a", "b", "c"}},
        {"a,,b,", ",", {"a", "", "b", ""}},
        {",a", ",", {"", "a"}},
        {"1\t0\n2\t1", "\n", {"1\t0", "2\t1"}},
        {"no delimiter", ",", {"no delimiter"}},
        {"a,b", "", {"a,b"}},  // an empty delimiter must not loop forever
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(RK::split(c.text, c.delimiter), c.pieces);
    }
}

TEST(Strings, SplitAnyEndsAPieceAtAnyCharacterOfTheSet) {
    const SplitCase cases[] = {
        {"/a/b//c/", "/", {"", "a", "b", "", "c", ""}},
        {"a,b;c", ",;", {"a", "b", "c"}},
        {"", "/", {""}},
        {"a/b", "", {"a/b"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(RK::splitAny(c.text, c.delimiter), c.pieces);
    }
}

struct ReplaceCase {
    std::string text, pattern, replacement, expected;
};

TEST(Strings, ReplaceAllNeverSearchesInsertedText) {
    const ReplaceCase cases[] = {
        {"a\r\nb\r", "\r", "\n", "a\n\nb\n"},
        {"aaa", "a", "aa", "aaaaaa"},   // would never end if inserted text were searched
        {"xabx", "ab", "", "xx"},
        {"abab", "ab", "ba", "baba"},
        {"text", "", "y", "text"},      // empty pattern: unchanged, and no endless loop
        {"", "a", "b", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::string s = c.text;
        RK::replaceAll(s, c.pattern, c.replacement);
        EXPECT_EQ(s, c.expected);
    }
}

TEST(Strings, FormatProducesOutputOfAnyLength) {
    EXPECT_EQ(RK::format("tarvel_%d.ogg", 3), "tarvel_3.ogg");
    EXPECT_EQ(RK::format("%d%%", 42), "42%");
    EXPECT_EQ(RK::format("%s", ""), "");
    // Far beyond any stack buffer; both passes must see the same arguments.
    const std::string big(4 << 20, 'x');
    const std::string out = RK::format("[%s|%d|%s]", big.c_str(), 7, "end");
    ASSERT_EQ(out.size(), big.size() + 8);
    EXPECT_EQ(out.substr(out.size() - 7), "|7|end]");
    EXPECT_EQ(out.front(), '[');
}

TEST(Strings, NullSafeHelpers) {
    EXPECT_TRUE(RK::isNullOrEmpty(nullptr));
    EXPECT_TRUE(RK::isNullOrEmpty(""));
    EXPECT_FALSE(RK::isNullOrEmpty("a"));
    EXPECT_EQ(RK::safeLength(nullptr), 0u);
    EXPECT_EQ(RK::safeLength("abc"), 3u);
    EXPECT_TRUE(RK::isAbsolutePath("/tmp"));
    EXPECT_FALSE(RK::isAbsolutePath("tmp/a"));
    EXPECT_FALSE(RK::isAbsolutePath(""));
    EXPECT_FALSE(RK::isAbsolutePath(nullptr));
}

}  // namespace
