// The record file: reading, appending, and what a missing file means.
#include "install/InstallRecords.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "tests/support/TempDir.h"

#include "tests/install/FileTree.h"

namespace {

using installtest::readFile;
TEST(InstallRecords, MissingFileMeansNoRecords) {
    testsupport::TempDir dir;
    install::InstallRecords records;
    EXPECT_TRUE(records.load(dir.file("localDownloadData.txt")));
    EXPECT_FALSE(records.contains("a\t0"));
}

TEST(InstallRecords, AppendedRecordsAreFoundOnTheNextLoad) {
    testsupport::TempDir dir;
    const std::string path = dir.file("localDownloadData.txt");
    { std::ofstream(path) << "old\t1\n"; }
    {
        install::RecordLog log;
        ASSERT_TRUE(log.open(path));
        EXPECT_TRUE(log.append("v1", "10"));
        EXPECT_TRUE(log.append("v2", ""));
        EXPECT_TRUE(log.sync());
    }
    EXPECT_EQ(readFile(path), "old\t1\nv1\t10\nv2\t\n");
    install::InstallRecords records;
    ASSERT_TRUE(records.load(path));
    EXPECT_TRUE(records.contains("old\t1"));
    EXPECT_TRUE(records.contains("v1\t10"));
    EXPECT_TRUE(records.contains("v2\t"));
    EXPECT_FALSE(records.contains("v1\t1"));
}

TEST(InstallRecords, ClosedOrUnopenableLogRefusesWrites) {
    testsupport::TempDir dir;
    install::RecordLog log;
    EXPECT_FALSE(log.append("a", "0"));
    EXPECT_FALSE(log.sync());
    EXPECT_FALSE(log.open(dir.file("no-such-dir/localDownloadData.txt")));
    EXPECT_FALSE(log.append("a", "0"));
}

// Something renamed over the record file (or removing it) while the log is
// open must not send later records to the old, unlinked file.
TEST(InstallRecords, AppendsFollowTheFileNowAtThePath) {
    testsupport::TempDir dir;
    const std::string path = dir.file("localDownloadData.txt");
    install::RecordLog log;
    ASSERT_TRUE(log.open(path));
    ASSERT_TRUE(log.append("a", "0"));
    { std::ofstream(dir.file("other")) << "x\t1\n"; }
    ASSERT_EQ(std::rename(dir.file("other").c_str(), path.c_str()), 0);
    EXPECT_TRUE(log.append("b", "0"));
    EXPECT_EQ(readFile(path), "x\t1\nb\t0\n");

    ASSERT_EQ(std::remove(path.c_str()), 0);
    EXPECT_TRUE(log.append("c", "0"));
    EXPECT_TRUE(log.sync());
    EXPECT_EQ(readFile(path), "c\t0\n");

    // A replacement between the last append and the sync loses what was
    // appended: the sync must not call it durable.
    { std::ofstream(dir.file("other")) << ""; }
    ASSERT_EQ(std::rename(dir.file("other").c_str(), path.c_str()), 0);
    EXPECT_FALSE(log.sync());
    EXPECT_TRUE(log.append("d", "0"));
    EXPECT_EQ(readFile(path), "d\t0\n");
}

}  // namespace
