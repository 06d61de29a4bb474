#include "mesh2d/Mesh2D.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "mesh2d/id/ID.h"
#include "mesh2d/memory/LDAllocator.h"
#include "mesh2d/util/UtDebug.h"
#include "mesh2d/util/UtMemory.h"
#include "mesh2d/util/json/Value.h"

namespace mesh2d {
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

void Mesh2D::init(LDAllocator* allocator)
{
    const int before = g_initCount++;
    if (before > 0) {
        UtDebug::error("Mesh2D::init() skipped , already initialized.");
        return;
    }
    if (before < 0) {
        UtDebug::error("Mesh2D::init() skipped , wrong init count.");
        return;
    }
    if (!UtMemory::staticInit(allocator)) {
        UtDebug::error("Mesh2D::init() failed to set up the memory holders");
    }
    if (!g_versionPrinted) {
        g_versionPrinted = true;
        UtDebug::print("Mesh2D version %s for %s", getVersionStr(), getPlatformStr());
        std::fflush(stdout);
    }
    ID::createHolder();
    g_hostByteOrder = detectHostByteOrder();
    json::Value::createConstants();
    g_initialized = true;
}

void Mesh2D::dispose()
{
    const int before = g_initCount--;
    if (before <= 0) {
        UtDebug::error("Mesh2D::dispose() skipped , already disposed.");
        return;
    }
    if (g_initCount > 0) {
        UtDebug::print("Mesh2D::dispose() skipped , init count:%d.", g_initCount);
        return;
    }
    ID::releaseAll();
    json::Value::releaseConstants();
    UtMemory::staticRelease();
    g_initialized = false;
}

int Mesh2D::getHostByteOrder() { return g_hostByteOrder; }
bool Mesh2D::isInitialized() { return g_initialized; }
int Mesh2D::getInitCount() { return g_initCount; }

}  // namespace mesh2d
