#include "mesh2d/memory/AllocationMode.h"

namespace mesh2d {
namespace {

#if defined(PELORA_CHUNK_PER_ALLOCATION) && PELORA_CHUNK_PER_ALLOCATION
AllocationMode g_defaultMode = AllocationMode::ChunkPerAllocation;
#else
AllocationMode g_defaultMode = AllocationMode::Paged;
#endif

}  // namespace

AllocationMode defaultAllocationMode() { return g_defaultMode; }
void setDefaultAllocationMode(AllocationMode mode) { g_defaultMode = mode; }

}  // namespace mesh2d
