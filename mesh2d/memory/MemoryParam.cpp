#include "mesh2d/memory/MemoryParam.h"

#include "mesh2d/memory/AllocationMode.h"
#include "mesh2d/util/UtDebug.h"

namespace mesh2d {

MemoryParam::MemoryParam(AMemoryHolder* main, AMemoryHolder* gpu)
    : current_(main), align_(kMinChunkAlign), main_(main), gpu_(gpu)
{
}

AMemoryHolder* MemoryParam::getMemoryHolder(int allocType)
{
    if (allocType == 0) return main_;
    if (allocType == 1) {
        if (gpu_) return gpu_;
        UtDebug::error("memoryHolderGPU is NULL , but selected :: %d @MemoryParam#getMemoryHolder()", allocType);
        return main_;
    }
    UtDebug::error("alloc type not implmented :: %d @MemoryParam#getMemoryHolder()", allocType);
    return main_;
}

int MemoryParam::setAllocType(int allocType)
{
    const int previous = allocType_;
    allocType_ = allocType;
    current_ = getMemoryHolder(allocType);
    return previous;
}

int MemoryParam::setAllocAlign(int align)
{
    const int previous = align_;
    align_ = align;
    return previous;
}

}  // namespace mesh2d
