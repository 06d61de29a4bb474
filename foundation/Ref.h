#pragma once
// Reference counting for the library's shared objects (requests, responses).
// An object starts with one owner; whoever keeps a pointer to another's
// object retains it and later releases it. The last release deletes it.
// Names kept from the phone client: see docs/GLOSSARY.md.
#include <atomic>
#include <cstdint>
#include <utility>

namespace RK {

class Ref {
public:
    Ref() = default;
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;

    void retain();
    // Drops one reference; the one that drops the count from 1 deletes the object.
    void release();
    std::int32_t refCount() const { return refCount_.load(std::memory_order_relaxed); }

protected:
    // Only release() destroys a counted object, so it can never be destroyed
    // while someone still holds a reference from the stack or a member.
    virtual ~Ref() = default;

private:
    // Atomic although the program uses each object from one thread at a time:
    // a response may be handed to another thread, and the cost is negligible.
    std::atomic<std::int32_t> refCount_{1};
};

// Owns one reference to a counted object and releases it when it goes away.
template <typename T>
class RefPtr {
public:
    RefPtr() = default;
    // Takes over a reference the caller already owns (a new object, a send() result).
    static RefPtr adopt(T* object) {
        RefPtr p;
        p.object_ = object;
        return p;
    }
    // Adds a reference of its own.
    static RefPtr retainOf(T* object) {
        if (object) object->retain();
        return adopt(object);
    }
    RefPtr(const RefPtr& other) : object_(other.object_) {
        if (object_) object_->retain();
    }
    RefPtr(RefPtr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    RefPtr& operator=(RefPtr other) noexcept {
        std::swap(object_, other.object_);
        return *this;
    }
    ~RefPtr() {
        if (object_) object_->release();
    }

    T* get() const { return object_; }
    T* operator->() const { return object_; }
    T& operator*() const { return *object_; }
    explicit operator bool() const { return object_ != nullptr; }
    // Gives the reference back to the caller, who must release it.
    T* leak() { return std::exchange(object_, nullptr); }

private:
    T* object_ = nullptr;
};

}  // namespace RK
