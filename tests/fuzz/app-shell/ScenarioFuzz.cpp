// Scenario files are written by hand: the parser must report, not crash.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "app/headless/Scenario.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<app::headless::Step> steps;
    app::headless::ScenarioError error;
    bool ok = app::headless::parseScenario(std::string_view(reinterpret_cast<const char*>(data), size), steps, error);
    if (!ok && error.line <= 0) __builtin_trap();
    return 0;
}
