#include "app/bridge/Url.h"

#include <gtest/gtest.h>

namespace app {
namespace {

TEST(ParseUrlTest, CutsSchemeHostPathAndQuery) {
    struct {
        const char* url;
        const char* scheme;
        const char* host;
        const char* port;
        const char* path;
        const char* query;  // null: no "?"
    } cases[] = {
        {"webview://javascript_stopBGM", "webview", "javascript_stopBGM", "", "", nullptr},
        {"webview://javascript_playSE?name=se_01.ogg", "webview", "javascript_playSE", "", "", "name=se_01.ogg"},
        {"mesh2d://Motion?number=3#frag", "mesh2d", "Motion", "", "", "number=3"},
        {"payment://shop/buy.php?product=item100&P=7", "payment", "shop", "", "/buy.php", "product=item100&P=7"},
        {"http://user@127.0.0.1:8080/a/b?x=1", "http", "127.0.0.1", "8080", "/a/b", "x=1"},
        {"mailto:someone@example.com", "mailto", "", "", "someone@example.com", nullptr},
        {"http://[::1]:81/", "http", "[::1]", "81", "/", nullptr},
        {"a:?", "a", "", "", "", ""},
    };
    for (const auto& c : cases) {
        auto parts = parseUrl(c.url);
        ASSERT_TRUE(parts) << c.url;
        EXPECT_EQ(parts->scheme, c.scheme) << c.url;
        EXPECT_EQ(parts->host, c.host) << c.url;
        EXPECT_EQ(parts->port, c.port) << c.url;
        EXPECT_EQ(parts->path, c.path) << c.url;
        EXPECT_EQ(parts->query.has_value(), c.query != nullptr) << c.url;
        if (c.query && parts->query) {
            EXPECT_EQ(*parts->query, c.query) << c.url;
        }
    }
}

TEST(ParseUrlTest, RefusesTextWithoutScheme) {
    for (const char* url : {"", "no scheme here", "://x", "1http://x", "ht tp://x", "/path/only"}) {
        EXPECT_FALSE(parseUrl(url)) << url;
    }
}

TEST(PercentDecodeTest, DecodesUtf8AndRefusesBrokenEscapes) {
    EXPECT_EQ(percentDecodeUtf8("https%3A%2F%2Fx.jp%2Fa%3Fb%3D1"), "https://x.jp/a?b=1");
    EXPECT_EQ(percentDecodeUtf8("%E3%81%82"), "\xE3\x81\x82");
    EXPECT_EQ(percentDecodeUtf8("a+b"), "a+b");
    for (const char* bad : {"%", "%4", "%zz", "%FF", "%C0%AF", "%ED%A0%80", "abc%E3%81"}) {
        EXPECT_FALSE(percentDecodeUtf8(bad)) << bad;
    }
}

TEST(PercentDecodeTest, PathIsDecodedWithoutTrailingSlash) {
    EXPECT_EQ(decodedPath(*parseUrl("payment://shop/a%20b/")), "/a b");
    EXPECT_EQ(decodedPath(*parseUrl("payment://shop/")), "");
    EXPECT_EQ(decodedPath(*parseUrl("payment://shop?x=1")), "");
}

TEST(ControlCharacterTest, RawOrEscapedControlBytesAreFound) {
    struct {
        std::string text;
        bool found;
    } cases[] = {
        {"https://x.jp/a?b=1#c", false},
        {"https://x.jp/%E3%81%82%20%7E%2500", false},  // %2500 is the text "%00", not a NUL
        {"mailto:a@b.jp?subject=%41", false},
        {std::string("https://x.jp/a\0b", 15), true},
        {"https://x.jp/\x01", true},
        {"https://x.jp/\x7f", true},
        {"https://x.jp/%00", true},
        {"https://x.jp/a%0d%0aSet-Cookie:x", true},
        {"https://x.jp/%1F", true},
        {"https://x.jp/%7f", true},
        {"https://x.jp/%", false},   // a broken escape holds no byte
        {"https://x.jp/%0", false},
        {"https://x.jp/%0g", false},
    };
    for (const auto& c : cases) EXPECT_EQ(hasControlCharacters(c.text), c.found) << c.text;
}

TEST(ControlCharacterTest, MailBodiesMayCarryEscapedLineBreaksOnly) {
    struct {
        std::string text;
        bool found;
    } cases[] = {
        {"mailto:a@b.jp?body=1%0D%0A2%093", false},
        {"mailto:a@b.jp?body=1%0d%0a2", false},
        {"mailto:a@b.jp?body=1%00", true},
        {"mailto:a@b.jp?body=1%1B", true},
        {"mailto:a@b.jp?body=1\n2", true},  // raw, not escaped
    };
    for (const auto& c : cases) {
        EXPECT_EQ(hasControlCharacters(c.text, EscapedLineBreaks::Allowed), c.found) << c.text;
    }
}

}  // namespace
}  // namespace app
