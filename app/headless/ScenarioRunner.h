#pragma once
// Runs a scenario against the client on the headless backend and prints one
// line per observable effect, in order:
//
//   script <text>                   a script evaluated in the page
//   load <METHOD> <url>             a request loaded by the web view
//   open <url>                      an URL opened outside the application
//   alert <tag> <title> | <message> an alert shown
//   setting <key> <value>           a settings write ("(removed)" for a removal)
//   tracker <service> <operation> [<argument> ...]
//   log <line>                      a log line of the controller or the bridge
//   print <key> <value>             the answer to "print" ("(absent)" when unset)
//   screenshot <file>               a screenshot written
//   screen <state> <percent>        the loading mark (3) or download page (4), on each change
//   error line <n>: <message>       the step failed; the run stops
//
// Texts are printed with "\\", newline, tab and carriage return escaped as
// \\, \n, \t and \r, and every other control byte (below 0x20, and 0x7F) as
// \xHH with two lower-case hexadecimal digits.
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/AppConfig.h"
#include "app/headless/Scenario.h"
#include "platform/ui/Geometry.h"

namespace app::headless {

struct RunnerOptions {
    std::string home;                     // empty: a fresh temporary home
    platform::ui::Size screen{320, 568};  // points
    bool fetchPages = false;              // load pages over HTTP (real time)
    AppConfig config = defaultAppConfig();
};

class ScenarioRunner {
public:
    ScenarioRunner(RunnerOptions options, std::ostream& out);
    ~ScenarioRunner();
    ScenarioRunner(const ScenarioRunner&) = delete;
    ScenarioRunner& operator=(const ScenarioRunner&) = delete;

    // 0 when every step ran; 1 after the first step that failed.
    int run(const std::vector<Step>& steps);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The escaping of the output lines.
std::string escapeText(const std::string& text);

}  // namespace app::headless
