#include "install/Fetch.h"

#include <cstdio>

#include "foundation/HttpClient.h"
#include "foundation/HttpRequest.h"
#include "foundation/HttpResponse.h"
#include "platform/Log.h"

namespace install {
namespace {

// Null (and the response released) unless the transfer completed with 2xx.
RK::HttpResponse* keepIfAnswered(RK::HttpResponse* response, const char* url) {
    if (response == nullptr) return nullptr;
    if (!response->errorText.empty() || response->statusCode < 200 || response->statusCode > 299) {
        platform::log("download: no response from %s (status %d)", url, response->statusCode);
        response->release();
        return nullptr;
    }
    return response;
}

}  // namespace

RK::HttpResponse* downloadAF(const char* url, std::size_t maxBody, const RK::HttpCancelFlag& cancel) {
    RK::HttpGetRequest* request = new RK::HttpGetRequest();
    request->setUrl(url);
    request->method = RK::HttpMethodGet;
    request->maxBodySize = maxBody;
    request->cancel = cancel;
    RK::HttpResponse* response = RK::HttpClient::shared().send(request);
    request->release();
    return keepIfAnswered(response, url ? url : "");
}

bool downloadToFile(const std::string& url, const std::string& path, const RK::HttpCancelFlag& cancel) {
    std::remove(path.c_str());
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) {
        platform::log("download: cannot write %s", path.c_str());
        return false;
    }
    RK::HttpGetRequest* request = new RK::HttpGetRequest();
    request->setUrl(url.c_str());
    request->cancel = cancel;
    bool writeFailed = false;
    request->bodySink = [out, &writeFailed](const char* data, std::size_t length) {
        if (std::fwrite(data, 1, length, out) == length) return true;
        writeFailed = true;
        return false;
    };
    RK::HttpResponse* response = keepIfAnswered(RK::HttpClient::shared().send(request), url.c_str());
    request->release();
    const bool closed = std::fclose(out) == 0;
    const bool ok = response != nullptr && !writeFailed && closed;
    if (response != nullptr) response->release();
    if (!ok) {
        if (writeFailed || !closed) platform::log("download: writing %s failed", path.c_str());
        std::remove(path.c_str());
    }
    return ok;
}

}  // namespace install
