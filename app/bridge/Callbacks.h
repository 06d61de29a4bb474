#pragma once
// Every script the client evaluates in the page, verbatim.
#include <string>

namespace app::script {

inline constexpr const char* kEndFadeOut = "callbackEndFadeOut();";
inline constexpr const char* kEndFadeIn = "callbackEndFadeIn();";
inline constexpr const char* kEnableCallbackOn = "mesh2d_enableCallback(1);";
inline constexpr const char* kEnableCallbackOff = "mesh2d_enableCallback(0);";
inline constexpr const char* kLoadCallbackOn = "mesh2d_loadCallback(1);";
inline constexpr const char* kLoadCallbackOff = "mesh2d_loadCallback(0);";
inline constexpr const char* kVoicePlayRes = "callbackVoicePlayRes();";
inline constexpr const char* kGetSessionId = "apl_getSessionID();";

// "footerFunc(%d);" with the footer number 0..5.
inline std::string footerFunc(int number) { return "footerFunc(" + std::to_string(number) + ");"; }

}  // namespace app::script
