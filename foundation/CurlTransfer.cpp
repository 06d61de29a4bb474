#include "foundation/CurlTransfer.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "foundation/HttpResponse.h"
#include "platform/Log.h"

namespace RK {

CurlTransfer::CurlTransfer() : handle_(curl_easy_init()) {}

CurlTransfer::~CurlTransfer() {
    if (handle_) curl_easy_cleanup(handle_);
    curl_slist_free_all(headerList_);
}

bool CurlTransfer::prepare(HttpRequest& request, HttpResponse& response, bool verifyTls) {
    if (handle_ == nullptr) return false;
    return setCommonOptions(request, response, verifyTls) && setCancelOptions(request) && setCookieOptions() &&
           setMethodOptions(request);
}

bool CurlTransfer::setCommonOptions(HttpRequest& request, HttpResponse& response, bool verifyTls) {
    CURL* h = handle_;
    if (curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorBuffer_) != CURLE_OK) return false;
    // These three cannot fail for a valid handle; their results are not needed.
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, verifyTls ? 1L : 0L);
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, verifyTls ? 2L : 0L);
    // Time limits without SIGALRM, so send() works off the main thread.
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    if (curl_easy_setopt(h, CURLOPT_TIMEOUT, static_cast<long>(request.timeout)) != CURLE_OK ||
        curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, static_cast<long>(request.connectTimeout)) !=
            CURLE_OK) {
        return false;
    }
    if (!request.headers.empty()) {
        for (const std::string& line : request.headers) {
            curl_slist* grown = curl_slist_append(headerList_, line.c_str());
            if (grown == nullptr) return false;
            headerList_ = grown;
        }
        if (curl_easy_setopt(h, CURLOPT_HTTPHEADER, headerList_) != CURLE_OK) return false;
    }
    bodyTarget_.body = &response.body;
    bodyTarget_.handle = h;
    bodyTarget_.sink = request.bodySink ? &request.bodySink : nullptr;
    bodyTarget_.maxBody = request.maxBodySize;
    // libcurl refuses a longer announced length before any body byte; the
    // receiver enforces the limit on bodies without a length.
    if (request.maxBodySize > 0 &&
        curl_easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(request.maxBodySize)) != CURLE_OK) {
        return false;
    }
    return curl_easy_setopt(h, CURLOPT_URL, request.url.c_str()) == CURLE_OK &&
           curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &CurlTransfer::receiveBody) == CURLE_OK &&
           curl_easy_setopt(h, CURLOPT_WRITEDATA, &bodyTarget_) == CURLE_OK &&
           curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, &CurlTransfer::receiveHeader) == CURLE_OK &&
           curl_easy_setopt(h, CURLOPT_HEADERDATA, &response.headerText) == CURLE_OK &&
           curl_easy_setopt(h, CURLOPT_USERAGENT, request.userAgent.c_str()) == CURLE_OK;
}

// libcurl asks the progress callback many times a second while bytes flow
// and about once a second while the line is quiet, so a cancelled transfer
// ends within that time.
bool CurlTransfer::setCancelOptions(HttpRequest& request) {
    if (!request.cancel) return true;
    // The request outlives the transfer, and so does the flag it holds.
    return curl_easy_setopt(handle_, CURLOPT_XFERINFOFUNCTION, &CurlTransfer::checkCancel) == CURLE_OK &&
           curl_easy_setopt(handle_, CURLOPT_XFERINFODATA, const_cast<std::atomic<bool>*>(request.cancel.get())) ==
               CURLE_OK &&
           curl_easy_setopt(handle_, CURLOPT_NOPROGRESS, 0L) == CURLE_OK;
}

int CurlTransfer::checkCancel(void* flag, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<const std::atomic<bool>*>(flag)->load() ? 1 : 0;
}

bool CurlTransfer::setCookieOptions() {
    const std::string cookies = cookieFilePath();
    if (cookies.empty()) return true;
    // libcurl copies string options, so the local string may go afterwards.
    return curl_easy_setopt(handle_, CURLOPT_COOKIEFILE, cookies.c_str()) == CURLE_OK &&
           curl_easy_setopt(handle_, CURLOPT_COOKIEJAR, cookies.c_str()) == CURLE_OK;
}

