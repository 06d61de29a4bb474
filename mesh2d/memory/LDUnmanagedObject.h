#pragma once
// Base of the few objects that must exist before any holder does (the tmp
// holder itself): their memory comes straight from UtMemory::pageAlloc.
#include <cstddef>

namespace mesh2d {

class LDUnmanagedObject {
public:
    LDUnmanagedObject();
    LDUnmanagedObject(const LDUnmanagedObject&);
    LDUnmanagedObject& operator=(const LDUnmanagedObject&) = default;
    virtual ~LDUnmanagedObject();

    static void* operator new(std::size_t size, const char* file, int line) noexcept;
    static void* operator new(std::size_t size) noexcept;
    static void* operator new(std::size_t, void* place) noexcept { return place; }
    static void operator delete(void* ptr) noexcept;
    static void operator delete(void* ptr, const char*, int) noexcept;
    static void operator delete(void*, void*) noexcept {}

    static int getInstanceCount();
    static int getTotalCount();
};

}  // namespace mesh2d

#define LD_UNMANAGED_NEW new (__FILE__, __LINE__)
