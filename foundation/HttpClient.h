#pragma once
// The process-wide synchronous HTTP client over libcurl. One request at a
// time per call; send() blocks until the transfer ends or a time limit strikes.
#include <atomic>
#include <mutex>
#include <string>

namespace RK {

class HttpRequest;
class HttpResponse;

class HttpClient {
public:
    // Made on first use, destroyed at process exit.
    static HttpClient& shared();

    // Always returns a new response with one reference, owned by the caller;
    // failures show in its fields. The caller's reference to the request is
    // untouched. A null request gives a failed response without a request.
    HttpResponse* send(HttpRequest* request);

    // Copied into every request made afterwards.
    std::string defaultUserAgent() const;
    void setDefaultUserAgent(const std::string& userAgent);

    // TLS peers and host names are verified unless the build turned that
    // off (PELORA_TLS_VERIFY) or a development run turns it off here. Every
    // request made without verification logs a warning.
    bool tlsVerification() const { return tlsVerify_.load(); }
    void setTlsVerification(bool verify);

    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

private:
    HttpClient();
    ~HttpClient();

    mutable std::mutex mutex_;
    std::string defaultUserAgent_;
    std::atomic<bool> tlsVerify_;
};

}  // namespace RK
