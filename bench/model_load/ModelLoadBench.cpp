// model_load: reading (with the full model check) and deleting a writer-made
// stress model — 200 drawables of 200 points, four two-pivot tables each —
// against a decode floor measured in the same program: allocate every array of
// the file and byte-swap-copy its elements, nothing else. Each figure is the
// median of the runs (processor time); the headline is the ratio of the two.
#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "mesh2d/Mesh2D.h"
#include "mesh2d/Mesh2DModelIPhone.h"
#include "mesh2d/io/ModelFileLoader.h"
#include "mesh2d/model/ModelImpl.h"
#include "tools/modelwriter/Encoder.h"
#include "tools/modelwriter/ModelWriter.h"
#include "tools/modelwriter/StressModel.h"

namespace {

constexpr int kDrawables = 200;
constexpr int kPoints = 200;
constexpr int kTables = 4;
constexpr int kRuns = 31;

// Processor time of this (single-threaded) program: on a shared machine a run
// that is preempted would otherwise count other processes' work; both sides
// are measured the same way.
struct Clock {
    using duration = std::chrono::duration<double, std::micro>;
    using time_point = std::chrono::time_point<Clock, duration>;
    static time_point now() {
        return time_point(duration(static_cast<double>(std::clock()) * (1e6 / CLOCKS_PER_SEC)));
    }
};

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The least any reader must do: one block per array, elements byte-swapped in.
double decodeFloor(const std::vector<uint8_t>& file, const std::vector<modelwriter::ArraySpan>& spans,
                   uint64_t* checksum) {
    std::vector<void*> blocks;
    blocks.reserve(spans.size());
    const auto start = Clock::now();
    for (const modelwriter::ArraySpan& span : spans) {
        const size_t bytes = static_cast<size_t>(span.count) * static_cast<size_t>(span.elementSize);
        auto* out = static_cast<uint8_t*>(std::malloc(bytes));
        const uint8_t* in = file.data() + span.offset;
        if (span.elementSize == 4) {
            for (uint32_t i = 0; i < span.count; ++i) {
                uint32_t v;
                std::memcpy(&v, in + 4 * i, 4);
                v = __builtin_bswap32(v);
                std::memcpy(out + 4 * i, &v, 4);
            }
        } else {
            for (uint32_t i = 0; i < span.count; ++i) {
                uint64_t v;
                std::memcpy(&v, in + 8 * i, 8);
                v = __builtin_bswap64(v);
                std::memcpy(out + 8 * i, &v, 8);
            }
        }
        blocks.push_back(out);
    }
    for (void* b : blocks) {
        *checksum += static_cast<const uint8_t*>(b)[0];
        std::free(b);
    }
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double loadOnce(const std::vector<uint8_t>& file, bool* ok) {
    const auto start = Clock::now();
    mesh2d::ModelImpl* model = nullptr;
    const int code = mesh2d::ModelFileLoader::load(file.data(), static_cast<int>(file.size()), &model);
    delete model;
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    *ok = *ok && code == 0;
    return ms;
}

double loadModelOnce(const std::vector<uint8_t>& file, bool* ok) {
    const auto start = Clock::now();
    mesh2d::Mesh2DModelIPhone* model = mesh2d::Mesh2DModelIPhone::loadModel(file.data(), static_cast<int>(file.size()));
    *ok = *ok && model != nullptr;
    delete model;
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

int main() {
    std::vector<modelwriter::ArraySpan> spans;
    const std::vector<uint8_t> file =
        modelwriter::writeModel(modelwriter::makeStressModel(kDrawables, kPoints, kTables), &spans);
    std::printf("model_load: %d drawables x %d points, %d tables, %zu bytes, %zu arrays, %d runs\n", kDrawables,
                kPoints, kTables, file.size(), spans.size(), kRuns);

    mesh2d::Mesh2D::init();
    bool ok = true;
    uint64_t checksum = 0;
    std::vector<double> floor, load, api;
    // Warm both paths once, then interleave so drift hits both alike.
    decodeFloor(file, spans, &checksum);
    loadOnce(file, &ok);
    for (int run = 0; run < kRuns; ++run) {
        floor.push_back(decodeFloor(file, spans, &checksum));
        load.push_back(loadOnce(file, &ok));
        api.push_back(loadModelOnce(file, &ok));
    }
    mesh2d::Mesh2D::dispose();
    if (!ok) {
        std::fprintf(stderr, "model_load: the stress model did not load\n");
        return 1;
    }
    const double floorMs = median(floor);
    const double loadMs = median(load);
    const double apiMs = median(api);
    std::printf("decode floor           %8.3f ms (median)  [checksum %llu]\n", floorMs,
                static_cast<unsigned long long>(checksum % 1000));
    std::printf("load + check + delete  %8.3f ms (median)  %.2f x floor\n", loadMs, loadMs / floorMs);
    std::printf("loadModel (+ context)  %8.3f ms (median)  %.2f x floor\n", apiMs, apiMs / floorMs);
    std::printf("RESULT model_load_ratio %.2f x\n", loadMs / floorMs);
    std::printf("RESULT model_load_ms %.3f ms\n", loadMs);
    return 0;
}
