#pragma once
// Whether a page may ask for native actions: only pages of the application
// host (over http or https), of the further page hosts the operator serves
// pages from, or files of the bundle are trusted.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace app {

struct PageTrust {
    // "host[:port]", or the same with "http://" or "https://" in front; the
    // scheme written does not matter: both http and https pages of the host
    // are trusted, on the port given, else on each scheme's default port.
    std::string appHost;
    std::vector<std::string> pageHosts;  // further hosts, same forms
    std::string bundleDir;               // absolute; "" trusts no file
};

// The document must be http or https with exactly a trusted host
// (case-insensitive) and port, or a "file:" URL whose decoded, normalised
// path lies inside the bundle directory.
bool isTrustedDocument(std::string_view documentUrl, const PageTrust& trust);
// The same without further page hosts.
bool isTrustedDocument(std::string_view documentUrl, std::string_view appHost, std::string_view bundleDir);

// One host entry: the host in lower case and its port as a number in text
// ("" when none was given). Null when the text is not "host[:port]" (with an
// optional "http://" or "https://" and trailing "/"): paths, user info,
// wildcards and ports outside 1..65535 are refused.
struct HostEntry {
    std::string host;
    std::string port;
};
std::optional<HostEntry> parseHostEntry(std::string_view text);

// "a.jp, b.jp:8443" as its entries: split at ",", blanks trimmed, empty
// pieces dropped.
std::vector<std::string> splitHostList(std::string_view text);

// An absolute path with "." and empty components dropped and each ".."
// taking away the component before it (never above "/").
std::string normalisePath(std::string_view path);

}  // namespace app
