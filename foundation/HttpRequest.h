#pragma once
// One HTTP request for RK::HttpClient::send. Built by its creator, who
// releases it when done; a response keeps it alive as long as it needs it.
#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "foundation/Ref.h"

namespace RK {

enum HttpMethod : int {
    HttpMethodGet = 1,
    HttpMethodPost = 2,
    HttpMethodPut = 3,
    HttpMethodDelete = 4,
};

// Receives the response body chunk by chunk instead of the response
// collecting it; returning false aborts the transfer (for example when the
// file it writes to is full).
using HttpBodySink = std::function<bool(const char* data, std::size_t length)>;

// Turned true from any thread to stop a transfer in flight: it then ends
// as a failure ("aborted") within a moment, not after the whole body.
// Shared, so whoever sets it and the transfer may end in either order.
using HttpCancelFlag = std::shared_ptr<const std::atomic<bool>>;

class HttpRequest : public Ref {
public:
    // userAgent starts as a copy of the client's default user agent.
    HttpRequest();

    // "dd://rest" (any letter case) becomes "http://" + defaultHost() + "/rest";
    // any other text is taken as it is. Null gives an empty url.
    void setUrl(const char* text);

    int method = 0;                    // an HttpMethod; 0 until set
    std::string url;
    std::vector<char> body;            // sent with POST and PUT
    std::vector<std::string> headers;  // complete header lines without line end
    int connectTimeout = 30;           // seconds
    int timeout = 60;                  // seconds, whole transfer
    std::string userAgent;
    // When set, body bytes go here and the response's body stays empty.
    HttpBodySink bodySink;
    // When set, the transfer stops as soon as it turns true.
    HttpCancelFlag cancel;
    // Largest body accepted, in bytes; 0 accepts any length. A longer body,
    // announced by Content-Length or found while receiving, ends the
    // transfer as a failure with the response's bodyTooLarge set.
    std::size_t maxBodySize = 0;

protected:
    ~HttpRequest() override = default;
};

class HttpGetRequest : public HttpRequest {
public:
    HttpGetRequest() { method = HttpMethodGet; }

protected:
    ~HttpGetRequest() override = default;
};

// Host put in front of "dd://" URLs; empty unless set.
std::string defaultHost();
void setDefaultHost(const std::string& host);
// Cookie file read and written by every request when not empty; empty unless set.
std::string cookieFilePath();
void setCookieFilePath(const std::string& path);

}  // namespace RK
