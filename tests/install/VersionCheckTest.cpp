// The version answer and its outcomes, judged from bodies and from real
// answers of a loopback host.
#include "install/VersionCheck.h"

#include <gtest/gtest.h>

#include "install/Fetch.h"
#include "tests/install/FakeDownloadHost.h"

namespace {

using install::VersionOutcome;

TEST(VersionAnswer, BodiesGiveTheirOutcome) {
    const std::vector<std::pair<std::string, VersionOutcome>> cases = {
        {"1,PELORA_ver01", VersionOutcome::Current},
        {"0,PELORA_ver01,extra", VersionOutcome::Current},
        {std::string("1,PELORA_ver01\0junk", 19), VersionOutcome::Current},
        {"1,PELORA_ver02", VersionOutcome::UpdateRequired},
        {"1,PELORA_ver01\n", VersionOutcome::UpdateRequired},  // compared exactly
        {"1,", VersionOutcome::UpdateRequired},
        {"2", VersionOutcome::OpenPageHost},
        {"2,PELORA_ver99", VersionOutcome::OpenPageHost},
        {"1", VersionOutcome::NoResponse},  // no second field says nothing of the version
        {"PELORA_ver01", VersionOutcome::NoResponse},
        {"", VersionOutcome::NoResponse},
    };
    for (const auto& [body, expected] : cases) EXPECT_EQ(install::versionOutcomeForBody(body), expected) << body;
    EXPECT_EQ(install::versionOutcomeFor(nullptr), VersionOutcome::NoResponse);
}

TEST(VersionCheck, OnlyA2xxAnswerCounts) {
    installtest::FakeDownloadHost host;
    ASSERT_TRUE(host.start());
    const std::vector<std::pair<installtest::Answer, VersionOutcome>> cases = {
        {{200, "1,PELORA_ver01"}, VersionOutcome::Current},
        {{200, "1,PELORA_ver00"}, VersionOutcome::UpdateRequired},
        {{200, "2"}, VersionOutcome::OpenPageHost},
        {{500, "1,PELORA_ver00"}, VersionOutcome::NoResponse},  // an error page raises no update alert
        {{503, "2"}, VersionOutcome::NoResponse},
        {{200, "1,PELORA_ver01", 3}, VersionOutcome::NoResponse},  // cut short
        // Longer than any version answer, with and without a length.
        {{200, "2," + std::string(install::kMaxVersionAnswer, 'v')}, VersionOutcome::NoResponse},
        {{200, "2," + std::string(install::kMaxVersionAnswer, 'v'), -1, true}, VersionOutcome::NoResponse},
        {{200, "2", -1, true}, VersionOutcome::OpenPageHost},
    };
    for (const auto& [answer, expected] : cases) {
        host.set("/app_version.php", answer);
        EXPECT_EQ(install::checkVersion(host.host()), expected) << answer.status << " " << answer.body.substr(0, 20);
    }
    host.remove("/app_version.php");
    EXPECT_EQ(install::checkVersion(host.host()), VersionOutcome::NoResponse);
    EXPECT_EQ(host.requested().back(), "/app_version.php");
}

TEST(VersionCheck, NoServerIsNoResponse) {
    testsupport::ClosedPort closed;
    EXPECT_EQ(install::checkVersion("http://127.0.0.1:" + std::to_string(closed.port())), VersionOutcome::NoResponse);
}

}  // namespace
