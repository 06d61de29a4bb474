#pragma once
// An owned block of bytes from malloc (archive entries). Moved, never copied.
#include <cstddef>

namespace RK {

class Buffer {
public:
    Buffer() = default;
    ~Buffer();
    Buffer(const Buffer&) = delete;
    Buffer& operator=(const Buffer&) = delete;
    Buffer(Buffer&& other) noexcept;
    Buffer& operator=(Buffer&& other) noexcept;

    // Takes over a malloc block. A block held before is freed first, so
    // adopting into a used buffer does not leak it.
    void adopt(void* block, int length);
    void clear();
    bool isEmpty() const { return data_ == nullptr || length_ == 0; }

    unsigned char* data() const { return data_; }
    int length() const { return length_; }

private:
    unsigned char* data_ = nullptr;
    int length_ = 0;
};

}  // namespace RK
