#pragma once
// A real HTTP server on 127.0.0.1 for tests and benchmarks: register
// handlers on server(), start(), then talk to url(path). Every request it
// answered is recorded (method, path, headers, body) for assertions.
#include <httplib.h>

#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

struct RecordedRequest {
    std::string method;
    std::string path;
    std::string query;  // raw "a=1&b=2" as sent, empty when none
    httplib::Headers headers;
    std::string body;
    int status = 0;  // what the server answered

    std::string header(const std::string& name) const;  // "" when absent
    bool hasHeader(const std::string& name) const { return headers.count(name) != 0; }
};

enum class Transport { Plain, TlsSelfSigned };

class LoopbackServer {
public:
    // TlsSelfSigned serves HTTPS with a fresh self-signed certificate for
    // "127.0.0.1", which a verifying client must refuse.
    explicit LoopbackServer(Transport transport = Transport::Plain);
    ~LoopbackServer();  // stops and joins the server thread
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    // Register handlers here before start(). The post-routing handler is
    // taken by the request recorder.
    httplib::Server& server() { return *server_; }

    // Binds a free port on 127.0.0.1 and serves on a thread. Connections
    // are accepted (queued) as soon as this returns true.
    bool start();
    void stop();

    int port() const { return port_; }
    std::string baseUrl() const;  // "http://127.0.0.1:<port>" (or https)
    std::string url(const std::string& path) const;  // baseUrl() + path

    std::vector<RecordedRequest> requests() const;
    RecordedRequest lastRequest() const;  // a default one when none arrived
    void clearRequests();

private:
    std::unique_ptr<httplib::Server> server_;
    bool tls_ = false;
    std::thread thread_;
    int port_ = -1;
    mutable std::mutex mutex_;
    std::vector<RecordedRequest> requests_;
};

// A loopback port where nothing listens: the socket is bound but never
// listened on, so connecting is refused for as long as the object lives and
// no other process can take the port meanwhile.
class ClosedPort {
public:
    ClosedPort();
    ~ClosedPort();
    ClosedPort(const ClosedPort&) = delete;
    ClosedPort& operator=(const ClosedPort&) = delete;

    int port() const { return port_; }
    std::string url(const std::string& path) const;

private:
    int fd_ = -1;
    int port_ = -1;
};

}  // namespace testsupport
