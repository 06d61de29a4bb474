#pragma once
// Header at the start of each page of a fixed holder (inside the 64-byte area
// the page reserves for it). Freeing a chunk of a fixed page releases nothing.
#include <cstdint>

#include "mesh2d/memory/APageHeader.h"

namespace mesh2d {

class MHPageHeaderFixed : public APageHeader {
public:
    static constexpr int HEADER_AREA = 64;

    MHPageHeaderFixed(int pageSize, int serial);
    void free(void* ptr) override;

    char* start() { return reinterpret_cast<char*>(this); }

    MHPageHeaderFixed* next = nullptr;
    char* endPtr;        // page start + page size
    int pageSize;
    char* cursor;        // the page word of the next chunk
    int remaining = 0;   // bytes from the cursor to the end
    int serial;
};

static_assert(sizeof(MHPageHeaderFixed) <= MHPageHeaderFixed::HEADER_AREA,
              "the fixed page header must fit its reserved area");

}  // namespace mesh2d
