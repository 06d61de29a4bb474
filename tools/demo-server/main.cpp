// The demo game server: pelora_demo_server [flags]
//   --port N              listen on 127.0.0.1:N; 0 takes any free port. The default,
//                         8080, is where the client's compiled-in hosts point.
//   --content DIR         the generated content (default: the build's demo-content)
//   --log FILE            append the request log (JSON lines) to FILE; "-" for stdout
//   --status PATH=CODE    answer PATH with CODE and an error page
//   --cut PATH=BYTES      send BYTES of PATH's body, then drop the connection
//   --delay PATH=MS       wait MS milliseconds before answering PATH
//   --version TEXT        answer the version check with TEXT
// Prints "demo-server: listening on http://127.0.0.1:<port>" once serving,
// and stops on SIGINT or SIGTERM.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "tools/demo-server/DemoServer.h"

#ifndef PELORA_DEMO_CONTENT_DIR
#define PELORA_DEMO_CONTENT_DIR ""
#endif

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void onSignal(int) { stopRequested = 1; }

int usage(const char* why) {
    std::fprintf(stderr, "pelora_demo_server: %s\n", why);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    demoserver::Options options;
    options.contentDir = PELORA_DEMO_CONTENT_DIR;
    options.port = 8080;
    for (int i = 1; i < argc; ++i) {
        const std::string flag = argv[i];
        if (i + 1 >= argc) return usage(("missing value after " + flag).c_str());
        const std::string value = argv[++i];
        std::string path;
        long number = 0;
        if (flag == "--port") {
            options.port = std::atoi(value.c_str());
        } else if (flag == "--content") {
            options.contentDir = value;
        } else if (flag == "--log") {
            if (value == "-") options.logToStdout = true; else options.logPath = value;
        } else if (flag == "--version") {
            options.versionAnswer = value;
        } else if (flag == "--status" || flag == "--cut" || flag == "--delay") {
            if (!demoserver::parsePathValue(value, path, number)) return usage(("bad PATH=VALUE: " + value).c_str());
            if (flag == "--status") options.statusFor[path] = static_cast<int>(number);
            if (flag == "--cut") options.cutAfter[path] = number;
            if (flag == "--delay") options.delayMs[path] = static_cast<int>(number);
        } else {
            return usage(("unknown flag " + flag).c_str());
        }
    }
    if (options.contentDir.empty()) return usage("no content directory (--content DIR)");

    demoserver::DemoServer server(options);
    if (!server.start()) return usage("cannot listen on 127.0.0.1");
    std::printf("demo-server: listening on %s\n", server.baseUrl().c_str());
    std::fflush(stdout);

    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    while (!stopRequested) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    server.stop();
    std::printf("demo-server: stopped\n");
    return 0;
}
