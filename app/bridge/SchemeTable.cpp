#include "app/bridge/SchemeTable.h"

#include "app/bridge/Url.h"

namespace app {
namespace {

struct SchemeRow {
    std::string_view scheme;
    SchemeKind kind;
};

constexpr SchemeRow kSchemes[] = {
    {"mesh2d", SchemeKind::Avatar},     {"tapjoy", SchemeKind::Tapjoy},
    {"webview", SchemeKind::Controller}, {"top", SchemeKind::Top},
    {"payment", SchemeKind::Payment},   {"mailto", SchemeKind::OpenOutside},
    {"tel", SchemeKind::OpenOutside},   {"sms", SchemeKind::OpenOutside},
    {"line", SchemeKind::OpenOutside},  {"browser", SchemeKind::Browser},
};

constexpr std::string_view kOutsideSchemes[] = {"http", "https", "mailto", "tel", "sms", "line"};

}  // namespace

SchemeKind classifyScheme(std::string_view scheme) {
    for (const auto& row : kSchemes) {
        if (row.scheme == scheme) return row.kind;
    }
    return SchemeKind::Ordinary;
}

bool isNativeAction(SchemeKind kind) {
    return kind == SchemeKind::Avatar || kind == SchemeKind::Controller || kind == SchemeKind::Top ||
           kind == SchemeKind::Payment;
}

bool mayOpenOutside(std::string_view url) {
    auto parts = parseUrl(url);
    if (!parts) return false;
    for (auto scheme : kOutsideSchemes) {
        if (parts->scheme != scheme) continue;
        // A web page needs a host to go to; "https:foo" is not one.
        if ((scheme == "http" || scheme == "https") && (!parts->hasAuthority || parts->host.empty())) return false;
        return true;
    }
    return false;
}

}  // namespace app
