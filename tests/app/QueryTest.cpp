#include "app/bridge/Query.h"

#include <gtest/gtest.h>

namespace app {
namespace {

struct QueryCase {
    const char* query;
    Query expected;
};

class QueryAsDictionaryTest : public ::testing::TestWithParam<QueryCase> {};

TEST_P(QueryAsDictionaryTest, SplitsWithoutDecoding) {
    EXPECT_EQ(queryAsDictionary(std::string_view(GetParam().query)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Pieces, QueryAsDictionaryTest,
                         ::testing::Values(QueryCase{"a=1&b=2", {{"a", "1"}, {"b", "2"}}},
                                           QueryCase{"a", {{"a", "a"}}},
                                           QueryCase{"a=", {{"a", ""}}},
                                           QueryCase{"=x", {{"", "x"}}},
                                           QueryCase{"a=b=c", {{"a", "c"}}},
                                           QueryCase{"a=1&a=2", {{"a", "2"}}},
                                           QueryCase{"a=1&", {{"a", "1"}, {"", ""}}},
                                           QueryCase{"", {{"", ""}}},
                                           QueryCase{"name=%E3%81%82", {{"name", "%E3%81%82"}}},
                                           QueryCase{"t=a+b%20c", {{"t", "a+b%20c"}}}));

TEST(QueryCodecTest, NullQueryGivesNullMap) {
    EXPECT_FALSE(queryAsDictionary(std::optional<std::string>()).has_value());
    EXPECT_TRUE(queryAsDictionary(std::optional<std::string>("")).has_value());
}

TEST(QueryCodecTest, RebuildsQueryWithoutEmptyKeyOrEncoding) {
    Query map{{"product", "item100"}, {"", "x"}, {"n", "%41"}};
    EXPECT_EQ(dictionaryAsQuery(map), "n=%41&product=item100");
    EXPECT_EQ(dictionaryAsQuery({}), "");
    // Round trip of a query without duplicates or bare keys keeps every pair.
    EXPECT_EQ(queryAsDictionary(std::string_view(dictionaryAsQuery(map))),
              (Query{{"product", "item100"}, {"n", "%41"}}));
}

TEST(QueryValueTest, FlagsAreExactlyTrue) {
    Query map{{"a", "true"}, {"b", "TRUE"}, {"c", "1"}, {"d", "true "}, {"e", ""}};
    EXPECT_TRUE(queryFlag(map, "a"));
    for (const char* key : {"b", "c", "d", "e", "missing"}) EXPECT_FALSE(queryFlag(map, key)) << key;
}

TEST(QueryValueTest, NumbersAreLeadingIntegers) {
    struct {
        const char* text;
        int value;
    } cases[] = {{"12", 12},   {"12abc", 12},        {"abc", 0},          {"", 0},
                 {"-3", -3},   {"  7", 7},           {"+4", 4},           {"1.9", 1},
                 {"99999999999", 2147483647}, {"-99999999999", -2147483647 - 1}};
    for (const auto& c : cases) EXPECT_EQ(leadingInt(c.text), c.value) << c.text;
    EXPECT_EQ(queryInt({{"id", "5x"}}, "id"), 5);
    EXPECT_EQ(queryInt({}, "id"), 0);
}

}  // namespace
}  // namespace app
