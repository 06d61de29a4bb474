#include "foundation/File.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tests/support/TempDir.h"

namespace {

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class FileTest : public ::testing::Test {
protected:
    testsupport::TempDir dir;
};

TEST_F(FileTest, BinaryRoundTripKeepsEveryByte) {
    const std::vector<char> bytes = {'a', '\0', '\r', '\n', '\xff', 'z'};
    RK::WriteFile out;
    ASSERT_TRUE(out.open(dir.file("blob"), true, false));
    EXPECT_EQ(out.binary(), 1);
    EXPECT_EQ(out.path(), dir.file("blob"));
    EXPECT_TRUE(out.write(bytes));
    EXPECT_EQ(out.size(), 6);
    out.close();
    out.close();  // a second close does nothing
    EXPECT_FALSE(out.isOpen());

    RK::ReadFile in;
    ASSERT_TRUE(in.open(dir.file("blob"), true));
    EXPECT_EQ(in.readAll(), std::string(bytes.begin(), bytes.end()));
}

TEST_F(FileTest, AppendAddsAfterExistingTextAndWriteStringAddsNoLineEnd) {
    put(dir.file("record.txt"), "1\t0\n");
    RK::WriteFile out;
    ASSERT_TRUE(out.openAppend(dir.file("record.txt"), false, false));
    EXPECT_EQ(out.binary(), 0);
    EXPECT_TRUE(out.writeString("2\t1"));
    EXPECT_TRUE(out.writeString(std::string("\n")));
    EXPECT_TRUE(out.writeString(std::string("x\0hidden", 8)));  // up to the first zero byte
    out.close();
    EXPECT_EQ(contents(dir.file("record.txt")), "1\t0\n2\t1\nx");
}

TEST_F(FileTest, OpenForWritingTruncates) {
    put(dir.file("f"), "old content");
    RK::WriteFile out;
    ASSERT_TRUE(out.open(dir.file("f"), false, false));
    EXPECT_TRUE(out.writeString("new"));
    out.close();
    EXPECT_EQ(contents(dir.file("f")), "new");
}

TEST_F(FileTest, WritesReportWhatHappened) {
    RK::WriteFile closed;
    EXPECT_FALSE(closed.write(std::vector<char>{'a'}));
    EXPECT_FALSE(closed.write(std::vector<char>{}));
    EXPECT_FALSE(closed.writeString("a"));

    RK::WriteFile out;
    ASSERT_TRUE(out.open(dir.file("w"), true, false));
    EXPECT_TRUE(out.write(std::vector<char>{}));
    EXPECT_FALSE(out.writeString(""));
    EXPECT_FALSE(out.writeString(static_cast<const char*>(nullptr)));
    EXPECT_EQ(out.size(), 0);
}

TEST_F(FileTest, FailedOpenKeepsThePreviousPath) {
    RK::ReadFile in;
    EXPECT_FALSE(in.open(dir.file("missing"), true));
    EXPECT_EQ(in.path(), "");
    put(dir.file("a"), "A");
    ASSERT_TRUE(in.open(dir.file("a"), false));
    EXPECT_FALSE(in.open(dir.file("missing"), false));
    EXPECT_FALSE(in.isOpen());
    EXPECT_EQ(in.path(), dir.file("a"));
}

// Reopening must not leak the first stream (LeakSanitizer reports it) and
// must read the second file.
TEST_F(FileTest, ReopeningClosesTheFirstStream) {
    put(dir.file("a"), "first");
    put(dir.file("b"), "second");
    RK::ReadFile in;
    ASSERT_TRUE(in.open(dir.file("a"), true));
    ASSERT_TRUE(in.open(dir.file("b"), true));
    EXPECT_EQ(in.readAll(), "second");
}

TEST_F(FileTest, SizeKeepsThePositionAndIsMinusOneWhenClosed) {
    RK::ReadFile in;
    EXPECT_EQ(in.size(), -1);
    put(dir.file("s"), "0123456789");
    ASSERT_TRUE(in.open(dir.file("s"), true));
    ASSERT_EQ(std::fseek(in.handle(), 4, SEEK_SET), 0);
    EXPECT_EQ(in.size(), 10);
    EXPECT_EQ(std::ftell(in.handle()), 4);
    EXPECT_EQ(in.readAll(), "0123456789");  // from the start, whatever the position
}

TEST_F(FileTest, ReadAllOfAClosedOrEmptyFileIsEmpty) {
    RK::ReadFile closed;
    EXPECT_EQ(closed.readAll(), "");
    put(dir.file("empty"), "");
    RK::ReadFile in;
    ASSERT_TRUE(in.open(dir.file("empty"), false));
    EXPECT_EQ(in.readAll(), "");
}

TEST_F(FileTest, ReadAllOfAStreamWithoutSizeIsEmpty) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    ASSERT_EQ(::write(fds[1], "abc", 3), 3);
    ::close(fds[1]);
    RK::ReadFile in;
    ASSERT_TRUE(in.open("/proc/self/fd/" + std::to_string(fds[0]), true));
    ::close(fds[0]);
    EXPECT_EQ(in.size(), -1);
    EXPECT_EQ(in.readAll(), "");
}

TEST_F(FileTest, MakeDirectoriesFlagCreatesParentsOrFailsWithoutOpening) {
    RK::WriteFile out;
    const std::string nested = dir.path() + "/img/parts/eye/01.png";
    ASSERT_TRUE(out.open(nested, true, true));
    EXPECT_TRUE(out.writeString("png"));
    out.close();
    EXPECT_EQ(contents(nested), "png");

    put(dir.file("plain"), "a file where a directory should be");
    RK::WriteFile blocked;
    EXPECT_FALSE(blocked.open(dir.path() + "/plain/sub/x.txt", false, true));
    EXPECT_FALSE(blocked.isOpen());
    EXPECT_FALSE(blocked.openAppend(dir.path() + "/plain/sub/x.txt", false, true));

    // Without the flag a missing parent simply makes the open fail.
    EXPECT_FALSE(blocked.open(dir.path() + "/absent/x.txt", false, false));
}

TEST_F(FileTest, SetPermissionsChangesTheStoredPath) {
    RK::WriteFile out;
    EXPECT_FALSE(out.setPermissions(0644));  // no path yet
    ASSERT_TRUE(out.open(dir.file("p"), true, false));
    ASSERT_TRUE(out.setPermissions(0600));
    struct stat st {};
    ASSERT_EQ(::stat(dir.file("p").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_TRUE(out.setPermissions(0644));
    ASSERT_EQ(::stat(dir.file("p").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
}

}  // namespace
