#pragma once
#include <cstddef>

#include "mesh2d/memory/LDObject.h"

namespace mesh2d {

class APageHeader;

// Abstract holder: hands out chunks preceded by their page word.
class AMemoryHolder : public LDObject {
public:
    ~AMemoryHolder() override = default;
    // Returns a chunk of `size` bytes aligned to at least `align`, or null.
    virtual void* malloc(std::size_t size, int align) = 0;
    virtual void free(APageHeader* header, void* ptr) = 0;
    virtual void clear() = 0;
    virtual void checkPageHeaders() = 0;
};

}  // namespace mesh2d
