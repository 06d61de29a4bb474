#pragma once
// Optional allocator hook a host may hand to Mesh2D::init. Allocation type 0 is
// ordinary memory, 1 memory meant for graphics data (the GPU holders).
#include <cstddef>

namespace mesh2d {

class LDAllocator {
public:
    enum Type { MAIN = 0, GPU = 1 };

    virtual ~LDAllocator() = default;
    // Returns memory of at least `size` bytes, or null. The runtime asks for
    // pages only; it aligns chunks inside them itself.
    virtual void* pageAlloc(std::size_t size, int allocType) = 0;
    virtual void pageFree(void* ptr, int allocType) = 0;
    virtual void init() {}
    virtual void dispose() {}
};

}  // namespace mesh2d
