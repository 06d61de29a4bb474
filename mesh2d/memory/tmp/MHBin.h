#pragma once
// One size class of the tmp holder.
#include <cstdint>

namespace mesh2d {

class MHPageHeaderTmp;

struct MHBin {
    // Sets the class up; bin 5 (chunk size 0) is the variable bin.
    void init(int binNo, int chunkSize, int pageSize);
    // Chunks a page of this bin holds, computed as for a new page.
    static int chunksFor(int pageSize, int chunkSize);

    int chunkSize = 0;
    int pageSize = 0;
    uint16_t chunkCount = 0;
    uint8_t binNo = 0;
    uint32_t fullPattern[3] = {0, 0, 0};  // flags of a page whose chunks are all taken
    MHPageHeaderTmp* fullPages = nullptr;
    MHPageHeaderTmp* roomPages = nullptr;
};

}  // namespace mesh2d