bool CurlTransfer::setMethodOptions(HttpRequest& request) {
    CURL* h = handle_;
    // libcurl does not copy POSTFIELDS: the request outlives the transfer.
    const char* fields = request.body.empty() ? nullptr : request.body.data();
    const long fieldsSize = static_cast<long>(request.body.size());
    switch (request.method) {
        case HttpMethodGet:
            return curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L) == CURLE_OK;
        case HttpMethodPost:
            return curl_easy_setopt(h, CURLOPT_POST, 1L) == CURLE_OK &&
                   curl_easy_setopt(h, CURLOPT_POSTFIELDS, fields) == CURLE_OK &&
                   curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE, fieldsSize) == CURLE_OK;
        case HttpMethodPut:
            return curl_easy_setopt(h, CURLOPT_CUSTOMREQUEST, "PUT") == CURLE_OK &&
                   curl_easy_setopt(h, CURLOPT_POSTFIELDS, fields) == CURLE_OK &&
                   curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE, fieldsSize) == CURLE_OK;
        case HttpMethodDelete:
            return curl_easy_setopt(h, CURLOPT_CUSTOMREQUEST, "DELETE") == CURLE_OK &&
                   curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L) == CURLE_OK;
        default:
            std::snprintf(errorBuffer_, sizeof errorBuffer_, "unsupported HTTP method %d",
                          request.method);
            return false;
    }
}

void CurlTransfer::perform(HttpResponse& response) {
    long status = -1;
    const CURLcode code = curl_easy_perform(handle_);
    bool ok = code == CURLE_OK && curl_easy_getinfo(handle_, CURLINFO_RESPONSE_CODE, &status) == CURLE_OK;
    ok = ok && status >= 200 && status <= 299;
    response.statusCode = static_cast<int>(status);
    response.succeeded = ok;
    if (code == CURLE_FILESIZE_EXCEEDED || bodyTarget_.tooLarge) reportBodyTooLarge(response, code);
    if (!ok) response.errorText = errorBuffer_;
}

void CurlTransfer::reportBodyTooLarge(HttpResponse& response, CURLcode code) {
    if (code == CURLE_FILESIZE_EXCEEDED) {
        platform::log("RK::HttpClient: announced body longer than the limit of %zu bytes, transfer refused",
                      bodyTarget_.maxBody);
    }
    response.bodyTooLarge = true;
    // What arrived before the limit is not the answer; do not keep it.
    std::vector<char>().swap(response.body);
    std::snprintf(errorBuffer_, sizeof errorBuffer_, "response body over the limit of %zu bytes",
                  bodyTarget_.maxBody);
}

namespace {

// Growing a vector chunk by chunk to tens of MiB copies and faults the body
// several times over; one reservation for the announced length avoids that.
// A lying server can only make us reserve up to the cap, never more.
constexpr curl_off_t kMaxReservation = 512 * 1024 * 1024;

}  // namespace

void CurlTransfer::reserveAnnouncedLength(CurlBodyTarget& target) {
    target.reserved = true;
    curl_off_t announced = -1;
    if (target.handle == nullptr ||
        curl_easy_getinfo(target.handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced) != CURLE_OK) {
        return;
    }
    if (announced > 0 && announced <= kMaxReservation) {
        target.body->reserve(target.body->size() + static_cast<std::size_t>(announced));
    }
}

bool CurlTransfer::withinLimit(CurlBodyTarget& target, std::size_t n) {
    target.received += n;
    if (target.maxBody == 0 || target.received <= target.maxBody) return true;
    target.tooLarge = true;
    platform::log("RK::HttpClient: body longer than the limit of %zu bytes, transfer aborted", target.maxBody);
    return false;
}

std::size_t CurlTransfer::receiveBody(char* data, std::size_t size, std::size_t count, void* target) {
    const std::size_t n = size * count;
    auto* t = static_cast<CurlBodyTarget*>(target);
    if (!withinLimit(*t, n)) return 0;
    // An exception (a sink that throws, memory running out) must not unwind
    // through libcurl's C frames; it ends the transfer instead.
    try {
        if (t->sink == nullptr) {
            if (!t->reserved) reserveAnnouncedLength(*t);
            t->body->insert(t->body->end(), data, data + n);
            return n;
        }
        if ((*t->sink)(data, n)) return n;
        platform::log("RK::HttpClient: body sink refused %zu bytes, transfer aborted", n);
    } catch (const std::bad_alloc&) {
        platform::log("RK::HttpClient: out of memory for the body, transfer aborted");
    } catch (...) {
        platform::log("RK::HttpClient: body sink threw, transfer aborted");
    }
    return 0;  // anything but n makes libcurl stop with a write error
}

std::size_t CurlTransfer::receiveHeader(char* data, std::size_t size, std::size_t count,
                                        void* headerText) {
    const std::size_t n = size * count;
    if (n == 0) return 0;
    auto* text = static_cast<std::vector<char>*>(headerText);
    // Lines normally end in CR LF; a server may send a bare LF, or (at the
    // very end) nothing. Whatever the ending, store the line with one "\n".
    std::size_t keep = n;
    if (keep > 0 && data[keep - 1] == '\n') --keep;
    if (keep > 0 && data[keep - 1] == '\r') --keep;
    text->insert(text->end(), data, data + keep);
    text->push_back('\n');
    return n;
}

}  // namespace RK
