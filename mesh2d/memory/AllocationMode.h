#pragma once
// How a holder lays out its chunks. Paged packs chunks into shared pages (the
// production layout). ChunkPerAllocation gives every chunk a page of its own,
// sized so the chunk ends where the system allocation ends: a sanitizer then
// sees an overrun that would otherwise stay inside a shared page. Sanitizer and
// fuzz builds make the second the default; tests can still build paged holders.
#include <cstddef>

namespace mesh2d {

enum class AllocationMode { Paged, ChunkPerAllocation };

// The mode holders get when none is named.
AllocationMode defaultAllocationMode();
void setDefaultAllocationMode(AllocationMode mode);

// Effective minimum alignment of every chunk: a 64-bit host needs pointers and
// doubles aligned, so smaller requests are raised to this.
inline constexpr int kMinChunkAlign = alignof(std::max_align_t);

// Largest single request a holder accepts; bigger ones are refused with a report.
inline constexpr unsigned long kMaxChunkBytes = 1ul << 30;

}  // namespace mesh2d
