#pragma once
// Base of nearly every runtime class. Objects come from the runtime's memory
// holders, never from the global heap: `LD_NEW(param) T(...)` allocates in the
// holder the parameter selects, plain `new T` in the process-wide tmp holder,
// and `delete` returns the chunk to whichever holder it came from.
#include <cstddef>

namespace mesh2d {

class MemoryParam;

class LDObject {
public:
    LDObject();
    LDObject(const LDObject&);
    LDObject& operator=(const LDObject&) = default;
    virtual ~LDObject();

    // Non-throwing, so a failed allocation makes the new-expression yield null
    // instead of running a constructor on nothing.
    static void* operator new(std::size_t size, MemoryParam* param, const char* file, int line) noexcept;
    static void* operator new(std::size_t size) noexcept;
    static void* operator new(std::size_t, void* place) noexcept { return place; }
    static void operator delete(void* ptr) noexcept;
    static void operator delete(void* ptr, MemoryParam*, const char*, int) noexcept;
    static void operator delete(void*, void*) noexcept {}

    static int getInstanceCount();  // live objects
    static int getTotalCount();     // objects ever constructed
};

}  // namespace mesh2d

// Allocates the object in the holder `param` selects (null: the tmp holder),
// recording the source position for memory traces.
#define LD_NEW(param) new ((param), __FILE__, __LINE__)
