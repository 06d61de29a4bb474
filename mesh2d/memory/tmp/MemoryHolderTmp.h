#pragma once
// Process-wide holder for short-lived allocations: six size bins of bit-mapped
// chunk pages, really freed chunk by chunk. It is unmanaged because it must
// exist before any managed object; MemoryHolderSocket adapts it.
// Names kept from the phone client: see docs/GLOSSARY.md.
#include <cstddef>

#include "mesh2d/memory/AllocationMode.h"
#include "mesh2d/memory/LDUnmanagedObject.h"
#include "mesh2d/memory/tmp/MHBin.h"

namespace mesh2d {

class APageHeader;
class MHPageHeaderTmp;

class MemoryHolderTmp : public LDUnmanagedObject {
public:
    static constexpr int BIN_COUNT = 6;
    static constexpr int VARIABLE_BIN = 5;

    MemoryHolderTmp(int allocType, const char* name);
    MemoryHolderTmp(int allocType, const char* name, AllocationMode mode);
    ~MemoryHolderTmp() override;

    virtual void* malloc(std::size_t size, int align);
    virtual void free(APageHeader* header, void* ptr);
    virtual void clear();

    // The bin a request of `size` bytes goes to.
    static int binFor(std::size_t size);

    // Read access for traces and tests.
    const MHBin& getBin(int i) const { return bins_[i]; }
    const char* getName() const { return name_; }
    int getSerial() const { return serial_; }
    AllocationMode getMode() const { return mode_; }
    void dumpBins() const;

private:
    MHPageHeaderTmp* createPage(MHBin& bin, int chunkSize, int pageSize, int chunkCount);
    void* mallocSeparate(std::size_t size);
    void releasePage(MHBin& bin, MHPageHeaderTmp* page);
    bool releaseIfSpare(MHBin& bin, MHPageHeaderTmp* page);

    int allocType_;
    char name_[32];
    int serial_;
    MHBin bins_[BIN_COUNT];
    AllocationMode mode_;
};

}  // namespace mesh2d
