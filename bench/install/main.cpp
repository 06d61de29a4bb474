// Installs a generated archive set of about 200 MB (8 archives, 272 MiB
// unpacked: directory entries, files of 64 KiB to 2 MiB, some
// archiving-system junk) and times
// it against `unzip -o -q` of the same archives into another directory, in
// the same run, alternating the two. Ours writes every file under a
// temporary name, renames it into place and syncs the file system before
// an archive counts as installed; unzip does none of that, so the run also
// reports unzip followed by a sync of the same file system.
//
// Peak memory is taken over a last pass that downloads each archive from a
// loopback server in a child process (streamed to the temporary file) and
// installs it, as a download run does.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "install/ArchiveInstall.h"
#include "install/Fetch.h"
#include "tools/demo-content/ZipWriter.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kArchives = 8;
constexpr std::size_t kArchiveContent = 34u << 20;  // uncompressed bytes per archive (about 25 MiB packed)
constexpr int kRuns = 3;

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::string archiveName(int i) { return "pack" + std::to_string(i) + ".zip"; }

// Random bytes (stored) for most files, text (deflated) for every fourth.
std::vector<democontent::ZipItem> archiveItems(int archive, std::mt19937_64& random) {
    using democontent::ZipItem;
    const std::string top = "pack" + std::to_string(archive);
    std::vector<ZipItem> items = {{ZipItem::Directory, top, ""},
                                  {ZipItem::Directory, top + "/voice", ""},
                                  {ZipItem::Directory, "__MACOSX", ""},
                                  {ZipItem::File, "__MACOSX/._" + top, "junk"}};
    std::size_t total = 0;
    for (int n = 0; total < kArchiveContent; ++n) {
        const std::size_t size = std::min<std::size_t>(kArchiveContent - total, (64u << 10) + random() % (2u << 20));
        ZipItem item{ZipItem::File, top + (n % 2 ? "/voice/" : "/") + "file" + std::to_string(n) + ".bin", "",
                     n % 4 != 0};
        item.data.resize(size);
        if (item.store) {
            for (std::size_t i = 0; i + 8 <= size; i += 8) {
                const std::uint64_t r = random();
                std::memcpy(&item.data[i], &r, 8);
            }
        } else {
            for (std::size_t i = 0; i < size; ++i) item.data[i] = "pelora voice line text "[(i * 31 + n) % 23];
        }
        total += size;
        items.push_back(std::move(item));
    }
    return items;
}

