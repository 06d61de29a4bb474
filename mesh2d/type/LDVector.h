#pragma once
// Growable array of the runtime, allocated from a memory parameter. It owns
// its array, never the objects pointer elements point to. Elements are
// relocated as raw bytes when the array grows (LDString holds no pointers to
// itself, so that is safe for every element type the runtime uses).
#include <cstring>
#include <new>
#include <type_traits>

#include "mesh2d/memory/LDObject.h"
#include "mesh2d/util/UtDebug.h"
#include "mesh2d/util/UtMemory.h"

namespace mesh2d {

template <typename T>
class LDVector : public LDObject {
public:
    explicit LDVector(MemoryParam* param, int initialCapacity = 0, int initialSize = 0, bool zero = false)
        : param_(param)
    {
        if (!param_) UtDebug::print("BREAK POINT@LDVector");
        if (initialCapacity < 1) return;
        ptr_ = allocate(initialCapacity);
        if (!ptr_) return;
        capacity_ = initialCapacity;
        if (zero) std::memset(static_cast<void*>(ptr_), 0, sizeof(T) * static_cast<size_t>(capacity_));
        if (initialSize > capacity_) initialSize = capacity_;
        size_ = initialSize < 0 ? 0 : initialSize;
        constructDefault(0, size_);
    }

    LDVector(const LDVector&) = delete;
    LDVector& operator=(const LDVector&) = delete;

    ~LDVector() override { clear(); }

    // Appends a copy of value; false (nothing written) when the array cannot grow.
    bool push_back(const T& value, bool inPlace = true)
    {
        if (size_ >= capacity_ && !grow()) {
            UtDebug::error("LDVector#push_back() failed to grow beyond %d elements", capacity_);
            return false;
        }
        put(size_, value, inPlace);
        ++size_;
        return true;
    }

    // Makes room for n elements; false (vector unchanged) when that fails.
    bool reserve(int n)
    {
        if (capacity_ >= n) return true;
        T* grown = allocate(n);
        if (!grown) return false;
        if (ptr_) {
            std::memcpy(static_cast<void*>(grown), static_cast<const void*>(ptr_),
                        sizeof(T) * static_cast<size_t>(capacity_));
            UtMemory::free(ptr_);
        }
        ptr_ = grown;
        capacity_ = n;
        return true;
    }

    // Writes value into indices 0..n-1 and sets the size to n.
    bool assign(int n, const T& value, bool inPlace = true)
    {
        if (n < 0 || !reserve(n)) return false;
        destroy(n, size_);
        for (int i = 0; i < n; ++i) {
            if (i < size_) ptr_[i] = value;
            else put(i, value, inPlace);
        }
        size_ = n;
        return true;
    }

    // Writes value into indices size..n-1 and sets the size to n; shrinking
    // destroys the dropped elements.
    bool resize(int n, const T& value = T(), bool inPlace = true)
    {
        if (n < 0 || !reserve(n)) return false;
        destroy(n, size_);
        for (int i = size_; i < n; ++i) put(i, value, inPlace);
        size_ = n;
        return true;
    }

    // Removes the element at index, moving the later ones down.
    void remove(int index)
    {
        if (index < 0 || index >= size_) return;
        destroy(index, index + 1);
        std::memmove(static_cast<void*>(ptr_ + index), static_cast<const void*>(ptr_ + index + 1),
                     sizeof(T) * static_cast<size_t>(size_ - index - 1));
        --size_;
    }

    // Frees the array; size and capacity become 0.
    void clear()
    {
        destroy(0, size_);
        UtMemory::free(ptr_);
        ptr_ = nullptr;
        size_ = 0;
        capacity_ = 0;
    }

    int size() const { return size_; }
    int capacity() const { return capacity_; }
    bool empty() const { return size_ == 0; }
    T* data() { return ptr_; }
    const T* data() const { return ptr_; }
    // No bounds check: callers index below size().
    T& operator[](int i) { return ptr_[i]; }
    const T& operator[](int i) const { return ptr_[i]; }
    T* begin() { return ptr_; }
    T* end() { return ptr_ + size_; }
    const T* begin() const { return ptr_; }
    const T* end() const { return ptr_ + size_; }
    MemoryParam* getMemoryParam() const { return param_; }

private:
    // Doubles the capacity (10 from nothing); false when that is impossible.
    bool grow()
    {
        if (capacity_ > 0x7fffffff / 2) return false;
        return reserve(capacity_ == 0 ? 10 : capacity_ * 2);
    }

    T* allocate(int n)
    {
        if (n < 1 || static_cast<size_t>(n) > kMaxElements) return nullptr;
        return static_cast<T*>(UtMemory::malloc(param_, sizeof(T) * static_cast<size_t>(n), __FILE__, __LINE__));
    }

    void put(int i, const T& value, bool inPlace)
    {
        if (inPlace) UtMemory::placementNew_debug(ptr_ + i, __FILE__, __LINE__);
        // A slot past the size holds no object yet, so it is always constructed.
        ::new (static_cast<void*>(ptr_ + i)) T(value);
    }

    void constructDefault(int from, int to)
    {
        if constexpr (!std::is_trivially_default_constructible_v<T>) {
            for (int i = from; i < to; ++i) ::new (static_cast<void*>(ptr_ + i)) T();
        }
    }

    void destroy(int from, int to)
    {
        if constexpr (!std::is_trivially_destructible_v<T>) {
            for (int i = from; i < to; ++i) ptr_[i].~T();
        }
    }

    static constexpr size_t kMaxElements = (size_t{1} << 30) / sizeof(T);

    T* ptr_ = nullptr;
    int size_ = 0;
    int capacity_ = 0;
    MemoryParam* param_;
};

}  // namespace mesh2d
