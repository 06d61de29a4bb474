#include "foundation/HttpClient.h"

#include <curl/curl.h>

#include "foundation/CurlTransfer.h"
#include "foundation/HttpRequest.h"
#include "foundation/HttpResponse.h"
#include "platform/Log.h"

#ifndef PELORA_TLS_VERIFY
#define PELORA_TLS_VERIFY 1
#endif

namespace RK {

HttpClient& HttpClient::shared() {
    // A function-local static is made once even when threads race to it,
    // and libcurl's global set-up happens inside, before any handle exists.
    static HttpClient client;
    return client;
}

HttpClient::HttpClient() : tlsVerify_(PELORA_TLS_VERIFY != 0) {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    if (!tlsVerify_) platform::log("RK::HttpClient: built without TLS verification");
}

HttpClient::~HttpClient() { curl_global_cleanup(); }

std::string HttpClient::defaultUserAgent() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return defaultUserAgent_;
}

void HttpClient::setDefaultUserAgent(const std::string& userAgent) {
    std::lock_guard<std::mutex> lock(mutex_);
    defaultUserAgent_ = userAgent;
}

void HttpClient::setTlsVerification(bool verify) {
    tlsVerify_.store(verify);
    platform::log("RK::HttpClient: TLS verification turned %s", verify ? "on" : "off");
}

HttpResponse* HttpClient::send(HttpRequest* request) {
    auto* response = new HttpResponse(request);
    if (request == nullptr) {
        response->errorText = "no request";
        platform::log("RK::HttpClient: send without a request");
        return response;
    }
    const bool verify = tlsVerify_.load();
    if (!verify) {
        platform::log("RK::HttpClient: TLS peer and host name NOT verified for %s",
                      request->url.c_str());
    }
    CurlTransfer transfer;
    if (transfer.prepare(*request, *response, verify)) {
        transfer.perform(*response);
    } else {
        response->errorText = transfer.errorMessage();
        if (response->errorText.empty()) response->errorText = "cannot prepare the transfer";
    }
    if (!response->succeeded) {
        platform::log("RK::HttpClient: %s failed: status %d, %s", request->url.c_str(),
                      response->statusCode,
                      response->errorText.empty() ? "no error text" : response->errorText.c_str());
    }
    return response;
}

}  // namespace RK
