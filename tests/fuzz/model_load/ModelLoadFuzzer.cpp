// libFuzzer target: arbitrary bytes through the whole life of a model —
// runtime start, load, one update, delete, runtime end — under ASan with one
// system allocation per runtime chunk. Besides crashes it fails on the
// runtime's own leak report, so every refused file must be freed completely.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "mesh2d/Mesh2D.h"
#include "mesh2d/Mesh2DModelIPhone.h"
#include "mesh2d/memory/LDObject.h"
#include "mesh2d/util/UtDebug.h"
#include "mesh2d/util/UtMemory.h"

namespace {

// The runtime writes to standard output; it goes into a memory file so the
// report of each run can be read back (and the terminal stays quiet).
int g_captureFd = -1;

void beginCapture() {
    std::fflush(stdout);
    if (ftruncate(g_captureFd, 0) != 0 || lseek(g_captureFd, 0, SEEK_SET) != 0) {
        std::abort();
    }
}

std::string endCapture() {
    std::fflush(stdout);
    std::string text;
    const off_t size = lseek(g_captureFd, 0, SEEK_END);
    if (size > 0) {
        text.resize(static_cast<size_t>(size));
        if (pread(g_captureFd, text.data(), text.size(), 0) != size) {
            std::abort();
        }
    }
    return text;
}

[[noreturn]] void fail(const char* what, const std::string& report) {
    std::fprintf(stderr, "model_load fuzzer: %s\n%s\n", what, report.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_captureFd = memfd_create("mesh2d-output", 0);
    if (g_captureFd < 0 || dup2(g_captureFd, STDOUT_FILENO) < 0) {
        std::perror("memfd");
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 24)) {
        return 0;
    }
    beginCapture();
    mesh2d::UtDebug::setMemoryDebugFlags(mesh2d::UtDebug::MEMORY_DEBUG_MEMORY_INFO_COUNT);
    mesh2d::Mesh2D::init();
    mesh2d::Mesh2DModelIPhone* model = mesh2d::Mesh2DModelIPhone::loadModel(data, static_cast<int>(size));
    if (model) {
        model->update();
        delete model;
    }
    mesh2d::Mesh2D::dispose();
    const std::string report = endCapture();
    if (report.find("MEMORY LEAKS") != std::string::npos || report.find("memory leaks found!!") != std::string::npos) {
        fail("the runtime reported leaks", report);
    }
    if (mesh2d::LDObject::getInstanceCount() != 0 || mesh2d::UtMemory::getLivePageCount() != 0) {
        fail("objects or pages outlived Mesh2D::dispose", report);
    }
    return 0;
}
