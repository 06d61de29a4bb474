#pragma once
// The libcurl state of one HttpClient::send: an easy handle, the header list
// and the error buffer libcurl writes its message into. Created and destroyed
// inside send(); never reused, so no connection outlives a request.
#include <curl/curl.h>

#include <cstddef>
#include <vector>

#include "foundation/HttpRequest.h"

namespace RK {

class HttpResponse;

// Where body bytes go: the request's sink when it has one, else the
// response's body.
struct CurlBodyTarget {
    std::vector<char>* body = nullptr;
    const HttpBodySink* sink = nullptr;
    CURL* handle = nullptr;   // to ask for the announced length
    bool reserved = false;    // room for the announced length was asked for
    std::size_t maxBody = 0;  // the request's maxBodySize; 0: no limit
    std::size_t received = 0;
    bool tooLarge = false;    // the transfer was stopped at the limit
};

class CurlTransfer {
public:
    CurlTransfer();
    ~CurlTransfer();
    CurlTransfer(const CurlTransfer&) = delete;
    CurlTransfer& operator=(const CurlTransfer&) = delete;

    // Sets every option for the request, writing into the response. False
    // at the first option libcurl refuses (or without a handle).
    bool prepare(HttpRequest& request, HttpResponse& response, bool verifyTls);
    // Performs the transfer and fills status, outcome and error text.
    void perform(HttpResponse& response);

    const char* errorMessage() const { return errorBuffer_; }

    // libcurl callbacks, public so the fuzz target and tests can drive them.
    static std::size_t receiveBody(char* data, std::size_t size, std::size_t count, void* target);
    static std::size_t receiveHeader(char* data, std::size_t size, std::size_t count, void* headerText);
    // Non-zero (abort) once the request's cancel flag is set.
    static int checkCancel(void* flag, curl_off_t, curl_off_t, curl_off_t, curl_off_t);

private:
    static void reserveAnnouncedLength(CurlBodyTarget& target);
    static bool withinLimit(CurlBodyTarget& target, std::size_t n);
    void reportBodyTooLarge(HttpResponse& response, CURLcode code);
    bool setCommonOptions(HttpRequest& request, HttpResponse& response, bool verifyTls);
    bool setCancelOptions(HttpRequest& request);
    bool setCookieOptions();
    bool setMethodOptions(HttpRequest& request);

    CURL* handle_;
    curl_slist* headerList_ = nullptr;
    CurlBodyTarget bodyTarget_;
    char errorBuffer_[CURL_ERROR_SIZE] = {};
};

}  // namespace RK
