#pragma once
// The answer to one request: status, body, header lines and, on failure,
// libcurl's error text. Owned by the caller of send(), who releases it.
#include <string>
#include <vector>

#include "foundation/Ref.h"

namespace RK {

class HttpRequest;

class HttpResponse : public Ref {
public:
    // Retains the request (which may be null) for the response's whole life.
    explicit HttpResponse(HttpRequest* request);

    HttpRequest* request() const { return request_; }
    // The body as a string, zero bytes included.
    std::string bodyString() const { return std::string(body.begin(), body.end()); }
    std::string headerString() const { return std::string(headerText.begin(), headerText.end()); }

    bool succeeded = false;         // transfer worked and status is 200..299
    std::vector<char> body;         // empty when the request had a body sink
    std::vector<char> headerText;   // every received header line, each ending in "\n"
    int statusCode = -1;            // -1 when no status was read
    std::string errorText;          // libcurl's message when not succeeded (may be empty)
    bool bodyTooLarge = false;      // the body passed the request's maxBodySize; body is then empty

protected:
    ~HttpResponse() override;

private:
    HttpRequest* request_;
};

}  // namespace RK
