#pragma once
// A download host on 127.0.0.1 whose answers a test sets path by path:
// status, body, and optionally a cut after some bytes (the connection then
// closes mid-body), or without a length. Paths without an answer get 404.
#include <map>
#include <mutex>
#include <string>

#include "tests/support/LoopbackServer.h"

namespace installtest {

struct Answer {
    int status = 200;
    std::string body;
    long cutAfter = -1;  // bytes sent before the connection is dropped; -1 sends all
    bool chunked = false;  // sent without a Content-Length (cutAfter then unused)
};

class FakeDownloadHost {
public:
    FakeDownloadHost();
    bool start() { return server_.start(); }
    std::string host() const { return server_.baseUrl(); }

    void set(const std::string& path, Answer answer);
    void remove(const std::string& path);
    // Paths (with "?query" when there was one) in the order they were asked for.
    std::vector<std::string> requested() const;
    void clearRequests() { server_.clearRequests(); }

private:
    bool lookup(const std::string& path, Answer& out) const;

    testsupport::LoopbackServer server_;
    mutable std::mutex mutex_;
    std::map<std::string, Answer> answers_;
};

}  // namespace installtest
