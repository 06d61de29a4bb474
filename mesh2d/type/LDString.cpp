#include "mesh2d/type/LDString.h"

#include <cstdint>
#include <cstring>

#include "mesh2d/util/UtMemory.h"

namespace mesh2d {
namespace {
int g_serial = 0;  // numbers strings for debugging

int lengthOf(const char* s)
{
    return s ? static_cast<int>(std::strlen(s)) : 0;
}

bool sameBytes(const char* a, const char* b, int length)
{
    for (int i = length - 1; i >= 0; --i) {
        if (a[i] != b[i]) return false;
    }
    return true;
}

}  // namespace

int LDString::calcHash(const char* bytes, int length)
{
    if (length <= 0) return -1;
    std::uint32_t h = 0;
    for (int i = length - 1; i >= 0; --i) {
        h = static_cast<std::uint32_t>(static_cast<signed char>(bytes[i])) + 31u * h;
    }
    const auto hash = static_cast<std::int32_t>(h);
    return hash == -1 ? -2 : hash;
}

LDString::LDString() : serial_(++g_serial) {}

LDString::LDString(const char* s, MemoryParam* param) : serial_(++g_serial), param_(param)
{
    copyFrom(s, lengthOf(s));
}

// A copy names no parameter, so its buffer comes from the tmp holder.
LDString::LDString(const LDString& other) : LDString(other, nullptr) {}

LDString::LDString(const LDString& other, MemoryParam* param) : LDObject(other), serial_(++g_serial), param_(param)
{
    copyFrom(other.buffer_, other.length_);
}

LDString::LDString(const char* bytes, int length, MemoryParam* param) : serial_(++g_serial), param_(param)
{
    copyFrom(bytes, length);
}

LDString::LDString(const StringRef& ref, MemoryParam* param) : serial_(++g_serial), param_(param)
{
    copyFrom(ref.ptr(), ref.length());
}

LDString::LDString(char* buffer, int length, MemoryParam* param, int takeOver) : serial_(++g_serial), param_(param)
{
    if (takeOver != 1) {
        copyFrom(buffer, length);
        return;
    }
    if (!buffer || length <= 0) {
        UtMemory::free(buffer);
        return;
    }
    buffer_ = buffer;
    length_ = length;
    hash_ = calcHash(buffer, length);
}

LDString::~LDString() { release(); }

void LDString::release()
{
    UtMemory::free(buffer_);
    buffer_ = nullptr;
    length_ = 0;
    hash_ = -1;
}

// An allocation failure leaves the empty string (hash -1), never a length
// without bytes.
void LDString::copyFrom(const char* bytes, int length)
{
    if (!bytes || length <= 0) return;
    auto* buffer = static_cast<char*>(UtMemory::malloc(param_, static_cast<std::size_t>(length) + 1, __FILE__, __LINE__));
    if (!buffer) return;
    std::memcpy(buffer, bytes, static_cast<std::size_t>(length));
    buffer[length] = 0;
    buffer_ = buffer;
    length_ = length;
    hash_ = calcHash(bytes, length);
}

LDString& LDString::operator=(const char* s)
{
    if (s && buffer_ && s >= buffer_ && s <= buffer_ + length_) {
        LDString copy(s, param_);  // assigning from our own bytes
        return *this = copy;
    }
    release();
    copyFrom(s, lengthOf(s));
    return *this;
}

LDString& LDString::operator=(const LDString& other)
{
    if (this == &other) return *this;
    release();
    copyFrom(other.buffer_, other.length_);
    if (buffer_) hash_ = other.hash_;
    return *this;
}

bool LDString::operator==(const LDString& other) const
{
    return length_ == other.length_ && hash_ == other.hash_ && sameBytes(c_str(), other.c_str(), length_);
}

bool LDString::operator==(const char* s) const
{
    return lengthOf(s) == length_ && sameBytes(c_str(), s, length_);
}

namespace {

LDString join(const char* a, int aLength, const char* b, int bLength)
{
    const int length = aLength + bLength;
    if (length <= 0) return LDString();
    auto* buffer = static_cast<char*>(UtMemory::malloc(nullptr, static_cast<std::size_t>(length) + 1, __FILE__, __LINE__));
    if (!buffer) return LDString();
    if (aLength > 0) std::memcpy(buffer, a, static_cast<std::size_t>(aLength));
    if (bLength > 0) std::memcpy(buffer + aLength, b, static_cast<std::size_t>(bLength));
    buffer[length] = 0;
    return LDString(buffer, length, nullptr, 1);
}

}  // namespace

LDString LDString::operator+(const LDString& other) const
{
    return join(c_str(), length_, other.c_str(), other.length_);
}

LDString LDString::operator+(const char* s) const { return join(c_str(), length_, s, lengthOf(s)); }

void LDString::clear() { release(); }

}  // namespace mesh2d
