#pragma once
// A holder that only grows: chunks are cut from pages by a cursor and nothing
// is released before clear() or destruction. Pages with room are kept sorted
// by remaining bytes, largest first, so a request takes the fitting page with
// the least room.
// Names kept from the phone client: see docs/GLOSSARY.md.
#include "mesh2d/memory/AMemoryHolder.h"
#include "mesh2d/memory/AllocationMode.h"

namespace mesh2d {

class MHPageHeaderFixed;

class MemoryHolderFixed : public AMemoryHolder {
public:
    // A page with no more than this many bytes left is never searched again.
    static constexpr int FULL_THRESHOLD = 31;

    MemoryHolderFixed(int allocType, const char* name, int pageSize);
    MemoryHolderFixed(int allocType, const char* name, int pageSize, AllocationMode mode);
    ~MemoryHolderFixed() override;

    void* malloc(std::size_t size, int align) override;
    void free(APageHeader* header, void* ptr) override;
    void clear() override;
    void checkPageHeaders() override;

    // Read access for traces and tests.
    MHPageHeaderFixed* getRoomPages() const { return roomPages_; }
    MHPageHeaderFixed* getFullPages() const { return fullPages_; }
    const char* getName() const { return name_; }
    int getSerial() const { return serial_; }
    int getPageSize() const { return pageSize_; }
    AllocationMode getMode() const { return mode_; }

private:
    MHPageHeaderFixed* createPage(std::size_t size, int align);
    MHPageHeaderFixed* findPage(std::size_t size, int align, MHPageHeaderFixed** prev);
    void placeAfterUse(MHPageHeaderFixed* page, MHPageHeaderFixed* prev);
    void* mallocSeparate(std::size_t size, int align);
    void releaseList(MHPageHeaderFixed*& head);

    MHPageHeaderFixed* roomPages_ = nullptr;
    MHPageHeaderFixed* fullPages_ = nullptr;
    int allocType_;
    char name_[32];
    int serial_;
    int pageSize_;
    AllocationMode mode_;
};

}  // namespace mesh2d
