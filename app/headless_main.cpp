// pelora-headless: runs the client from a scenario file on the headless
// backend and prints what it does (see app/headless/ScenarioRunner.h).
//
//   pelora-headless [--app-host=H] [--download-host=H] [--page-hosts=H,...]
//                   [--bundle-dir=D] [--home=D] [--screen=WxH] [--fetch] SCENARIO
#include <fstream>
#include <iostream>
#include <sstream>

#include "app/headless/Scenario.h"
#include "app/headless/ScenarioRunner.h"
#include "platform/headless/HeadlessWindowing.h"

int main(int argc, char** argv) {
    app::headless::RunnerOptions options;
    std::vector<std::string> args(argv + 1, argv + argc), rest;
    std::string error;
    if (!app::applyCommandLine(args, options.config, rest, error)) {
        std::cerr << "pelora-headless: " << error << "\n";
        return 2;
    }
    options.home = options.config.homeDir;
    std::string scenarioPath;
    for (const auto& arg : rest) {
        if (arg == "--fetch") {
            options.fetchPages = true;
        } else if (arg.rfind("--screen=", 0) == 0) {
            if (!platform::headless::parseScreenSize(arg.substr(9), options.screen)) {
                std::cerr << "pelora-headless: bad screen size " << arg.substr(9) << "\n";
                return 2;
            }
        } else if (!arg.empty() && arg[0] == '-') {
            std::cerr << "pelora-headless: unknown option " << arg << "\n";
            return 2;
        } else if (scenarioPath.empty()) {
            scenarioPath = arg;
        } else {
            std::cerr << "pelora-headless: one scenario file only\n";
            return 2;
        }
    }
    if (scenarioPath.empty()) {
        std::cerr << "usage: pelora-headless [--app-host=H] [--download-host=H] [--page-hosts=H,...]"
                     " [--bundle-dir=D] [--home=D]"
                     " [--screen=WxH] [--fetch] SCENARIO\n";
        return 2;
    }
    std::ifstream in(scenarioPath, std::ios::binary);
    if (!in) {
        std::cerr << "pelora-headless: cannot read " << scenarioPath << "\n";
        return 2;
    }
    std::stringstream text;
    text << in.rdbuf();

    std::vector<app::headless::Step> steps;
    app::headless::ScenarioError parseError;
    if (!app::headless::parseScenario(text.str(), steps, parseError)) {
        std::cout << "error line " << parseError.line << ": " << app::headless::escapeText(parseError.message) << "\n";
        return 2;
    }
    app::headless::ScenarioRunner runner(options, std::cout);
    return runner.run(steps);
}
