#pragma once
// A borrowed view of bytes inside a file buffer: pointer and length. It owns
// nothing and is valid while the buffer lives.
namespace mesh2d {

class StringRef {
public:
    StringRef() = default;
    StringRef(const char* ptr, int length) : ptr_(ptr), length_(length) {}

    const char* ptr() const { return ptr_; }
    int length() const { return length_; }
    void set(const char* ptr, int length) { ptr_ = ptr; length_ = length; }

private:
    const char* ptr_ = nullptr;
    int length_ = 0;
};

}  // namespace mesh2d
