// The client's system-version gates (first-launch event, activation report,
// sp_aurl targets) read the version the platform layer reports: a fixed
// phone-like default unless a run poses as another system.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/SettingsKeys.h"
#include "tests/app/ControllerFixture.h"

namespace app::testing {
namespace {

class SystemVersionGates : public ControllerFixture {
protected:
    int trackerCalls(const std::string& operation, const std::string& arg = "") {
        int n = 0;
        for (const auto& call : backend->headlessTrackers().calls()) {
            if (call.operation != operation) continue;
            if (!arg.empty() && (call.arguments.empty() || call.arguments[0] != arg)) continue;
            ++n;
        }
        return n;
    }
};

TEST_F(SystemVersionGates, DefaultTakesTheModernPathsAndOverridesSteerThem) {
    enum class Pose { Default, Setter, Environment };
    struct Case {
        Pose pose;
        const char* version;  // for Setter and Environment
        bool firstLaunchEvent, activation, opensTarget, tutorialEvent;
    } cases[] = {
        {Pose::Default, nullptr, true, true, true, true},
        {Pose::Setter, "4.3", false, false, false, false},
        {Pose::Setter, "5.1", false, false, true, false},
        {Pose::Environment, "5.1", false, false, true, false},
        {Pose::Environment, "6.0", true, true, true, true},
    };
    for (const Case& c : cases) {
        const std::string label = c.version ? c.version : "default";
        if (c.pose == Pose::Environment) {
            ::setenv("PELORA_DEVICE_SYSTEM_VERSION", c.version, 1);
        } else {
            ::unsetenv("PELORA_DEVICE_SYSTEM_VERSION");
        }
        restart();
        ::unsetenv("PELORA_DEVICE_SYSTEM_VERSION");
        prefs().removeObjectForKey(kKeyFirstStarted);  // each case is a first launch
        if (c.pose == Pose::Setter) backend->headlessDevice().setSystemVersion(c.version);
        const std::string version = backend->device().systemVersion();
        if (c.version) {
            EXPECT_EQ(version, c.version);
        }

        openGameScreen();
        EXPECT_EQ(trackerCalls("logEvent", "first_app_launchar"), c.firstLaunchEvent ? 1 : 0) << label;
        EXPECT_EQ(trackerCalls("activateApp"), c.activation ? 1 : 0) << label;
        const std::string agent = controller->userAgentString();
        EXPECT_NE(agent.find("; " + backend->device().systemName() + " " + version + ")/TARVEL_UA/"),
                  std::string::npos)
            << agent;

        system().clear();
        navigate(appBase() + "/go.php?sp_aurl=https%3A%2F%2Fshop.example.jp%2F");
        EXPECT_EQ(system().openedUrls().size(), c.opensTarget ? 1u : 0u) << label;
        EXPECT_EQ(trackerCalls("logTutorialCompletion"), c.tutorialEvent ? 1 : 0) << label;
    }
}

}  // namespace
}  // namespace app::testing
