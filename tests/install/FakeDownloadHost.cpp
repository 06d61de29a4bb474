#include "tests/install/FakeDownloadHost.h"

#include <algorithm>
#include <memory>

namespace installtest {

FakeDownloadHost::FakeDownloadHost() {
    server_.server().Get(R"(.*)", [this](const httplib::Request& request, httplib::Response& response) {
        Answer answer;
        if (!lookup(request.path, answer)) {
            response.status = 404;
            response.set_content("not here", "text/plain");
            return;
        }
        response.status = answer.status;
        if (answer.chunked) {
            auto body = std::make_shared<std::string>(answer.body);
            response.set_chunked_content_provider(
                "application/octet-stream", [body](size_t offset, httplib::DataSink& sink) {
                    const size_t n = std::min<size_t>(64 * 1024, body->size() - offset);
                    if (n > 0 && !sink.write(body->data() + offset, n)) return false;
                    if (offset + n == body->size()) sink.done();
                    return true;
                });
            return;
        }
        if (answer.cutAfter < 0) {
            response.set_content(answer.body, "application/octet-stream");
            return;
        }
        auto body = std::make_shared<std::string>(answer.body);
        const auto cut = static_cast<size_t>(answer.cutAfter);
        response.set_content_provider(body->size(), "application/octet-stream",
                                      [body, cut](size_t offset, size_t length, httplib::DataSink& sink) {
                                          if (offset >= cut) return false;  // drop the connection
                                          const size_t n = std::min(length, cut - offset);
                                          sink.write(body->data() + offset, n);
                                          return true;
                                      });
    });
}

void FakeDownloadHost::set(const std::string& path, Answer answer) {
    std::lock_guard<std::mutex> lock(mutex_);
    answers_[path] = std::move(answer);
}

void FakeDownloadHost::remove(const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    answers_.erase(path);
}

bool FakeDownloadHost::lookup(const std::string& path, Answer& out) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = answers_.find(path);
    if (it == answers_.end()) return false;
    out = it->second;
    return true;
}

std::vector<std::string> FakeDownloadHost::requested() const {
    std::vector<std::string> out;
    for (const auto& r : server_.requests()) out.push_back(r.query.empty() ? r.path : r.path + "?" + r.query);
    return out;
}

}  // namespace installtest
