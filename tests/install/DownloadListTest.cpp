// Splitting, parsing and classifying download lists against install records.
#include "install/DownloadList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "platform/Log.h"

namespace {

using install::Classification;
using install::InstallRecords;

std::vector<std::string> idsOf(const std::vector<install::ListLine>& lines) {
    std::vector<std::string> ids;
    for (const auto& line : lines) ids.push_back(line.id);
    return ids;
}

// CR LF leaves an empty line behind each line; empty lines are skipped, so
// the lines that count are the same for every kind of line end.
TEST(DownloadListBody, LineEndsOfEveryKindSplitAlike) {
    const std::vector<std::string> expected = {"a\tz1\t1", "b\tz1\t0"};
    for (const std::string body : {"a\tz1\t1\nb\tz1\t0\n", "a\tz1\t1\r\nb\tz1\t0\r\n", "a\tz1\t1\rb\tz1\t0\r"}) {
        std::vector<std::string> lines = install::splitListBody(body);
        lines.erase(std::remove(lines.begin(), lines.end(), std::string()), lines.end());
        EXPECT_EQ(lines, expected) << body;
    }
    // CR LF gives one empty line between, as LF LF would; the body ends at a zero byte.
    EXPECT_EQ(install::splitListBody(std::string("a\r\n\r\nb\0c\nd", 9)), (std::vector<std::string>{"a", "", "", "", "b"}));
}

TEST(DownloadListBody, ViewsMatchTheSplitLines) {
    static const char kBody[] = "a\tz\t1\r\n\nb\tz\t0\rc\0d";
    const std::string body(kBody, sizeof kBody - 1);
    const install::ListBody views(body);
    const std::vector<std::string> split = install::splitListBody(body);
    EXPECT_EQ(std::vector<std::string>(views.lines().begin(), views.lines().end()), split);
}

TEST(DownloadListBody, ParsesThreeFieldsAndIgnoresTheRest) {
    install::ListLine line;
    ASSERT_TRUE(install::parseListLine("v01\tpack_a\tm1\textra\tmore", line));
    EXPECT_EQ(line.id, "v01");
    EXPECT_EQ(line.archive, "pack_a");
    EXPECT_EQ(line.marker, "m1");
    EXPECT_EQ(line.text, "v01\tpack_a\tm1\textra\tmore");
    ASSERT_TRUE(install::parseListLine("\t-\t", line));
    EXPECT_EQ(line.id, "");
    EXPECT_FALSE(install::parseListLine("v01\tpack_a", line));
    EXPECT_FALSE(install::parseListLine("v01", line));
    EXPECT_FALSE(install::parseListLine("", line));
}

// A line whose archive cannot be fetched by its name (empty, or with
// characters a URL path would need escaped) is skipped at parse time, with
// a log line, like a line with a name that could leave the caches.
TEST(DownloadListBody, LinesWithUnusableNamesAreRejected) {
    const std::vector<std::pair<std::string, bool>> cases = {
        {"v\tpack_a\tm", true},       {"v\t-\tm", true},           {"v\tPack-1.v2~x\t0", true},
        {"v\t\tm", false},            {"v\tpack a\tm", false},     {"v\tpack%20a\tm", false},
        {"v\tpack?x=1\tm", false},    {"v\tpack#x\tm", false},     {"v\tpack,b\tm", false},
        {"v\tsub/pack\tm", false},    {"v\t..\tm", false},         {"v\tp\xc3\xa4" "ck\tm", false},
        {"v\tpack\x01\tm", false},   {"v\tpack\\x\tm", false},   {"../v\tpack_a\tm", false},
        {"v\t pack_a\tm", false},     {"v\tpack_a \tm", false},
    };
    for (const auto& [text, usable] : cases) {
        platform::LogCapture log;
        install::ListLine line;
        EXPECT_EQ(install::parseListLine(text, line), usable) << text;
        EXPECT_EQ(log.contains("download list: skipping line with "), !usable) << text;
    }
}

struct ClassifyCase {
    const char* name;
    std::vector<std::string> lines;
    std::string records;
    std::set<std::string> voices;  // ids whose voice file exists
    bool reset;
    std::vector<std::string> recordOnly, removal;
    install::ArchiveGroups groups;
};

class Classify : public ::testing::TestWithParam<ClassifyCase> {};

TEST_P(Classify, SortsEveryLine) {
    const ClassifyCase& c = GetParam();
    InstallRecords records;
    records.loadText(c.records);
    const Classification got = install::classifyList(c.lines, records, c.reset, [&](const std::string& id) {
        return c.voices.count(id) != 0;
    });
    EXPECT_EQ(idsOf(got.recordOnly), c.recordOnly);
    EXPECT_EQ(idsOf(got.removal), c.removal);
    EXPECT_EQ(got.groups, c.groups);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, Classify,
    ::testing::Values(
        ClassifyCase{"recorded_lines_cause_nothing_even_without_voice",
                     {"a\tz1\t0", "b\tz1\t0"}, "a\t0\nb\t0\n", {}, false, {}, {}, {}},
        ClassifyCase{"record_must_match_id_and_marker_exactly",
                     {"a\tz1\t0", "b\tz1\t2"}, "a\t0 \nb\t1\nA\t0\n", {}, false, {}, {},
                     {{"z1", {"a\tz1\t0", "b\tz1\t2"}}}},
        ClassifyCase{"short_and_empty_lines_are_skipped",
                     {"", "a\tz1", "b", "c\tz1\t0"}, "", {}, false, {}, {}, {{"z1", {"c\tz1\t0"}}}},
        ClassifyCase{"withdrawn_voice_present_goes_to_removal_absent_is_dropped",
                     {"a\t-\t0", "b\t-\t0"}, "", {"a"}, false, {}, {"a"}, {}},
        ClassifyCase{"marker_with_1_and_voice_present_is_record_only",
                     {"a\tz1\t10", "b\tz1\t10", "c\tz1\t0"}, "", {"a", "c"}, false, {"a"}, {},
                     {{"z1", {"b\tz1\t10", "c\tz1\t0"}}}},
        ClassifyCase{"reset_flag_downloads_despite_present_voice",
                     {"a\tz1\t1", "b\t-\t0"}, "", {"a", "b"}, true, {}, {"b"}, {{"z1", {"a\tz1\t1"}}}},
        ClassifyCase{"groups_keep_list_order_and_sort_by_name",
                     {"a\tzb\t0", "b\tza\t0", "c\tzb\t0", "d\tZc\t0"}, "", {}, false, {}, {},
                     {{"Zc", {"d\tZc\t0"}}, {"za", {"b\tza\t0"}}, {"zb", {"a\tzb\t0", "c\tzb\t0"}}}},
        ClassifyCase{"names_that_could_leave_the_caches_are_skipped",
                     {"../x\tz1\t0", "a/b\tz1\t0", "a\\b\t-\t0", "c\t../z\t0", "d\tsub/z\t0", "e\tz\\1\t0",
                      "f\tz1\t0"},
                     "", {"a\\b"}, false, {}, {}, {{"z1", {"f\tz1\t0"}}}},
        ClassifyCase{"unusable_archive_names_are_skipped_and_the_rest_kept",
                     {"a\t\t0", "b\tz 1\t0", "c\tz1\t0", "d\t\t1", "e\tz%31\t0"}, "", {"d"}, false, {}, {},
                     {{"z1", {"c\tz1\t0"}}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DownloadList, GroupRecordsCutLinesAtCommas) {
    const auto records = install::groupRecords({"a\tz\t0\tx", "b\tz\t1,c\tz\t2", "short,d\tz"});
    const std::vector<std::pair<std::string, std::string>> expected = {{"a", "0"}, {"b", "1"}, {"c", "2"}};
    EXPECT_EQ(records, expected);
}

TEST(DownloadList, VoiceFilePathDoublesTheSlash) {
    EXPECT_EQ(install::voiceFilePath("/h/Library/Caches", "12"), "/h/Library/Caches//voice_12.ogg");
}

// The hash lookup answers exactly as a byte-for-byte search of the lines:
// near-misses (case, spaces, CR, tabs) never match.
TEST(InstallRecordLookup, AgreesWithALinearSearch) {
    std::mt19937 random(7);
    const std::vector<std::string> alphabet = {"a", "A", "1", " ", "\t", "\r", "", "ab"};
    auto pick = [&] { return alphabet[random() % alphabet.size()]; };
    std::string text;
    std::vector<std::string> lines;
    for (int i = 0; i < 300; ++i) {
        const std::string line = pick() + pick() + "\t" + pick();
        lines.push_back(line);
        text += line + "\n";
    }
    InstallRecords records;
    records.loadText(text);
    for (int i = 0; i < 2000; ++i) {
        const std::string probe = pick() + pick() + "\t" + pick();
        const bool linear = std::find(lines.begin(), lines.end(), probe) != lines.end();
        EXPECT_EQ(records.contains(probe), linear) << probe;
    }
}

}  // namespace
