#include "mesh2d/memory/MemoryHolderSocket.h"

#include "mesh2d/memory/tmp/MemoryHolderTmp.h"

namespace mesh2d {

void* MemoryHolderSocket::malloc(std::size_t size, int align) { return tmp_->malloc(size, align); }

void MemoryHolderSocket::free(APageHeader* header, void* ptr) { tmp_->free(header, ptr); }

void MemoryHolderSocket::clear() { tmp_->clear(); }

}  // namespace mesh2d
