#include "tools/demo-server/DemoServer.h"

#include <httplib.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>

namespace demoserver {
namespace {

bool readWhole(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

// A file name from a request that may be looked up below the content.
bool isPlainName(const std::string& name) {
    return !name.empty() && name.find('/') == std::string::npos && name.find('\\') == std::string::npos &&
           name.find("..") == std::string::npos;
}

// The query as sent ("id=3"), empty when none.
std::string queryOf(const httplib::Request& request) {
    const size_t mark = request.target.find('?');
    return mark == std::string::npos ? std::string() : request.target.substr(mark + 1);
}

}  // namespace

bool parsePathValue(const std::string& text, std::string& path, long& value) {
    const size_t eq = text.rfind('=');
    if (eq == std::string::npos || eq == 0 || text[0] != '/') return false;
    char* end = nullptr;
    const std::string number = text.substr(eq + 1);
    value = std::strtol(number.c_str(), &end, 10);
    if (number.empty() || *end != '\0') return false;
    path = text.substr(0, eq);
    return true;
}

DemoServer::DemoServer(Options options) : options_(std::move(options)), server_(std::make_unique<httplib::Server>()) {
    route();
}

DemoServer::~DemoServer() { stop(); }

void DemoServer::route() {
    auto handler = [this](const httplib::Request& request, httplib::Response& response) { answer(request, response); };
    server_->Get(R"(.*)", handler);
    server_->Post(R"(.*)", handler);
}

bool DemoServer::start() {
    if (options_.port == 0) {
        port_ = server_->bind_to_any_port("127.0.0.1");
    } else {
        port_ = server_->bind_to_port("127.0.0.1", options_.port) ? options_.port : -1;
    }
    if (port_ <= 0) return false;
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    return true;
}

void DemoServer::stop() {
    if (server_) server_->stop();
    if (thread_.joinable()) thread_.join();
}

std::string DemoServer::baseUrl() const { return "http://127.0.0.1:" + std::to_string(port_); }

std::vector<std::string> DemoServer::requestLog() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return log_;
}

void DemoServer::setStatus(const std::string& path, int status) {
    std::lock_guard<std::mutex> lock(mutex_);
    options_.statusFor[path] = status;
}

void DemoServer::setCutAfter(const std::string& path, long bytes) {
    std::lock_guard<std::mutex> lock(mutex_);
    options_.cutAfter[path] = bytes;
}

void DemoServer::setDelay(const std::string& path, int milliseconds) {
    std::lock_guard<std::mutex> lock(mutex_);
    options_.delayMs[path] = milliseconds;
}

void DemoServer::setVersionAnswer(const std::string& answer) {
    std::lock_guard<std::mutex> lock(mutex_);
    options_.versionAnswer = answer;
}

void DemoServer::clearSteering() {
    std::lock_guard<std::mutex> lock(mutex_);
    options_.statusFor.clear();
    options_.cutAfter.clear();
    options_.delayMs.clear();
}

void DemoServer::answer(const httplib::Request& request, httplib::Response& response) {
    // Logged here, before the answer goes out, so the log keeps the order in
    // which a client's requests arrived.
    struct LogOnReturn {
        DemoServer& server;
        const httplib::Request& request;
        httplib::Response& response;
        ~LogOnReturn() { server.log(request, response); }
    } logOnReturn{*this, request, response};
    int delay = 0;
    std::optional<int> status;
    std::optional<std::string> version;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (auto it = options_.delayMs.find(request.path); it != options_.delayMs.end()) delay = it->second;
        if (auto it = options_.statusFor.find(request.path); it != options_.statusFor.end()) status = it->second;
        version = options_.versionAnswer;
    }
    if (delay > 0) std::this_thread::sleep_for(std::chrono::milliseconds(delay));
    if (status) {
        response.status = *status;
        response.set_content("<html><body>demo server answers " + std::to_string(*status) + "</body></html>",
                             "text/html");
        return;
    }
    const std::string& path = request.path;
    const std::string& content = options_.contentDir;
    if (path == "/app_version.php") {
        if (version) {
            response.set_content(*version, "text/plain");
            return;
        }
        serveFile(path, content + "/version.txt", "text/plain", response);
    } else if (path == "/app_dl_list.php") {
        const long id = request.has_param("id") ? std::strtol(request.get_param_value("id").c_str(), nullptr, 10) : 0;
        serveFile(path, content + "/lists/list_" + std::to_string(id & 7) + ".txt", "text/plain", response);
    } else if (path == "/img/php/app_dl_img_all.php") {
        serveFile(path, content + "/img/app_dl_img_all.jpg", "image/jpeg", response);
    } else if (path.rfind("/resource/download/zip/", 0) == 0 && isPlainName(path.substr(23))) {
        serveFile(path, content + "/zip/" + path.substr(23), "application/zip", response);
    } else if (path == "/" || path == "/index.php") {
        serveFile(path, content + "/app/index.html", "text/html; charset=utf-8", response);
    } else {
        response.status = 404;
        response.set_content("not found", "text/plain");
    }
}

void DemoServer::serveFile(const std::string& path, const std::string& file, const char* type,
                           httplib::Response& response) {
    std::string body;
    if (!readWhole(file, body)) {
        response.status = 404;
        response.set_content("not found", "text/plain");
        return;
    }
    long cut = -1;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (auto it = options_.cutAfter.find(path); it != options_.cutAfter.end()) cut = it->second;
    }
    if (cut < 0) {
        response.set_content(body, type);
        return;
    }
    // Announce the whole length, send part of it, then drop the connection.
    auto shared = std::make_shared<std::string>(std::move(body));
    const auto limit = static_cast<size_t>(cut);
    response.set_content_provider(shared->size(), type,
                                  [shared, limit](size_t offset, size_t length, httplib::DataSink& sink) {
                                      if (offset >= limit) return false;
                                      sink.write(shared->data() + offset, std::min(length, limit - offset));
                                      return true;
                                  });
}

void DemoServer::log(const httplib::Request& request, const httplib::Response& response) {
    nlohmann::json line = {{"method", request.method},
                           {"path", request.path},
                           {"query", queryOf(request)},
                           {"body", request.body},
                           {"user_agent", request.get_header_value("User-Agent")},
                           {"status", response.status == -1 ? 200 : response.status}};
    const std::string text = line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    std::lock_guard<std::mutex> lock(mutex_);
    log_.push_back(text);
    if (options_.logToStdout) {
        std::fprintf(stdout, "%s\n", text.c_str());
        std::fflush(stdout);
    }
    if (!options_.logPath.empty()) {
        std::ofstream out(options_.logPath, std::ios::app);
        out << text << '\n';
    }
}

}  // namespace demoserver
