#pragma once
// What the dispatcher does with a navigation, by the scheme of its URL.
// Compared exactly and case-sensitively; the first match decides.
#include <string_view>

namespace app {

enum class SchemeKind {
    Avatar,       // "mesh2d": an avatar-view action
    Tapjoy,       // "tapjoy": swallowed
    Controller,   // "webview": a controller action
    Top,          // "top": the start-up flow again
    Payment,      // "payment": a purchase request
    OpenOutside,  // "mailto", "tel", "sms", "line": the whole URL opens outside
    Browser,      // "browser": what follows "browser:" opens outside
    Ordinary,     // anything else: a page load, after the marker checks
};

SchemeKind classifyScheme(std::string_view scheme);

// The schemes that reach native code; only pages of the application host
// (or of the bundle) may use them.
bool isNativeAction(SchemeKind kind);

// URLs handed to the desktop are limited to web pages and the four
// hand-over schemes; "file:" and custom schemes never leave the client.
bool mayOpenOutside(std::string_view url);

}  // namespace app
