#include <sys/stat.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>

#include <gtest/gtest.h>

#include "platform/Log.h"
#include "platform/headless/FilePreferences.h"
#include "platform/headless/TemporaryHome.h"

using platform::PrefValue;
using platform::headless::FilePreferences;
using platform::headless::TemporaryHome;

namespace {

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void spit(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

}  // namespace

class FilePreferencesTest : public ::testing::Test {
protected:
    TemporaryHome home;
    std::string path = home.path() + "/settings.json";
};

// Every stored kind reads through every typed getter.
TEST_F(FilePreferencesTest, UntypedValuesReadThroughEveryGetter) {
    struct Case {
        PrefValue value;
        float asFloat;
        bool asBool;
        long long asInt;
        const char* asString;
    } cases[] = {
        {1.0, 1.0f, true, 1, "1"},
        {0.0, 0.0f, false, 0, "0"},
        {0.5, 0.5f, true, 0, "0.5"},
        {-2.9, -2.9f, true, -2, "-2.9"},
        {7.0, 7.0f, true, 7, "7"},
        {1e300, INFINITY, true, std::numeric_limits<long long>::max(), "1e+300"},
        {std::nan(""), NAN, false, 0, "nan"},
        {std::string("42abc"), 42.0f, true, 42, "42abc"},
        {std::string("  -3.5"), -3.5f, true, -3, "  -3.5"},
        {std::string("YES"), 0.0f, true, 0, "YES"},
        {std::string("true"), 0.0f, true, 0, "true"},
        {std::string("no"), 0.0f, false, 0, "no"},
        {std::string("007"), 7.0f, true, 7, "007"},
        {std::string(""), 0.0f, false, 0, ""},
    };
    FilePreferences prefs(path);
    for (const Case& c : cases) {
        prefs.setObject("K", c.value);
        const float f = prefs.floatForKey("K");
        if (std::isnan(c.asFloat)) {
            EXPECT_TRUE(std::isnan(f));
        } else {
            EXPECT_FLOAT_EQ(f, c.asFloat) << c.asString;
        }
        EXPECT_EQ(prefs.boolForKey("K"), c.asBool) << c.asString;
        EXPECT_EQ(prefs.integerForKey("K"), c.asInt) << c.asString;
        EXPECT_EQ(prefs.stringForKey("K"), std::optional<std::string>(c.asString));
    }
}

TEST_F(FilePreferencesTest, TypedSettersStoreNumbersThatOtherGettersRead) {
    FilePreferences prefs(path);
    prefs.setFloat("DL_RESET_FLG", 1.0f);
    prefs.setFloat("VOICE_DL_KEY", 5.0f);
    prefs.setBool("FIRST_STARTED", true);
    prefs.setInteger("N", 12);
    EXPECT_TRUE(prefs.boolForKey("DL_RESET_FLG"));
    EXPECT_EQ(prefs.integerForKey("VOICE_DL_KEY"), 5);
    EXPECT_EQ(prefs.integerForKey("FIRST_STARTED"), 1);
    EXPECT_FLOAT_EQ(prefs.floatForKey("N"), 12.0f);
    prefs.setFloat("DL_RESET_FLG", 0.0f);
    EXPECT_FALSE(prefs.boolForKey("DL_RESET_FLG"));
}

TEST_F(FilePreferencesTest, DefaultsAnswerUntilAValueIsStoredAndAfterItIsRemoved) {
    FilePreferences prefs(path);
    prefs.registerDefaults({{"BGM_VAL", 0.5}, {"DOWNLOAD_FIRST", 1.0}});
    EXPECT_FLOAT_EQ(prefs.floatForKey("BGM_VAL"), 0.5f);
    EXPECT_TRUE(prefs.boolForKey("DOWNLOAD_FIRST"));
    EXPECT_FALSE(prefs.objectForKey("KEY_UUID").has_value());
    EXPECT_FALSE(prefs.stringForKey("KEY_UUID").has_value());
    EXPECT_FALSE(prefs.boolForKey("FIRST_STARTED"));
    EXPECT_EQ(prefs.integerForKey("absent"), 0);
    prefs.setFloat("BGM_VAL", 0.25f);
    EXPECT_FLOAT_EQ(prefs.floatForKey("BGM_VAL"), 0.25f);
    prefs.removeObjectForKey("BGM_VAL");
    EXPECT_FLOAT_EQ(prefs.floatForKey("BGM_VAL"), 0.5f);
    ASSERT_TRUE(prefs.flush());
    // Defaults are never persisted.
    FilePreferences reloaded(path);
    EXPECT_FALSE(reloaded.objectForKey("BGM_VAL").has_value());
}

TEST_F(FilePreferencesTest, FlushedValuesSurviveARestartWithTheirKinds) {
    {
        FilePreferences prefs(path);
        prefs.setString("PAYMENT_URL", "http://h/p?a=1&b=\"x\"");
        prefs.setString("UTF8", "\xE3\x81\x82");
        prefs.setFloat("SE_VAL", 0.75f);
        ASSERT_TRUE(prefs.flush());
    }
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    FilePreferences prefs(path);
    EXPECT_EQ(prefs.stringForKey("PAYMENT_URL"), "http://h/p?a=1&b=\"x\"");
    EXPECT_EQ(prefs.stringForKey("UTF8"), "\xE3\x81\x82");
    EXPECT_FLOAT_EQ(prefs.floatForKey("SE_VAL"), 0.75f);
    EXPECT_TRUE(std::holds_alternative<double>(*prefs.objectForKey("SE_VAL")));
}

TEST_F(FilePreferencesTest, UnflushedChangesAreSavedOnDestruction) {
    { FilePreferences(path).setInteger("VOICE_DL_KEY", 3); }
    EXPECT_EQ(FilePreferences(path).integerForKey("VOICE_DL_KEY"), 3);
}

TEST_F(FilePreferencesTest, MissingOrCorruptFilesLoadEmptyAndAreLogged) {
    struct Case {
        const char* contents;  // null: no file
        const char* logged;
    } cases[] = {
        {nullptr, "no settings file"},
        {"{\"BGM_VAL\": 0.3", "is not a settings file"},
        {"[1, 2]", "is not a settings file"},
        {"", "is not a settings file"},
    };
    for (const Case& c : cases) {
        std::remove(path.c_str());
        if (c.contents) spit(path, c.contents);
        platform::LogCapture log;
        FilePreferences prefs(path);
        EXPECT_FALSE(prefs.objectForKey("BGM_VAL").has_value());
        EXPECT_TRUE(log.contains(c.logged)) << log.text();
        // Loading never rewrites the file, so a bad one can still be examined.
        if (c.contents) {
            EXPECT_EQ(slurp(path), c.contents);
        }
    }
}

TEST_F(FilePreferencesTest, ForeignValueKindsAreSkippedOthersKept) {
    spit(path, R"({"A": true, "B": [1], "C": "text", "D": null, "E": 2})");
    platform::LogCapture log;
    FilePreferences prefs(path);
    EXPECT_TRUE(prefs.boolForKey("A"));
    EXPECT_FALSE(prefs.objectForKey("B").has_value());
    EXPECT_EQ(prefs.stringForKey("C"), "text");
    EXPECT_FALSE(prefs.objectForKey("D").has_value());
    EXPECT_EQ(prefs.integerForKey("E"), 2);
    EXPECT_TRUE(log.contains("ignoring B"));
}

// A crash between writing the temporary file and renaming it must leave the
// previous settings readable; a failed flush must not damage them either.
TEST_F(FilePreferencesTest, InterruptedOrFailedFlushKeepsThePreviousSettings) {
    {
        FilePreferences prefs(path);
        prefs.setFloat("BGM_VAL", 0.2f);
        ASSERT_TRUE(prefs.flush());
    }
    spit(path + ".tmp", "{\"BGM_VAL\": 0.9, \"half-writ");  // what a crash leaves behind
    {
        FilePreferences prefs(path);
        EXPECT_FLOAT_EQ(prefs.floatForKey("BGM_VAL"), 0.2f);
        prefs.setFloat("BGM_VAL", 0.4f);
        ASSERT_TRUE(prefs.flush());  // the stale temporary file is simply replaced
    }
    EXPECT_FLOAT_EQ(FilePreferences(path).floatForKey("BGM_VAL"), 0.4f);

    // Make the temporary file impossible to create: a directory in its place.
    ASSERT_EQ(::mkdir((path + ".tmp").c_str(), 0700), 0);
    const std::string before = slurp(path);
    platform::LogCapture log;
    FilePreferences prefs(path);
    prefs.setFloat("BGM_VAL", 0.8f);
    EXPECT_FALSE(prefs.flush());
    EXPECT_TRUE(log.contains("previous settings kept"));
    EXPECT_EQ(slurp(path), before);
    ::rmdir((path + ".tmp").c_str());
    EXPECT_TRUE(prefs.flush());  // still dirty, so the retry writes it
    EXPECT_FLOAT_EQ(FilePreferences(path).floatForKey("BGM_VAL"), 0.8f);
}

TEST_F(FilePreferencesTest, NonFiniteNumbersAreNotWrittenAndDoNotBreakTheFile) {
    FilePreferences prefs(path);
    prefs.setFloat("BAD", INFINITY);
    prefs.setFloat("GOOD", 1.5f);
    prefs.setString("BYTES", std::string("\xff\xfe", 2));
    ASSERT_TRUE(prefs.flush());
    FilePreferences reloaded(path);
    EXPECT_FALSE(reloaded.objectForKey("BAD").has_value());
    EXPECT_FLOAT_EQ(reloaded.floatForKey("GOOD"), 1.5f);
    EXPECT_TRUE(reloaded.stringForKey("BYTES").has_value());
}
