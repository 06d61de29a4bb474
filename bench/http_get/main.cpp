// Loopback GET throughput of RK::HttpClient against the curl command-line
// tool fetching the same 64 MiB body from the same server in the same run.
//
// Headline: the body-sink path (the one archive downloads take), whose
// callback discards the chunks, as curl discards into /dev/null. The ordinary
// path, where the response collects the whole body in memory, is reported
// too; it also pays for faulting in 64 MiB of fresh memory, which curl never
// touches.
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "foundation/HttpClient.h"
#include "foundation/HttpRequest.h"
#include "foundation/HttpResponse.h"
#include "foundation/Ref.h"
#include "tests/support/LoopbackServer.h"

extern char** environ;

namespace {

constexpr std::size_t kBodySize = 64u << 20;
constexpr std::size_t kChunk = 256u << 10;
constexpr int kRuns = 9;

using Clock = std::chrono::steady_clock;

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// One GET through the client; the time, or a negative value on failure.
double timeClient(const std::string& url, bool sink) {
    auto request = RK::RefPtr<RK::HttpGetRequest>::adopt(new RK::HttpGetRequest);
    request->setUrl(url.c_str());
    std::size_t received = 0;
    if (sink) {
        request->bodySink = [&received](const char*, std::size_t n) {
            received += n;
            return true;
        };
    }
    const auto start = Clock::now();
    auto response = RK::RefPtr<RK::HttpResponse>::adopt(RK::HttpClient::shared().send(request.get()));
    if (!sink) received = response->body.size();
    response = {};  // freeing the body is part of the cost
    const double t = seconds(Clock::now() - start);
    return received == kBodySize ? t : -1.0;
}

// One `curl -s -o /dev/null URL`, process start included.
double timeCurl(const std::string& url) {
    std::vector<std::string> args = {"curl", "-s", "-o", "/dev/null", url};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const auto start = Clock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, "curl", nullptr, nullptr, argv.data(), environ) != 0) return -1.0;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1.0;
    return seconds(Clock::now() - start);
}

}  // namespace

int main() {
    std::vector<char> body(kBodySize);
    for (std::size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>(i * 131 + (i >> 12));

    testsupport::LoopbackServer server;
    server.server().Get("/big.zip", [&body](const httplib::Request&, httplib::Response& res) {
        res.set_content_provider(body.size(), "application/zip",
                                 [&body](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                                     return sink.write(body.data() + offset, std::min(length, kChunk));
                                 });
    });
    if (!server.start()) {
        std::fprintf(stderr, "http_get: cannot start the loopback server\n");
        return 1;
    }
    const std::string url = server.url("/big.zip");

    // Warm up caches, the page allocator and the curl binary.
    if (timeClient(url, false) < 0 || timeClient(url, true) < 0 || timeCurl(url) < 0) {
        std::fprintf(stderr, "http_get: a warm-up transfer failed\n");
        return 1;
    }

    std::vector<double> ours, sunk, curl;
    for (int i = 0; i < kRuns; ++i) {  // interleaved so drift hits all three alike
        const double a = timeClient(url, false), b = timeClient(url, true), c = timeCurl(url);
        if (a < 0 || b < 0 || c < 0) {
            std::fprintf(stderr, "http_get: transfer %d failed\n", i);
            return 1;
        }
        ours.push_back(a);
        sunk.push_back(b);
        curl.push_back(c);
    }

    const double mib = static_cast<double>(kBodySize) / (1 << 20);
    const double oursRate = mib / median(ours), sunkRate = mib / median(sunk), curlRate = mib / median(curl);
    std::printf("http_get: %d runs of a %.0f MiB loopback GET, medians\n", kRuns, mib);
    std::printf("  RK::HttpClient, body in memory : %8.1f MiB/s (%.1f ms)\n", oursRate, median(ours) * 1e3);
    std::printf("  RK::HttpClient, discarding sink: %8.1f MiB/s (%.1f ms)\n", sunkRate, median(sunk) * 1e3);
    std::printf("  curl -s -o /dev/null (baseline): %8.1f MiB/s (%.1f ms)\n", curlRate, median(curl) * 1e3);
    std::printf("RESULT http_get_memory_ratio %.2f x\n", oursRate / curlRate);
    std::printf("RESULT http_get_mib_per_s %.1f MiB/s\n", sunkRate);
    std::printf("RESULT http_get_ratio %.2f x\n", sunkRate / curlRate);
    return 0;
}
