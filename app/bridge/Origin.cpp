#include "app/bridge/Origin.h"

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

bool isHostCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_';
}

bool isHostName(std::string_view host) {
    if (host.empty()) return false;
    if (host.front() == '[') {
        // An IPv6 literal: hexadecimal digits, ":" and "." inside brackets.
        if (host.size() < 3 || host.back() != ']') return false;
        for (char c : host.substr(1, host.size() - 2)) {
            bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
            if (!hex && c != ':' && c != '.') return false;
        }
        return true;
    }
    for (char c : host) {
        if (!isHostCharacter(c)) return false;
    }
    return true;
}

// The port as a plain number in text ("08080" is "8080"); null when it is
// not 1..65535 written in digits. An empty port stays empty.
std::optional<std::string> canonicalPort(std::string_view port) {
    if (port.empty()) return std::string();
    if (port.size() > 10) return std::nullopt;
    long value = 0;
    for (char c : port) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > 65535) return std::nullopt;
    return std::to_string(value);
}

const char* defaultPort(std::string_view scheme) { return scheme == "https" ? "443" : "80"; }

bool matchesEntry(const HostEntry& entry, std::string_view scheme, const std::string& host, const std::string& port) {
    if (entry.host != host) return false;
    return port == (entry.port.empty() ? defaultPort(scheme) : entry.port);
}

bool trustedWebPage(const UrlParts& doc, const PageTrust& trust) {
    std::string scheme = lower(doc.scheme);
    if (scheme != "http" && scheme != "https") return false;
    if (!doc.hasAuthority || !isHostName(doc.host)) return false;
    auto port = canonicalPort(doc.port);
    if (!port) return false;
    std::string effective = port->empty() ? defaultPort(scheme) : *port;
    std::string host = lower(doc.host);
    if (auto app = parseHostEntry(trust.appHost); app && matchesEntry(*app, scheme, host, effective)) return true;
    for (const auto& text : trust.pageHosts) {
        auto entry = parseHostEntry(text);
        if (entry && matchesEntry(*entry, scheme, host, effective)) return true;
    }
    return false;
}

bool insideBundle(const UrlParts& doc, std::string_view bundleDir) {
    if (bundleDir.empty() || bundleDir.front() != '/') return false;
    if (!doc.host.empty() && lower(doc.host) != "localhost") return false;
    // "%2e%2e" is "..", and "%2f" a separator, once the file is opened.
    auto path = percentDecodeUtf8(doc.path);
    if (!path || path->empty() || path->front() != '/' || path->find('\0') != std::string::npos) return false;
    std::string file = normalisePath(*path);
    std::string dir = normalisePath(bundleDir);
    if (dir == "/") return true;
    // Whole components: "/opt/bundle-evil" is not inside "/opt/bundle".
    if (file == dir) return true;
    return file.size() > dir.size() && file.compare(0, dir.size(), dir) == 0 && file[dir.size()] == '/';
}

}  // namespace

std::optional<HostEntry> parseHostEntry(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    std::string lowered = lower(text);
    for (std::string_view scheme : {"http://", "https://"}) {
        if (lowered.compare(0, scheme.size(), scheme) == 0) {
            text.remove_prefix(scheme.size());
            break;
        }
    }
    while (!text.empty() && text.back() == '/') text.remove_suffix(1);
    if (text.find_first_of("/?#@") != std::string_view::npos) return std::nullopt;
    auto parts = parseUrl("http://" + std::string(text));
    if (!parts || !isHostName(parts->host)) return std::nullopt;
    if (text.back() == ':') return std::nullopt;  // "host:" names no port
    auto port = canonicalPort(parts->port);
    if (!port) return std::nullopt;
    return HostEntry{lower(parts->host), *port};
}

std::vector<std::string> splitHostList(std::string_view text) {
    std::vector<std::string> out;
    while (true) {
        std::size_t comma = text.find(',');
        std::string_view piece = text.substr(0, comma);
        while (!piece.empty() && (piece.front() == ' ' || piece.front() == '\t')) piece.remove_prefix(1);
        while (!piece.empty() && (piece.back() == ' ' || piece.back() == '\t')) piece.remove_suffix(1);
        if (!piece.empty()) out.emplace_back(piece);
        if (comma == std::string_view::npos) return out;
        text.remove_prefix(comma + 1);
    }
}

std::string normalisePath(std::string_view path) {
    std::vector<std::string_view> parts;
    while (!path.empty()) {
        std::size_t slash = path.find('/');
        std::string_view part = path.substr(0, slash);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        if (slash == std::string_view::npos) break;
        path.remove_prefix(slash + 1);
    }
    std::string out;
    for (auto part : parts) {
        out += '/';
        out += part;
    }
    return out.empty() ? "/" : out;
}

bool isTrustedDocument(std::string_view documentUrl, const PageTrust& trust) {
    auto doc = parseUrl(documentUrl);
    if (!doc) return false;
    if (lower(doc->scheme) == "file") return insideBundle(*doc, trust.bundleDir);
    return trustedWebPage(*doc, trust);
}

bool isTrustedDocument(std::string_view documentUrl, std::string_view appHost, std::string_view bundleDir) {
    return isTrustedDocument(documentUrl, PageTrust{std::string(appHost), {}, std::string(bundleDir)});
}

}  // namespace app
