#pragma once
// Helpers shared by the runtime's core tests.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include <unistd.h>

#include "mesh2d/Mesh2D.h"
#include "mesh2d/util/UtDebug.h"

// The runtime reports on standard output; a death test matches standard error,
// so the dying child sends its standard output there.
#define EXPECT_RUNTIME_DEATH(statement, regex) \
    EXPECT_DEATH(                              \
        {                                      \
            ::dup2(STDERR_FILENO, STDOUT_FILENO); \
            statement;                         \
        },                                     \
        regex)

namespace mesh2d::test {

// Runs the runtime for the duration of a test.
class RuntimeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        UtDebug::setMemoryDebugFlags(0);
        ::testing::internal::CaptureStdout();
        Mesh2D::init();
        ::testing::internal::GetCapturedStdout();
    }
    void TearDown() override
    {
        ::testing::internal::CaptureStdout();
        Mesh2D::dispose();
        lastDisposeOutput = ::testing::internal::GetCapturedStdout();
        UtDebug::setMemoryDebugFlags(0);
    }
    std::string lastDisposeOutput;
};

inline int countOf(const std::string& text, const std::string& needle)
{
    int n = 0;
    for (size_t pos = text.find(needle); pos != std::string::npos; pos = text.find(needle, pos + 1)) ++n;
    return n;
}

}  // namespace mesh2d::test
