#include "live2d/memory/MemoryHolderSocket.h"

#include "live2d/memory/tmp/MemoryHolderTmp.h"

namespace live2d {

void* MemoryHolderSocket::malloc(std::size_t size, int align) { return tmp_->malloc(size, align); }

void MemoryHolderSocket::free(APageHeader* header, void* ptr) { tmp_->free(header, ptr); }

void MemoryHolderSocket::clear() { tmp_->clear(); }

}  // namespace live2d
