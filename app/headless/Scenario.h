#pragma once
// The scenario language of pelora-headless: one action a line.
//
//   # a comment; blank lines are skipped
//   launch                      the application finishes launching
//   become-active               the application becomes active
//   resign-active               the application resigns active
//   game-screen [URL]           the game screen opens (home page, or URL)
//   navigate URL [BODY]         the page navigates to URL (a form post when BODY is given)
//   finish-load                 the pending page load finishes
//   fail-load CODE              the pending page load fails with the web error CODE
//   tap X Y                     a finger taps the screen at (X, Y) points
//   alert-tap [INDEX]           the front alert's button INDEX (0) is tapped
//   wait MS                     MS milliseconds pass (timers, fades)
//   set KEY VALUE               a setting is written (a number when VALUE is one)
//   print KEY                   prints a setting
//   screenshot FILE             writes the screen as PNG
//   await WHAT [MS]             runs until WHAT is on screen (caution, title,
//                               loading, download-page, start-button, page,
//                               alert); fails after MS (30000) milliseconds
//   tap-start                   taps the middle of the loading screen's start button
#include <string>
#include <string_view>
#include <vector>

namespace app::headless {

enum class StepKind {
    Launch,
    BecomeActive,
    ResignActive,
    GameScreen,
    Navigate,
    FinishLoad,
    FailLoad,
    Tap,
    AlertTap,
    Wait,
    Set,
    Print,
    Screenshot,
    Await,
    TapStart,
};

struct Step {
    StepKind kind = StepKind::Launch;
    int line = 0;
    std::string text;   // URL, key, file
    std::string extra;  // form body, setting value
    long long number = 0;  // code, index, milliseconds (the timeout of await)
    double x = 0, y = 0;
};

struct ScenarioError {
    int line = 0;
    std::string message;
};

// The conditions "await" knows.
inline constexpr const char* kAwaitConditions[] = {"caution", "title", "loading", "download-page",
                                                   "start-button", "page", "alert"};

// False on the first unknown or malformed line, which error describes.
bool parseScenario(std::string_view text, std::vector<Step>& steps, ScenarioError& error);

}  // namespace app::headless
