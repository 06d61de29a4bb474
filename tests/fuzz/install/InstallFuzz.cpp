// Download lists, version answers and archives from a hostile server.
// The first byte picks the input kind:
//   even: a list body (and, after a zero byte, the record file's text);
//   odd:  an archive, unpacked into a sandbox whose surroundings are checked.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "install/DownloadList.h"
#include "install/InstallRecords.h"
#include "install/VersionCheck.h"
#include "install/ZipArchive.h"
#include "platform/Log.h"

namespace {

namespace fs = std::filesystem;

void fuzzList(const std::string& input) {
    const size_t zero = input.find('\0');
    const std::string body = input.substr(0, zero);
    install::InstallRecords records;
    records.loadText(zero == std::string::npos ? std::string() : input.substr(zero + 1));
    const install::ListBody views(body);
    if (std::vector<std::string>(views.lines().begin(), views.lines().end()) != install::splitListBody(body))
        __builtin_trap();
    const install::Classification work = install::classifyList(
        views.lines(), records, body.size() % 2 == 0, [](const std::string& id) { return id.size() % 2 == 0; });
    for (const auto& [name, lines] : work.groups) {
        if (!install::isSafeListName(name) || !install::isUsableArchiveName(name)) __builtin_trap();
        install::groupRecords(lines);
    }
    for (const auto& line : work.removal)
        if (!install::isSafeListName(line.id)) __builtin_trap();
    install::versionOutcomeForBody(body);
}

struct Sandbox {
    Sandbox() {
        char pattern[] = "/tmp/install-fuzz-XXXXXX";
        if (::mkdtemp(pattern) == nullptr) std::abort();
        root = pattern;
        caches = root + "/a/b/caches";
        fs::create_directories(caches);
    }
    std::string root, caches;
};

void fuzzArchive(const std::string& input) {
    static Sandbox sandbox;
    const std::string zipPath = sandbox.root + "/input.zip";
    if (std::FILE* out = std::fopen(zipPath.c_str(), "wb")) {
        std::fwrite(input.data(), 1, input.size(), out);
        std::fclose(out);
    }
    RK::ZipArchive archive;
    if (archive.open(zipPath)) {
        const int count = std::min(archive.entryCount(), 64);
        for (int i = 0; i < count; ++i) {
            RK::ZipEntryInfo info;
            const bool known = archive.entryInfo(i, info);
            const RK::ExtractResult result = archive.extract(i, sandbox.caches + "/");
            if (result == RK::ExtractResult::Written &&
                (!known || info.isSymlink || info.isJunk || !RK::isSafeEntryName(info.name)))
                __builtin_trap();
            if (known && info.size < (1u << 20)) archive.readEntry(i);
        }
    }
    archive.close();
    // Nothing may appear beside the caches: the root holds a/ and the input only.
    for (const auto& entry : fs::directory_iterator(sandbox.root)) {
        const std::string name = entry.path().filename().string();
        if (name != "a" && name != "input.zip") __builtin_trap();
    }
    for (const auto& entry : fs::directory_iterator(sandbox.root + "/a/b"))
        if (entry.path().filename() != "caches") __builtin_trap();
    std::error_code ignored;
    fs::remove_all(sandbox.caches, ignored);
    fs::create_directories(sandbox.caches, ignored);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static platform::LogCapture quiet;  // the log lines of refused input are expected
    if (size == 0) return 0;
    const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (data[0] % 2 == 0) {
        fuzzList(input);
    } else {
        fuzzArchive(input);
    }
    return 0;
}
