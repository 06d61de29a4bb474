#pragma once
// Header of a tmp page, at the first 32-byte boundary of the raw allocation.
// Chunk i's user pointer is header + 64 + i × chunk size; its in-use flag is
// bit 31 − (i mod 32) of flag word i / 32.
// Names kept from the phone client: see docs/GLOSSARY.md.
#include <cstdint>

#include "mesh2d/memory/APageHeader.h"

namespace mesh2d {

class MemoryHolderTmp;
struct MHBin;

class MHPageHeaderTmp : public APageHeader {
public:
    static constexpr int HEADER_AREA = 64;
    static constexpr int HEADER_ALIGN = 32;
    // 64 bytes of header area + 32 bytes of alignment slack.
    static constexpr int PAGE_OVERHEAD = HEADER_AREA + HEADER_ALIGN;
    static constexpr int MAX_CHUNKS = 96;

    MHPageHeaderTmp(MemoryHolderTmp* holder, int chunkCount, int chunkSize, int pageSize, int distance, int binNo);
    void free(void* ptr) override;

    // Claims the first free chunk; -1 when none is free.
    int getFirstEmptyIndexAndSetFlag(const MHBin& bin);
    bool isUsed(int index) const { return (flags[index / 32] & bitOf(index)) != 0; }
    void setUsed(int index) { flags[index / 32] |= bitOf(index); }
    void clearUsed(int index) { flags[index / 32] &= ~bitOf(index); }
    char* chunk(int index) { return reinterpret_cast<char*>(this) + HEADER_AREA + index * chunkSize; }
    char* raw() { return reinterpret_cast<char*>(this) - distance; }

    static uint32_t bitOf(int index) { return 0x80000000u >> (index % 32); }

    MemoryHolderTmp* holder;
    uint32_t flags[3] = {0, 0, 0};
    uint16_t emptyCount;
    uint16_t chunkCount;
    int chunkSize;
    int pageSize;
    MHPageHeaderTmp* next = nullptr;
    uint8_t distance;  // raw allocation → header, 0..31
    uint8_t binNo;
};

static_assert(sizeof(MHPageHeaderTmp) <= MHPageHeaderTmp::HEADER_AREA,
              "the tmp page header must fit its reserved area");

}  // namespace mesh2d
