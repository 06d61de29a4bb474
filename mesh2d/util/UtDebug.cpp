#include "mesh2d/util/UtDebug.h"

#include <cstdio>
#include <cstdlib>

namespace mesh2d {
namespace {

// The runtime is used from one thread only; these words are plain on purpose.
int g_errorCount = 0;
int g_memoryDebugFlags = 0;
int g_extraDebugFlags = 0;

void banner()
{
    ++g_errorCount;
    std::printf("******************** < ERROR[%3d] @UtDebug > ********************\n", g_errorCount);
}

}  // namespace

void UtDebug::vprint(const char* format, va_list args)
{
    std::vprintf(format, args);
    std::fputc('\n', stdout);
}

void UtDebug::print(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    vprint(format, args);
    va_end(args);
}

void UtDebug::dump(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
}

void UtDebug::verror(const char* format, va_list args)
{
    banner();
    std::vprintf(format, args);
    std::printf("\n*****************************************************************\n");
    std::fflush(stdout);
}

void UtDebug::error(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    verror(format, args);
    va_end(args);
}

void UtDebug::errorAt(const char* file, int line, const char* format, ...)
{
    banner();
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::printf("\n      @ %s : %d\n", file ? file : "", line);
    std::printf("*****************************************************************\n");
    std::fflush(stdout);
}

void UtDebug::assertFailed(const char* file, int line)
{
    error("assert ::%s %d \n", file ? file : "", line);
    std::fflush(stdout);
    std::abort();
}

int UtDebug::getErrorCount() { return g_errorCount; }

void UtDebug::addMemoryDebugFlags(int flags) { g_memoryDebugFlags |= flags; }
int UtDebug::getMemoryDebugFlags() { return g_memoryDebugFlags; }
void UtDebug::setMemoryDebugFlags(int flags) { g_memoryDebugFlags = flags; }

void UtDebug::addExtraDebugFlags(int flags) { g_extraDebugFlags |= flags; }
int UtDebug::getExtraDebugFlags() { return g_extraDebugFlags; }
void UtDebug::setExtraDebugFlags(int flags) { g_extraDebugFlags = flags; }

}  // namespace mesh2d