// Generated in a child so the archives' build-up never counts in our memory.
bool generateArchives(const std::string& dir) {
    const pid_t child = ::fork();
    if (child < 0) return false;
    if (child == 0) {
        std::mt19937_64 random(2026);
        for (int i = 0; i < kArchives; ++i)
            if (!democontent::writeZip(dir + "/" + archiveName(i), archiveItems(i, random))) ::_exit(1);
        ::_exit(0);
    }
    int status = 0;
    return ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool runCommand(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (::posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
    int status = 0;
    return ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool syncDirectory(const std::string& dir) {
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return false;
    const bool ok = ::syncfs(fd) == 0;
    ::close(fd);
    return ok;
}

double timeOurs(const std::string& archives, const std::string& dest) {
    const auto start = Clock::now();
    for (int i = 0; i < kArchives; ++i)
        if (!install::installArchiveFile(archives + "/" + archiveName(i), dest + "/")) return -1;
    return seconds(Clock::now() - start);
}

double timeUnzip(const std::string& archives, const std::string& dest, bool sync) {
    const auto start = Clock::now();
    for (int i = 0; i < kArchives; ++i)
        if (!runCommand({"unzip", "-o", "-q", archives + "/" + archiveName(i), "-d", dest})) return -1;
    if (sync && !syncDirectory(dest)) return -1;
    return seconds(Clock::now() - start);
}

// Serves the archive directory from a child process; the port, or -1.
int startServer(const std::string& dir, pid_t& child) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return -1;
    child = ::fork();
    if (child < 0) return -1;
    if (child == 0) {
        ::close(pipeFds[0]);
        httplib::Server server;
        server.set_mount_point("/resource/download/zip", dir);
        const int port = server.bind_to_any_port("127.0.0.1");
        if (::write(pipeFds[1], &port, sizeof port) != sizeof port) ::_exit(1);
        ::close(pipeFds[1]);
        server.listen_after_bind();
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    int port = -1;
    if (::read(pipeFds[0], &port, sizeof port) != sizeof port) port = -1;
    ::close(pipeFds[0]);
    return port;
}

long peakRssKiB() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace

int main() {
    const char* base = std::getenv("TMPDIR");
    std::string root = std::string(base && *base ? base : "/tmp") + "/install-bench-XXXXXX";
    if (::mkdtemp(root.data()) == nullptr) return 1;
    const std::string archives = root + "/archives", ours = root + "/ours", theirs = root + "/unzip";
    for (const auto& d : {archives, ours, theirs}) fs::create_directories(d);
    if (!generateArchives(archives)) {
        std::fprintf(stderr, "install: generating the archives failed\n");
        return 1;
    }
    std::uintmax_t archiveBytes = 0;
    for (const auto& e : fs::directory_iterator(archives)) archiveBytes += e.file_size();
    std::printf("%d archives, %.1f MiB, %.1f MiB unpacked\n", kArchives, archiveBytes / 1048576.0,
                kArchives * kArchiveContent / 1048576.0);
    syncDirectory(archives);
    const long rssBefore = peakRssKiB();

    std::vector<double> oursT, unzipT, unzipSyncT;
    for (int run = 0; run <= kRuns; ++run) {  // run 0 warms the caches and makes the files
        const double a = timeOurs(archives, ours);
        const double b = timeUnzip(archives, theirs, false);
        syncDirectory(theirs);  // unzip's writes are not left for our next pass to pay
        const double c = timeUnzip(archives, theirs, true);
        if (a < 0 || b < 0 || c < 0) {
            std::fprintf(stderr, "install: a pass failed (ours %.3f, unzip %.3f)\n", a, b);
            return 1;
        }
        if (run == 0) continue;
        oursT.push_back(a);
        unzipT.push_back(b);
        unzipSyncT.push_back(c);
    }
    const long rssAfterLocal = peakRssKiB();

    pid_t server = -1;
    const int port = startServer(archives, server);
    double downloadInstall = -1;
    if (port > 0) {
        const std::string temp = root + "/downloadZip.zip";
        const auto start = Clock::now();
        bool ok = true;
        for (int i = 0; i < kArchives && ok; ++i) {
            const std::string url = "http://127.0.0.1:" + std::to_string(port) + "/resource/download/zip/" + archiveName(i);
            ok = install::downloadToFile(url, temp) && install::installArchiveFile(temp, ours + "/");
        }
        if (ok) downloadInstall = seconds(Clock::now() - start);
        ::kill(server, SIGTERM);
        ::waitpid(server, nullptr, 0);
    }
    const long rssPeak = peakRssKiB();

    const double o = median(oursT), u = median(unzipT), us = median(unzipSyncT);
    std::printf("median of %d: ours %.3f s, unzip -o %.3f s, unzip -o + sync %.3f s\n", kRuns, o, u, us);
    std::printf("peak RSS: %.1f MiB before installing, %.1f MiB after local passes, %.1f MiB after download+install "
                "(%.3f s)\n",
                rssBefore / 1024.0, rssAfterLocal / 1024.0, rssPeak / 1024.0, downloadInstall);
    fs::remove_all(root);
    if (downloadInstall < 0) {
        std::fprintf(stderr, "install: the download pass failed\n");
        return 1;
    }
    std::printf("RESULT install_ratio %.2f x\n", u / o);
    std::printf("RESULT install_ratio_vs_unzip_sync %.2f x\n", us / o);
    std::printf("RESULT install_peak_rss_mib %.1f MiB\n", rssPeak / 1024.0);
    return 0;
}
