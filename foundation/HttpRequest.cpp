#include "foundation/HttpRequest.h"

#include <mutex>

#include "foundation/HttpClient.h"
#include "foundation/Strings.h"

namespace RK {
namespace {

// Both strings may be read by the download thread while a test or tool sets
// them, so they are locked.
std::mutex& globalsMutex() {
    static std::mutex m;
    return m;
}
std::string& defaultHostValue() {
    static std::string v;
    return v;
}
std::string& cookieFilePathValue() {
    static std::string v;
    return v;
}

}  // namespace

HttpRequest::HttpRequest() : userAgent(HttpClient::shared().defaultUserAgent()) {}

void HttpRequest::setUrl(const char* text) {
    if (text == nullptr) {
        url.clear();
        return;
    }
    std::string given(text);
    if (startsWith(given, "dd://", 1)) {
        url = "http://" + defaultHost() + "/" + given.substr(5);
    } else {
        url = std::move(given);
    }
}

std::string defaultHost() {
    std::lock_guard<std::mutex> lock(globalsMutex());
    return defaultHostValue();
}

void setDefaultHost(const std::string& host) {
    std::lock_guard<std::mutex> lock(globalsMutex());
    defaultHostValue() = host;
}

std::string cookieFilePath() {
    std::lock_guard<std::mutex> lock(globalsMutex());
    return cookieFilePathValue();
}

void setCookieFilePath(const std::string& path) {
    std::lock_guard<std::mutex> lock(globalsMutex());
    cookieFilePathValue() = path;
}

}  // namespace RK
