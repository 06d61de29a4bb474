#include "mesh2d/memory/tmp/MHBin.h"

#include "mesh2d/memory/tmp/MHPageHeaderTmp.h"
#include "mesh2d/util/UtDebug.h"

namespace mesh2d {
namespace {

uint32_t topBits(int n)
{
    if (n <= 0) return 0;
    if (n >= 32) return 0xFFFFFFFFu;
    return ~(0xFFFFFFFFu >> n);
}

}  // namespace

int MHBin::chunksFor(int pageSize, int chunkSize)
{
    return (pageSize - MHPageHeaderTmp::PAGE_OVERHEAD) / chunkSize;
}

void MHBin::init(int binNo_, int chunkSize_, int pageSize_)
{
    binNo = static_cast<uint8_t>(binNo_);
    chunkSize = chunkSize_;
    pageSize = pageSize_;
    fullPages = nullptr;
    roomPages = nullptr;
    int n = 1;
    if (chunkSize_ != 0) {
        n = chunksFor(pageSize_, chunkSize_);
        LD_ASSERT(n > 0 && n <= MHPageHeaderTmp::MAX_CHUNKS);
    }
    chunkCount = static_cast<uint16_t>(n);
    fullPattern[0] = topBits(n);
    fullPattern[1] = n > 32 ? topBits(n - 32) : 0;
    fullPattern[2] = n > 64 ? topBits(n - 64) : 0;
}

}  // namespace mesh2d
