#pragma once
// The demo game's server on 127.0.0.1: the download host (version answer,
// download lists, loading picture, archives) and the application host's
// first home page, from the content tools/demo-content writes. Every request
// is logged as one JSON line (method, path, query, body, User-Agent, status).
// Tests steer it per path: answer with a status, cut the body after some
// bytes and drop the connection, delay the answer, or answer the version
// check differently.
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

namespace demoserver {

struct Options {
    std::string contentDir;  // the output directory of pelora_demo_download_content
    int port = 0;            // 0: any free port
    std::string logPath;     // JSON lines appended here; empty: no log file
    bool logToStdout = false;
    std::map<std::string, int> statusFor;  // path -> status answered instead
    std::map<std::string, long> cutAfter;  // path -> body bytes sent before the connection drops
    std::map<std::string, int> delayMs;    // path -> wait before answering
    std::optional<std::string> versionAnswer;
};

// Parses one "PATH=VALUE" flag argument; false when malformed.
bool parsePathValue(const std::string& text, std::string& path, long& value);

class DemoServer {
public:
    explicit DemoServer(Options options);
    ~DemoServer();  // stops
    DemoServer(const DemoServer&) = delete;
    DemoServer& operator=(const DemoServer&) = delete;

    // Binds 127.0.0.1 and serves on a thread; false when the port cannot be had.
    bool start();
    void stop();
    int port() const { return port_; }
    std::string baseUrl() const;

    // The JSON lines logged so far, oldest first.
    std::vector<std::string> requestLog() const;

    // Changing the steering while serving is allowed.
    void setStatus(const std::string& path, int status);
    void setCutAfter(const std::string& path, long bytes);
    void setDelay(const std::string& path, int milliseconds);
    void setVersionAnswer(const std::string& answer);
    void clearSteering();

private:
    void route();
    void answer(const httplib::Request& request, httplib::Response& response);
    void serveFile(const std::string& path, const std::string& file, const char* type,
                   httplib::Response& response);
    void log(const httplib::Request& request, const httplib::Response& response);

    Options options_;
    std::unique_ptr<httplib::Server> server_;
    std::thread thread_;
    int port_ = -1;
    mutable std::mutex mutex_;  // guards options_' steering maps and the log
    std::vector<std::string> log_;
};

}  // namespace demoserver
