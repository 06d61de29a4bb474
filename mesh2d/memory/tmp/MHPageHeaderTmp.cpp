#include "mesh2d/memory/tmp/MHPageHeaderTmp.h"

#include "mesh2d/memory/tmp/MHBin.h"
#include "mesh2d/memory/tmp/MemoryHolderTmp.h"
#include "mesh2d/util/UtDebug.h"

namespace mesh2d {

MHPageHeaderTmp::MHPageHeaderTmp(MemoryHolderTmp* holder_, int chunkCount_, int chunkSize_, int pageSize_,
                                 int distance_, int binNo_)
    : holder(holder_),
      emptyCount(static_cast<uint16_t>(chunkCount_)),
      chunkCount(static_cast<uint16_t>(chunkCount_)),
      chunkSize(chunkSize_),
      pageSize(pageSize_),
      distance(static_cast<uint8_t>(distance_)),
      binNo(static_cast<uint8_t>(binNo_))
{
}

void MHPageHeaderTmp::free(void* ptr) { holder->free(this, ptr); }

int MHPageHeaderTmp::getFirstEmptyIndexAndSetFlag(const MHBin& bin)
{
    if (emptyCount == 0) return -1;
    for (int word = 0; word < 3; ++word) {
        if (flags[word] == bin.fullPattern[word]) continue;
        const int last = chunkCount < (word + 1) * 32 ? chunkCount : (word + 1) * 32;
        for (int i = word * 32; i < last; ++i) {
            if (!isUsed(i)) {
                setUsed(i);
                --emptyCount;
                return i;
            }
        }
        break;
    }
    UtDebug::print("available ptr not found! emptyCount=%d/chunkCount=%d @MHPageHeaderTmp::getFirstEmptyIndexAndSetFlag()",
                   emptyCount, chunkCount);
    return -1;
}

}  // namespace mesh2d
