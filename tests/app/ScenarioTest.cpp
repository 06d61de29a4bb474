// The scenario language and the runner's journal.
#include <gtest/gtest.h>

#include <sstream>

#include "app/headless/Scenario.h"
#include "app/headless/ScenarioRunner.h"
#include "platform/headless/TemporaryHome.h"

namespace app::headless {
namespace {

TEST(ScenarioParseTest, ReadsEveryAction) {
    const char* text =
        "# comment\n"
        "\n"
        "launch\n"
        "become-active\n"
        "  resign-active  \n"
        "game-screen\n"
        "game-screen http://h/p.php\n"
        "navigate payment://shop/buy.php?product=a a=1&b=2 c\n"
        "finish-load\n"
        "fail-load -1009\n"
        "tap 10.5 20\n"
        "alert-tap\n"
        "alert-tap 1\n"
        "wait 250\n"
        "set BGM_VAL 0.25\n"
        "print BGM_VAL\n"
        "screenshot out.png";
    std::vector<Step> steps;
    ScenarioError error;
    ASSERT_TRUE(parseScenario(text, steps, error)) << error.line << ": " << error.message;
    ASSERT_EQ(steps.size(), 15u);
    EXPECT_EQ(steps[0].line, 3);
    EXPECT_EQ(steps[4].text, "http://h/p.php");
    EXPECT_EQ(steps[5].text, "payment://shop/buy.php?product=a");
    EXPECT_EQ(steps[5].extra, "a=1&b=2 c");
    EXPECT_EQ(steps[7].number, -1009);
    EXPECT_DOUBLE_EQ(steps[8].x, 10.5);
    EXPECT_EQ(steps[10].number, 1);
    EXPECT_EQ(steps[12].extra, "0.25");
    EXPECT_EQ(steps[14].kind, StepKind::Screenshot);
}

TEST(ScenarioParseTest, AwaitTakesAConditionAndATimeout) {
    std::vector<Step> steps;
    ScenarioError error;
    ASSERT_TRUE(parseScenario("await start-button\nawait page 1500\ntap-start\n", steps, error)) << error.message;
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps[0].kind, StepKind::Await);
    EXPECT_EQ(steps[0].text, "start-button");
    EXPECT_EQ(steps[0].number, 30000);
    EXPECT_EQ(steps[1].text, "page");
    EXPECT_EQ(steps[1].number, 1500);
    EXPECT_EQ(steps[2].kind, StepKind::TapStart);
}

TEST(ScenarioParseTest, ReportsTheFirstBadLine) {
    struct {
        const char* text;
        int line;
        const char* message;
    } cases[] = {
        {"launch\nlaunch now\n", 2, "launch takes no arguments"},
        {"launch\n\njump 3\n", 3, "unknown action \"jump\""},
        {"tap 1\n", 1, "tap needs two numbers X Y"},
        {"tap 1 y\n", 1, "tap needs two numbers X Y"},
        {"tap 1 2 3\n", 1, "tap needs two numbers X Y"},
        {"wait -5\n", 1, "wait needs milliseconds 0..86400000"},
        {"wait 99999999999999999999999\n", 1, "wait needs milliseconds 0..86400000"},
        {"fail-load abc\n", 1, "fail-load needs one integer error code"},
        {"navigate\n", 1, "navigate needs a URL"},
        {"set KEY\n", 1, "set needs a key and a value"},
        {"print\n", 1, "print needs exactly one argument"},
        {"alert-tap x\n", 1, "alert-tap needs a button index"},
        {"Launch\n", 1, "unknown action \"Launch\""},
        {"await\n", 1, "await needs one of caution, title, loading, download-page, start-button, page, alert"},
        {"await titles\n", 1, "await needs one of caution, title, loading, download-page, start-button, page, alert"},
        {"await title 0\n", 1, "await needs milliseconds 1..86400000 after the condition"},
        {"await title 5 6\n", 1, "await needs milliseconds 1..86400000 after the condition"},
        {"tap-start 1 2\n", 1, "tap-start takes no arguments"},
    };
    for (const auto& c : cases) {
        std::vector<Step> steps;
        ScenarioError error;
        EXPECT_FALSE(parseScenario(c.text, steps, error)) << c.text;
        EXPECT_EQ(error.line, c.line) << c.text;
        EXPECT_EQ(error.message, c.message) << c.text;
    }
    std::vector<Step> steps;
    ScenarioError error;
    EXPECT_FALSE(parseScenario(std::string_view("launch\nwait 1\0\n", 14), steps, error));
    EXPECT_EQ(error.line, 2);
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

std::vector<std::string> without(const std::vector<std::string>& all, const std::string& prefix) {
    std::vector<std::string> out;
    for (const auto& l : all) {
        if (l.rfind(prefix, 0) != 0) out.push_back(l);
    }
    return out;
}

class ScenarioRunTest : public ::testing::Test {
protected:
    std::string run(const std::string& text, int expectedStatus = 0) {
        std::vector<Step> steps;
        ScenarioError error;
        EXPECT_TRUE(parseScenario(text, steps, error)) << error.message;
        std::ostringstream out;
        RunnerOptions options;
        options.home = home.path();
        {
            ScenarioRunner runner(options, out);
            EXPECT_EQ(runner.run(steps), expectedStatus);
        }
        return out.str();
    }
    platform::headless::TemporaryHome home;
};

TEST_F(ScenarioRunTest, JournalOfAFirstVisit) {
    std::string base = defaultAppConfig().appBaseUrl();
    std::string out = run(
        "launch\n"
        "game-screen\n"
        "finish-load\n"
        "navigate webview://javascript_footerEnable?flg=true\n"
        "tap 240 494\n"
        "navigate " + base + "/m.php?x=1&savedata_dlcv=3\n"
        "navigate webview://javascript_setFadeIn?time=100\n"
        "wait 150\n"
        "set SE_VAL 0.75\n"
        "print SE_VAL\n"
        "print PAYMENT_URL\n"
        "navigate webview://javascript_nope\n"
        "navigate " + base + "/next.php\n"
        "fail-load -1009\n"
        "alert-tap\n");
    // Other subsystems' start-up lines are not this test's business.
    auto journal = without(without(without(without(lines(out), "tracker "), "setting KEY_UUID "), "log controller:"),
                           "log delegate:");
    std::vector<std::string> expected = {
        "setting FIRST_STARTED 1",
        "load GET " + base + "/",
        "script apl_getSessionID();",
        "script footerFunc(4);",
        "setting VOICE_DL_KEY 3",
        "load GET " + base + "/m.php?x=1&savedata_dlcv=3",
        "script callbackEndFadeIn();",
        "setting SE_VAL 0.75",
        "print SE_VAL 0.75",
        "print PAYMENT_URL (absent)",
        "log bridge: unknown action javascript_nope",
        "load GET " + base + "/next.php",
        "alert 2 ※通信に失敗しました※ | 通信の状態を確認し、電波の状態が良いところでもう一度お試しください",
        "load GET " + base + "/",
    };
    EXPECT_EQ(journal, expected) << out;
    // Tracker calls are in the journal too, in their place.
    EXPECT_NE(out.find("tracker app_events logEvent first_app_launchar\n"), std::string::npos);
}

TEST_F(ScenarioRunTest, AFailingStepStopsTheRun) {
    std::string out = run("launch\nfinish-load\nprint BGM_VAL\n", 1);
    EXPECT_NE(out.find("error line 2: no page is loading"), std::string::npos) << out;
    EXPECT_EQ(out.find("print BGM_VAL"), std::string::npos);
    out = run("navigate webview://javascript_stopBGM\n", 1);
    EXPECT_NE(out.find("error line 1: no web view (launch first)"), std::string::npos) << out;
    out = run("launch\nalert-tap\n", 1);
    EXPECT_NE(out.find("error line 2: no alert on screen"), std::string::npos) << out;
}

TEST_F(ScenarioRunTest, SettingsAreNumbersOnlyWhenFiniteNumbers) {
    std::string out = run("set A 0.5\nset B nan\nset C 12abc\nset D  two words\nprint A\nprint B\nprint C\nprint D\n");
    EXPECT_NE(out.find("print A 0.5\n"), std::string::npos) << out;
    EXPECT_NE(out.find("print B nan\n"), std::string::npos) << out;
    EXPECT_NE(out.find("print C 12abc\n"), std::string::npos) << out;
    EXPECT_NE(out.find("print D two words\n"), std::string::npos) << out;
}

TEST_F(ScenarioRunTest, AwaitFailsAfterItsTimeoutAndTapStartNeedsAScreen) {
    // Virtual time: the title sequence is far from its end after 50 ms, and
    // no loading screen exists before titleInit.
    std::string out = run("launch\nawait title 50\n", 1);
    EXPECT_NE(out.find("error line 2: no title within 50 ms"), std::string::npos) << out;
    out = run("launch\ntap-start\n", 1);
    EXPECT_NE(out.find("error line 2: no loading screen"), std::string::npos) << out;
    out = run("await page\n", 1);
    EXPECT_NE(out.find("error line 1: launch first"), std::string::npos) << out;
}

TEST(EscapeTextTest, KeepsOneLinePerEffect) {
    struct {
        std::string raw;
        std::string written;
    } cases[] = {
        {"a\nb\tc\\d\re", "a\\nb\\tc\\\\d\\re"},
        // Every other control byte as \xHH, so the journal stays text.
        {std::string("x\0y", 3), "x\\x00y"},
        {"\x01\x1b[2J\x1f\x7f", "\\x01\\x1b[2J\\x1f\\x7f"},
        // Backslashes before a would-be escape stay distinguishable.
        {"\\x00", "\\\\x00"},
        // UTF-8 and printable ASCII pass unchanged.
        {"\xE3\x81\x82 ~ \x80", "\xE3\x81\x82 ~ \x80"},
    };
    for (const auto& c : cases) EXPECT_EQ(escapeText(c.raw), c.written) << c.written;
}

TEST_F(ScenarioRunTest, ControlBytesInAPageUrlStayEscapedInTheJournal) {
    std::string out = run("launch\ngame-screen http://127.0.0.1:8080/a%00b\x01z\n", 0);
    EXPECT_EQ(out.find('\x01'), std::string::npos);
    EXPECT_NE(out.find("load GET http://127.0.0.1:8080/a%00b\\x01z\n"), std::string::npos) << out;
}

}  // namespace
}  // namespace app::headless
