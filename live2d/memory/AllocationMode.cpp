#include "live2d/memory/AllocationMode.h"

namespace live2d {
namespace {

#if defined(PELORA_CHUNK_PER_ALLOCATION) && PELORA_CHUNK_PER_ALLOCATION
AllocationMode g_defaultMode = AllocationMode::ChunkPerAllocation;
#else
AllocationMode g_defaultMode = AllocationMode::Paged;
#endif

}  // namespace

AllocationMode defaultAllocationMode() { return g_defaultMode; }
void setDefaultAllocationMode(AllocationMode mode) { g_defaultMode = mode; }

}  // namespace live2d
