#pragma once
// Adapts the tmp holder (which is no AMemoryHolder, since it must exist before
// any managed object) to the holder interface a MemoryParam expects.
// Names kept from the phone client: see docs/GLOSSARY.md.
#include "mesh2d/memory/AMemoryHolder.h"

namespace mesh2d {

class MemoryHolderTmp;

class MemoryHolderSocket : public AMemoryHolder {
public:
    explicit MemoryHolderSocket(MemoryHolderTmp* tmp) : tmp_(tmp) {}
    ~MemoryHolderSocket() override = default;

    void* malloc(std::size_t size, int align) override;
    void free(APageHeader* header, void* ptr) override;
    void clear() override;
    void checkPageHeaders() override {}

    MemoryHolderTmp* getTmp() const { return tmp_; }

private:
    MemoryHolderTmp* tmp_;
};

}  // namespace mesh2d
