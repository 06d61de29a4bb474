#pragma once
// Text output of the runtime: plain lines, error banners, assertion reports and
// the memory debug switches. Everything goes to the process's standard output;
// the runtime keeps no other channel.
#include <cstdarg>

namespace mesh2d {

class UtDebug {
public:
    // Bits of the memory debug word (all clear by default).
    static constexpr int MEMORY_DEBUG_TRACE_ALLOCATOR = 0x01;  // every pageAlloc / pageFree
    static constexpr int MEMORY_DEBUG_TRACE_TMP = 0x02;        // the tmp holder, with bin dumps
    static constexpr int MEMORY_DEBUG_TRACE_FIXED = 0x04;      // fixed holders
    static constexpr int MEMORY_DEBUG_TRACE_UNMANAGED = 0x08;  // unmanaged new / delete
    static constexpr int MEMORY_DEBUG_MEMORY_INFO_COUNT = 0x10;  // keep records, summary at dispose
    static constexpr int MEMORY_DEBUG_MEMORY_INFO_DUMP = 0x20;   // print each record entry
    static constexpr int MEMORY_DEBUG_TRACE_PLACEMENT = 0x80;    // placement construction
    // The combination used to hunt leaks: keep the records and show every entry.
    static constexpr int MEMORY_DEBUG_MEMORY_INFO_ALL =
        MEMORY_DEBUG_MEMORY_INFO_COUNT | MEMORY_DEBUG_MEMORY_INFO_DUMP;

    // Bits of the second debug word.
    static constexpr int READ_OBJECT_DEBUG = 0x01;           // trace object-stream reads
    static constexpr int MEMORY_DEBUG_KEEP_FREED = 0x40;     // keep records of freed allocations

    // One formatted line (a newline is appended).
    static void print(const char* format, ...) __attribute__((format(printf, 1, 2)));
    static void vprint(const char* format, va_list args);
    // Formatted text without a line break.
    static void dump(const char* format, ...) __attribute__((format(printf, 1, 2)));
    // The message framed by a numbered error banner.
    static void error(const char* format, ...) __attribute__((format(printf, 1, 2)));
    static void verror(const char* format, va_list args);
    // The banner and message, then the source position.
    static void errorAt(const char* file, int line, const char* format, ...)
        __attribute__((format(printf, 3, 4)));

    // Reports a broken internal invariant and stops the process. Only for faults
    // of the runtime itself: input from files never reaches an assertion.
    [[noreturn]] static void assertFailed(const char* file, int line);

    static int getErrorCount();

    static void addMemoryDebugFlags(int flags);
    static int getMemoryDebugFlags();
    static void setMemoryDebugFlags(int flags);  // tests and tools reset the word with it
    static bool hasMemoryDebugFlag(int flag) { return (getMemoryDebugFlags() & flag) != 0; }

    static void addExtraDebugFlags(int flags);
    static int getExtraDebugFlags();
    static void setExtraDebugFlags(int flags);
    static bool hasExtraDebugFlag(int flag) { return (getExtraDebugFlags() & flag) != 0; }
};

}  // namespace mesh2d

// Checks an invariant of the runtime; a failure prints "assert ::<file> <line>" and aborts.
#define LD_ASSERT(cond)                                            \
    do {                                                           \
        if (!(cond)) ::mesh2d::UtDebug::assertFailed(__FILE__, __LINE__); \
    } while (0)
