#include "live2d/Live2D.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "live2d/id/ID.h"
#include "live2d/memory/LDAllocator.h"
#include "live2d/util/UtDebug.h"
#include "live2d/util/UtMemory.h"
#include "live2d/util/json/Value.h"

namespace live2d {
namespace {

// Nesting count of init / dispose; only the outermost pair builds and tears down.
int g_initCount = 0;
bool g_versionPrinted = false;
int g_hostByteOrder = 0;
bool g_initialized = false;

int detectHostByteOrder()
{
    const std::uint16_t probe = 1;
    unsigned char first;
    std::memcpy(&first, &probe, 1);
    return first == 1 ? 0 : 1;
}

}  // namespace

void Live2D::init(LDAllocator* allocator)
{
    const int before = g_initCount++;
    if (before > 0) {
        UtDebug::error("Live2D::init() skipped , already initialized.");
        return;
    }
    if (before < 0) {
        UtDebug::error("Live2D::init() skipped , wrong init count.");
        return;
    }
    if (!UtMemory::staticInit(allocator)) {
        UtDebug::error("Live2D::init() failed to set up the memory holders");
    }
    if (!g_versionPrinted) {
        g_versionPrinted = true;
        UtDebug::print("Live2D version %s for %s", getVersionStr(), getPlatformStr());
        std::fflush(stdout);
    }
    ID::createHolder();
    g_hostByteOrder = detectHostByteOrder();
    json::Value::createConstants();
    g_initialized = true;
}

void Live2D::dispose()
{
    const int before = g_initCount--;
    if (before <= 0) {
        UtDebug::error("Live2D::dispose() skipped , already disposed.");
        return;
    }
    if (g_initCount > 0) {
        UtDebug::print("Live2D::dispose() skipped , init count:%d.", g_initCount);
        return;
    }
    ID::releaseAll();
    json::Value::releaseConstants();
    UtMemory::staticRelease();
    g_initialized = false;
}

int Live2D::getHostByteOrder() { return g_hostByteOrder; }
bool Live2D::isInitialized() { return g_initialized; }
int Live2D::getInitCount() { return g_initCount; }

}  // namespace live2d
