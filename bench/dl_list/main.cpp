// Classifies a 100 000-line download list against 100 000 install records,
// reading the records from a real file and probing real voice files, as a
// download run does. The baseline is the search the records were once given
// (a list of lines scanned from the start for every list line), timed in
// the same run on a slice of the list and scaled to the whole list.
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "audio/SearchPaths.h"
#include "foundation/Strings.h"
#include "install/DownloadList.h"
#include "install/InstallRecords.h"
#include "install/VoiceFiles.h"

namespace {

constexpr int kLines = 100000;
constexpr int kRecorded = 90000;   // list lines already installed
constexpr int kExtraRecords = 10000;  // records of entries the list no longer names
constexpr int kVoicesPresent = 5000;  // unrecorded entries whose voice file exists
constexpr int kRuns = 7;
constexpr int kBaselineLines = 1000;

using Clock = std::chrono::steady_clock;

double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::string idOf(int i) { return RK::format("v%06d", i); }
std::string markerOf(int i) { return std::to_string(i % 3); }

struct Fixture {
    std::string dir, caches, recordsPath, body;
};

bool makeFixture(Fixture& f) {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/dl_list-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) return false;
    f.dir = pattern;
    f.caches = f.dir + "/caches";
    std::filesystem::create_directories(f.caches);
    f.recordsPath = f.caches + "/localDownloadData.txt";
    std::ofstream records(f.recordsPath);
    for (int i = 0; i < kRecorded; ++i) records << idOf(i) << '\t' << markerOf(i) << '\n';
    for (int i = 0; i < kExtraRecords; ++i) records << idOf(kLines + i) << '\t' << markerOf(i) << '\n';
    for (int i = kRecorded; i < kRecorded + kVoicesPresent; ++i)
        std::ofstream(install::voiceFilePath(f.caches, idOf(i))) << "clip";
    for (int i = 0; i < kLines; ++i) {
        const std::string archive = i % 50 == 0 ? "-" : RK::format("pack_%03d", i % 100);
        f.body += idOf(i) + "\t" + archive + "\t" + markerOf(i) + "\r\n";
    }
    return static_cast<bool>(records);
}

struct Phases {
    std::vector<double> records, split, classify, probeless;
};

// The whole classification step of a run: records read, list split, lines sorted.
install::Classification classifyOnce(const Fixture& f, Phases& phases) {
    const auto t0 = Clock::now();
    install::InstallRecords records;
    records.load(f.recordsPath);
    const auto t1 = Clock::now();
    const install::ListBody body(f.body);
    const auto t2 = Clock::now();
    install::VoiceFiles voices(f.caches);
    install::Classification result = install::classifyList(
        body.lines(), records, false, [&voices](const std::string& id) { return voices.exists(id); });
    const auto t3 = Clock::now();
    // The same without touching the file system, to tell the probes' share.
    install::classifyList(body.lines(), records, false, [](const std::string&) { return false; });
    phases.probeless.push_back(ms(Clock::now() - t3));
    phases.records.push_back(ms(t1 - t0));
    phases.split.push_back(ms(t2 - t1));
    phases.classify.push_back(ms(t3 - t2));
    return result;
}

// The old lookup: every list line scans the record lines from the start.
double linearLookupMs(const Fixture& f, int lineCount, int& found) {
    std::ifstream in(f.recordsPath);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::vector<std::string> recordLines = RK::split(text, "\n");
    const std::vector<std::string> lines = install::splitListBody(f.body);
    const auto start = Clock::now();
    found = 0;
    // Every (kLines / lineCount)-th line, so matches sit all over the records.
    const int step = kLines / lineCount;
    int seen = 0;
    for (const std::string& line : lines) {
        install::ListLine parsed;
        if (line.empty() || !install::parseListLine(line, parsed)) continue;
        if (seen++ % step != 0) continue;
        const std::string record = install::recordText(parsed.id, parsed.marker);
        if (std::find(recordLines.begin(), recordLines.end(), record) != recordLines.end()) ++found;
    }
    return ms(Clock::now() - start);
}

}  // namespace

int main() {
    Fixture f;
    if (!makeFixture(f)) {
        std::fprintf(stderr, "dl_list: cannot make the fixture\n");
        return 1;
    }
    std::vector<double> times;
    Phases phases;
    install::Classification last;
    for (int run = 0; run < kRuns; ++run) {
        last = classifyOnce(f, phases);
        times.push_back(phases.records.back() + phases.split.back() + phases.classify.back());
    }
    size_t grouped = 0;
    for (const auto& [name, lines] : last.groups) grouped += lines.size();
    int found = 0;
    const double linearSlice = linearLookupMs(f, kBaselineLines, found);
    const double linearWhole = linearSlice * kLines / kBaselineLines;
    const double ours = median(times);

    std::printf("lines %d, records %d: %zu to download in %zu groups, %zu record-only, %zu removals\n", kLines,
                kRecorded + kExtraRecords, grouped, last.groups.size(), last.recordOnly.size(), last.removal.size());
    std::printf("linear record search: %.1f ms for %d lines (%d found), about %.0f ms for the whole list\n",
                linearSlice, kBaselineLines, found, linearWhole);
    std::printf("phases (medians): records %.1f ms, split %.1f ms, classify %.1f ms (%.1f ms of it without voice-file "
                "probes)\n",
                median(phases.records), median(phases.split), median(phases.classify), median(phases.probeless));
    std::printf("hashed classification, median of %d: %.1f ms (%.0fx faster than the linear search)\n", kRuns, ours,
                linearWhole / ours);
    std::filesystem::remove_all(f.dir);
    std::printf("RESULT dl_list_ms %.1f ms\n", ours);
    std::printf("RESULT dl_list_speedup_vs_linear %.0f x\n", linearWhole / ours);
    return 0;
}
