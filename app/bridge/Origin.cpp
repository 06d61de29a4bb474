#include "app/bridge/Origin.h"

#include <string>

#include "app/bridge/Url.h"

namespace app {
namespace {

std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

std::string effectivePort(const UrlParts& url) {
    if (!url.port.empty()) return url.port;
    std::string scheme = lower(url.scheme);
    if (scheme == "http") return "80";
    if (scheme == "https") return "443";
    return "";
}

bool insideBundle(const UrlParts& doc, std::string_view bundleDir) {
    if (bundleDir.empty() || bundleDir.front() != '/') return false;
    if (!doc.host.empty() && doc.host != "localhost") return false;
    auto path = percentDecodeUtf8(doc.path);
    if (!path || path->find("/../") != std::string::npos || path->find("/./") != std::string::npos) return false;
    std::string dir(bundleDir);
    if (dir.back() != '/') dir += '/';
    return path->compare(0, dir.size(), dir) == 0;
}

}  // namespace

bool isTrustedDocument(std::string_view documentUrl, std::string_view appBaseUrl, std::string_view bundleDir) {
    auto doc = parseUrl(documentUrl);
    if (!doc) return false;
    if (lower(doc->scheme) == "file") return insideBundle(*doc, bundleDir);
    auto app = parseUrl(appBaseUrl);
    if (!app || !doc->hasAuthority || doc->host.empty()) return false;
    return lower(doc->scheme) == lower(app->scheme) && lower(doc->host) == lower(app->host) &&
           effectivePort(*doc) == effectivePort(*app);
}

}  // namespace app
