#include "foundation/Buffer.h"

#include <cstdlib>
#include <utility>

namespace RK {

Buffer::~Buffer() { clear(); }

Buffer::Buffer(Buffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), length_(std::exchange(other.length_, 0)) {}

Buffer& Buffer::operator=(Buffer&& other) noexcept {
    if (this != &other) {
        clear();
        data_ = std::exchange(other.data_, nullptr);
        length_ = std::exchange(other.length_, 0);
    }
    return *this;
}

void Buffer::adopt(void* block, int length) {
    if (block != data_) std::free(data_);
    data_ = static_cast<unsigned char*>(block);
    length_ = block ? (length < 0 ? 0 : length) : 0;
}

void Buffer::clear() {
    std::free(data_);
    data_ = nullptr;
    length_ = 0;
}

}  // namespace RK
