#pragma once
// Which holder an allocation goes to: the main holder for ordinary data, an
// optional GPU holder for data handed to the graphics layer.
#include "mesh2d/memory/AMemoryHolder.h"
#include "mesh2d/memory/LDObject.h"

namespace mesh2d {

class MemoryParam : public LDObject {
public:
    MemoryParam(AMemoryHolder* main, AMemoryHolder* gpu);
    ~MemoryParam() override = default;

    // 0: the main holder; 1: the GPU holder, or the main holder (with a report)
    // when there is none; anything else falls back to the main holder too.
    AMemoryHolder* getMemoryHolder(int allocType);

    // Selects the holder later allocations use; returns the previous type.
    int setAllocType(int allocType);
    int getAllocType() const { return allocType_; }
    // Sets the alignment of later allocations; returns the previous one.
    int setAllocAlign(int align);
    int getAllocAlign() const { return align_; }

    AMemoryHolder* getCurMemoryHolder() const { return current_; }
    AMemoryHolder* getMainMemoryHolder() const { return main_; }
    AMemoryHolder* getGPUMemoryHolder() const { return gpu_; }

private:
    AMemoryHolder* current_;
    int allocType_ = 0;
    int align_;
    AMemoryHolder* main_;
    AMemoryHolder* gpu_;
};

}  // namespace mesh2d
