#include "tests/support/LoopbackServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

#include <openssl/evp.h>
#include <openssl/x509.h>

namespace testsupport {
namespace {

// A throw-away RSA key and a self-signed certificate for 127.0.0.1, valid
// for a day. Returns false when OpenSSL refuses any step.
bool makeSelfSigned(EVP_PKEY*& key, X509*& cert) {
    key = EVP_RSA_gen(2048);
    cert = X509_new();
    if (key == nullptr || cert == nullptr) return false;
    ASN1_INTEGER_set(X509_get_serialNumber(cert), 1);
    X509_gmtime_adj(X509_getm_notBefore(cert), -60);
    X509_gmtime_adj(X509_getm_notAfter(cert), 24 * 3600);
    X509_set_pubkey(cert, key);
    X509_NAME* name = X509_get_subject_name(cert);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>("127.0.0.1"), -1, -1, 0);
    X509_set_issuer_name(cert, name);
    return X509_sign(cert, key, EVP_sha256()) > 0;
}

std::unique_ptr<httplib::Server> makeServer(Transport transport) {
    if (transport == Transport::Plain) return std::make_unique<httplib::Server>();
    EVP_PKEY* key = nullptr;
    X509* cert = nullptr;
    std::unique_ptr<httplib::Server> server;
    if (makeSelfSigned(key, cert)) server = std::make_unique<httplib::SSLServer>(cert, key);
    // The server's SSL context holds references of its own.
    X509_free(cert);
    EVP_PKEY_free(key);
    return server ? std::move(server) : std::make_unique<httplib::Server>();
}

}  // namespace

std::string RecordedRequest::header(const std::string& name) const {
    auto it = headers.find(name);
    return it == headers.end() ? std::string() : it->second;
}

LoopbackServer::LoopbackServer(Transport transport)
    : server_(makeServer(transport)), tls_(transport == Transport::TlsSelfSigned) {
    // Recorded before the answer goes out (a logger would run after it), so
    // a client that has its response always finds its request here.
    server_->set_post_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
        RecordedRequest r;
        r.method = req.method;
        r.path = req.path;
        const auto q = req.target.find('?');
        if (q != std::string::npos) r.query = req.target.substr(q + 1);
        r.headers = req.headers;
        r.body = req.body;
        r.status = res.status;
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(std::move(r));
    });
}

LoopbackServer::~LoopbackServer() { stop(); }

bool LoopbackServer::start() {
    if (thread_.joinable()) return true;
    port_ = server_->bind_to_any_port("127.0.0.1");
    if (port_ <= 0) return false;
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    // stop() only works once the server runs; wait for that so a quick
    // stop never leaves the thread serving forever.
    for (int i = 0; i < 5000 && !server_->is_running(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return server_->is_running();
}

void LoopbackServer::stop() {
    if (!thread_.joinable()) return;
    server_->stop();
    thread_.join();
}

std::string LoopbackServer::baseUrl() const {
    return (tls_ ? "https://127.0.0.1:" : "http://127.0.0.1:") + std::to_string(port_);
}

std::string LoopbackServer::url(const std::string& path) const { return baseUrl() + path; }

std::vector<RecordedRequest> LoopbackServer::requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

RecordedRequest LoopbackServer::lastRequest() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_.empty() ? RecordedRequest{} : requests_.back();
}

void LoopbackServer::clearRequests() {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.clear();
}

ClosedPort::ClosedPort() {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd_ < 0) return;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    socklen_t len = sizeof addr;
    if (::bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len) == 0) {
        port_ = ntohs(addr.sin_port);
    }
}

ClosedPort::~ClosedPort() {
    if (fd_ >= 0) ::close(fd_);
}

std::string ClosedPort::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

}  // namespace testsupport
