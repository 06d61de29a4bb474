#include "mesh2d/memory/fixed/MHPageHeaderFixed.h"

namespace mesh2d {

MHPageHeaderFixed::MHPageHeaderFixed(int pageSize_, int serial_)
    : endPtr(reinterpret_cast<char*>(this) + pageSize_), pageSize(pageSize_), cursor(nullptr), serial(serial_)
{
}

// Chunks of a fixed page live until their holder is cleared.
void MHPageHeaderFixed::free(void*) {}

}  // namespace mesh2d
