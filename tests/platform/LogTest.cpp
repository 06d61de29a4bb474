#include "platform/Log.h"

#include <gtest/gtest.h>

TEST(Log, CaptureCollectsFormattedLinesAndRestoresPreviousSink) {
    std::string outer;
    auto previous = platform::setLogSink([&](std::string_view l) { outer += std::string(l) + "|"; });
    {
        platform::LogCapture capture;
        platform::log("value=%d name=%s", 42, "x");
        platform::logLine("already terminated\n");
        EXPECT_EQ(capture.text(), "value=42 name=x\nalready terminated\n");
    }
    platform::log("after");
    EXPECT_EQ(outer, "after|");
    platform::setLogSink(std::move(previous));
}

TEST(Log, LongLinesAreNotTruncated) {
    platform::LogCapture capture;
    const std::string big(100000, 'a');
    platform::log("%s", big.c_str());
    EXPECT_EQ(capture.text().size(), big.size() + 1);
}
