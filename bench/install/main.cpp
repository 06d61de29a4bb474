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
//
// A second case installs archives of many tiny entries (10^3 and 10^5
// files of 16 to 63 bytes in directories of 1000), each downloaded and
// installed by a fresh process whose peak RSS (wait4's ru_maxrss) tells
// whether memory grows with the number of entries; its time is set against
// `unzip -o -q` + sync of the same archive. `install --many-only` runs just
// this case.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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
constexpr int kManyEntries = 100000;
constexpr int kFewEntries = 1000;
constexpr int kEntriesPerDirectory = 1000;

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

std::string tinyArchiveName(int entries) { return "tiny" + std::to_string(entries) + ".zip"; }

std::vector<democontent::ZipItem> tinyItems(int entries) {
    using democontent::ZipItem;
    std::vector<ZipItem> items;
    for (int n = 0; n < entries; ++n) {
        const std::string dir = "tiny/d" + std::to_string(n / kEntriesPerDirectory);
        if (n % kEntriesPerDirectory == 0) {
            if (n == 0) items.push_back({ZipItem::Directory, "tiny", ""});
            items.push_back({ZipItem::Directory, dir, ""});
        }
        const std::string text = "voice line " + std::to_string(n) + std::string(5 + n % 48, '.');
        items.push_back({ZipItem::File, dir + "/f" + std::to_string(n) + ".txt", text});
    }
    return items;
}

bool generateTinyArchives(const std::string& dir) {
    const pid_t child = ::fork();
    if (child < 0) return false;
    if (child == 0) {
        for (int entries : {kFewEntries, kManyEntries})
            if (!democontent::writeZip(dir + "/" + tinyArchiveName(entries), tinyItems(entries))) ::_exit(1);
        ::_exit(0);
    }
    int status = 0;
    return ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// In the fresh process: what a download run does with one archive.
int downloadAndInstall(const char* url, const char* temp, const char* dest) {
    return install::downloadToFile(url, temp) && install::installArchiveFile(temp, dest) ? 0 : 1;
}

struct ChildFigures {
    double seconds = -1;     // wall clock, from spawn to exit
    double cpuSeconds = -1;  // user + system: less at the mercy of a shared disk
    long peakKiB = -1;
};

double cpuSecondsOf(const rusage& usage) {
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Runs this program again as `--download-install url temp dest`, so the
// peak RSS is the install's own, not inherited from this process.
ChildFigures measureInFreshProcess(const std::string& url, const std::string& temp, const std::string& dest) {
    std::vector<std::string> args = {"/proc/self/exe", "--download-install", url, temp, dest};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    ChildFigures figures;
    const auto start = Clock::now();
    pid_t pid = 0;
    if (::posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return figures;
    int status = 0;
    rusage usage{};
    if (::wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return figures;
    figures.seconds = seconds(Clock::now() - start);
    figures.cpuSeconds = cpuSecondsOf(usage);
    figures.peakKiB = usage.ru_maxrss;
    return figures;
}

// The many-entries case; false when a pass failed.
bool runManyEntries(const std::string& root) {
    const std::string archives = root + "/tiny-archives", temp = root + "/downloadZip.zip";
    fs::create_directories(archives);
    const auto generating = Clock::now();
    if (!generateTinyArchives(archives)) {
        std::fprintf(stderr, "install: generating the tiny archives failed\n");
        return false;
    }
    syncDirectory(archives);
    std::printf("tiny archives generated in %.1f s\n", seconds(Clock::now() - generating));
    pid_t server = -1;
    const int port = startServer(archives, server);
    if (port <= 0) return false;
    const std::string base = "http://127.0.0.1:" + std::to_string(port) + "/resource/download/zip/";
    ChildFigures few, many;
    for (int entries : {kFewEntries, kManyEntries}) {
        const std::string dest = root + "/tiny-ours-" + std::to_string(entries);
        fs::create_directories(dest);
        (entries == kManyEntries ? many : few) =
            measureInFreshProcess(base + tinyArchiveName(entries), temp, dest + "/");
        const auto removing = Clock::now();
        fs::remove_all(dest);
        std::printf("removed %d files in %.1f s\n", entries, seconds(Clock::now() - removing));
    }
    ::kill(server, SIGTERM);
    ::waitpid(server, nullptr, 0);
    const std::string theirs = root + "/tiny-unzip";
    fs::create_directories(theirs);
    const auto start = Clock::now();
    const bool unzipped = runCommand({"unzip", "-o", "-q", archives + "/" + tinyArchiveName(kManyEntries), "-d", theirs}) &&
                          syncDirectory(theirs);
    const double unzipSync = seconds(Clock::now() - start);
    fs::remove_all(theirs);
    if (few.seconds < 0 || many.seconds < 0 || !unzipped) {
        std::fprintf(stderr, "install: a many-entries pass failed\n");
        return false;
    }
    std::printf("%d tiny entries: download+install %.3f s (%.3f s CPU), peak RSS %.1f MiB; %d entries: %.3f s "
                "(%.3f s CPU), %.1f MiB; unzip -o + sync %.3f s\n",
                kManyEntries, many.seconds, many.cpuSeconds, many.peakKiB / 1024.0, kFewEntries, few.seconds,
                few.cpuSeconds, few.peakKiB / 1024.0, unzipSync);
    std::printf("RESULT install_many_entries_s %.2f s\n", many.seconds);
    std::printf("RESULT install_many_entries_cpu_s %.2f s\n", many.cpuSeconds);
    std::printf("RESULT install_many_entries_ratio_vs_unzip_sync %.2f x\n", unzipSync / many.seconds);
    std::printf("RESULT install_many_entries_peak_rss_mib %.1f MiB\n", many.peakKiB / 1024.0);
    std::printf("RESULT install_many_entries_peak_growth %.2f x\n",
                static_cast<double>(many.peakKiB) / static_cast<double>(few.peakKiB));
    return true;
}

long peakRssKiB() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], "--download-install") == 0) return downloadAndInstall(argv[2], argv[3], argv[4]);
    const bool manyOnly = argc == 2 && std::strcmp(argv[1], "--many-only") == 0;
    const char* base = std::getenv("TMPDIR");
    std::string root = std::string(base && *base ? base : "/tmp") + "/install-bench-XXXXXX";
    if (::mkdtemp(root.data()) == nullptr) return 1;
    if (manyOnly) {
        const bool ok = runManyEntries(root);
        fs::remove_all(root);
        return ok ? 0 : 1;
    }
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

    const bool manyOk = runManyEntries(root);
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
    return manyOk ? 0 : 1;
}
