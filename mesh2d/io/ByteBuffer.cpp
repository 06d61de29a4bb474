#include "mesh2d/io/ByteBuffer.h"

#include <bit>
#include <cstdio>
#include <cstring>

#include "mesh2d/Mesh2D.h"
#include "mesh2d/util/UtDebug.h"
#include "mesh2d/util/UtMemory.h"

namespace mesh2d {
namespace {

uint32_t bswap32(uint32_t v) { return __builtin_bswap32(v); }

}  // namespace

ByteBuffer::ByteBuffer(const void* data, int size)
    : start_(static_cast<const uint8_t*>(data)),
      pos_(start_),
      end_(start_),
      size_(0),
      errors_(new LDVector<LDString>(UtMemory::getTmpMemoryParam())),
      hostBigEndian_(Mesh2D::getHostByteOrder() == 1) {
    if (start_ && size > 0) {
        size_ = size;
        end_ = start_ + size;
    }
    std::memset(scratch_, 0, sizeof(scratch_));
}

ByteBuffer::~ByteBuffer() { delete errors_; }

void ByteBuffer::setPosition(int position) {
    if (position < 0 || position > size_) {
        addError("range error");
        return;
    }
    pos_ = start_ + position;
}

void ByteBuffer::addError(const char* message) {
    if (hasError() || !errors_) {
        return;  // the first error is the one that explains the failure
    }
    char text[160];
    std::snprintf(text, sizeof(text), "[%d] %s", getPosition(), message);
    if (!errors_->push_back(LDString(text, UtMemory::getTmpMemoryParam()))) {
        // Without room for the text the failure must still be visible.
        std::fprintf(stdout, "%s\n", text);
    }
}

const char* ByteBuffer::getErrorText() const { return hasError() ? (*errors_)[0].c_str() : ""; }

bool ByteBuffer::need(int bytes) {
    if (hasError()) {
        return false;
    }
    if (bytes < 0 || end_ - pos_ < bytes) {
        addError("range error");
        return false;
    }
    return true;
}

bool ByteBuffer::swapping() const { return dataBigEndian_ != hostBigEndian_; }

const uint8_t* ByteBuffer::take(int n) {
    if (!need(n)) {
        std::memset(scratch_, 0, sizeof(scratch_));
        return scratch_;
    }
    if (swapping()) {
        for (int i = 0; i < n; ++i) {
            scratch_[i] = pos_[n - 1 - i];
        }
    } else {
        std::memcpy(scratch_, pos_, static_cast<size_t>(n));
    }
    pos_ += n;
    return scratch_;
}

void ByteBuffer::noteFloat(uint32_t bits) {
    if ((bits & 0x7F800000u) == 0x7F800000u) {
        nonFinite_ = true;
    }
}

int ByteBuffer::readNum() {
    int value = 0;
    for (int i = 0; i < 4; ++i) {
        if (!need(1)) {
            return 0;
        }
        const uint8_t b = *pos_++;
        if (i == 3) {
            if (b & 0x80) {
                addError("readNum error");
                return 0;
            }
            return (value << 7) | b;
        }
        value = (value << 7) | (b & 0x7F);
        if (!(b & 0x80)) {
            return value;
        }
    }
    return value;  // not reached
}

int32_t ByteBuffer::readInt() {
    int32_t v;
    std::memcpy(&v, take(4), 4);
    return v;
}

float ByteBuffer::readFloat() {
    uint32_t bits;
    std::memcpy(&bits, take(4), 4);
    noteFloat(bits);
    return std::bit_cast<float>(bits);
}

double ByteBuffer::readDouble() {
    double v;
    std::memcpy(&v, take(8), 8);
    return v;
}

uint8_t ByteBuffer::readUnsignedByte() { return need(1) ? *pos_++ : 0; }

int8_t ByteBuffer::readByte() { return static_cast<int8_t>(readUnsignedByte()); }

bool ByteBuffer::readBoolean() { return readUnsignedByte() != 0; }

LDString* ByteBuffer::readString(MemoryParam* param) {
    const int n = readNum();
    if (!need(n)) {
        return nullptr;
    }
    LDString* s = LD_NEW(param) LDString(reinterpret_cast<const char*>(pos_), n, param);
    pos_ += n;
    if (!s) {
        addError("out of memory for a string");
        return nullptr;
    }
    if (s->length() != n) {
        std::fprintf(stdout, "string length not match!!\n");
    }
    return s;
}

StringRef ByteBuffer::readStringRef() {
    const int n = readNum();
    if (!need(n)) {
        lastRef_.set(nullptr, 0);
        return lastRef_;
    }
    lastRef_.set(reinterpret_cast<const char*>(pos_), n);
    pos_ += n;
    return lastRef_;
}

// An array's elements must be in the file: count x element size may not exceed
// the bytes that remain, so a tiny file cannot ask for a huge block.
bool ByteBuffer::arrayFits(int count, int elementSize) {
    if (hasError()) {
        return false;
    }
    if (count < 0 || static_cast<int64_t>(count) * elementSize > end_ - pos_) {
        addError("illegal size of array");
        return false;
    }
    return true;
}

void* ByteBuffer::allocArray(MemoryParam* param, int count, int elementSize) {
    const size_t bytes = static_cast<size_t>(count) * static_cast<size_t>(elementSize);
    void* block = UtMemory::malloc(param, bytes < 4 ? 4 : bytes, __FILE__, __LINE__);
    if (!block) {
        addError("out of memory for an array");
    }
    return block;
}

int32_t* ByteBuffer::readArrayInt(MemoryParam* param, int* count) {
    *count = 0;
    const int n = readNum();
    if (swapInPlace_) {
        UtDebug::errorAt(__FILE__, __LINE__, "Not implemented @ByteBuffer#readArrayInt() with changeEndian %s", ".");
        addError("array read with changeEndian");
        return nullptr;
    }
    if (!arrayFits(n, 4)) {
        return nullptr;
    }
    auto* out = static_cast<int32_t*>(allocArray(param, n, 4));
    if (!out) {
        return nullptr;
    }
    std::memcpy(out, pos_, static_cast<size_t>(n) * 4);
    if (swapping()) {
        for (int i = 0; i < n; ++i) {
            out[i] = static_cast<int32_t>(bswap32(static_cast<uint32_t>(out[i])));
        }
    }
    pos_ += static_cast<size_t>(n) * 4;
    *count = n;
    return out;
}

uint16_t* ByteBuffer::readArrayIntAsUShort(MemoryParam* param, int* count) {
    *count = 0;
    const int n = readNum();
    if (swapInPlace_) {
        UtDebug::errorAt(__FILE__, __LINE__, "Not implemented @ByteBuffer#readArrayIntAsUShort() with changeEndian %s",
                         ".");
        addError("array read with changeEndian");
        return nullptr;
    }
    if (!arrayFits(n, 4)) {
        return nullptr;
    }
    auto* out = static_cast<uint16_t*>(allocArray(param, n, 2));
    if (!out) {
        return nullptr;
    }
    // The value is the low half of each 4-byte group: its last two bytes in file order.
    const bool fileBig = dataBigEndian_;
    for (int i = 0; i < n; ++i) {
        const uint8_t* g = pos_ + static_cast<size_t>(i) * 4;
        out[i] = fileBig ? static_cast<uint16_t>((g[2] << 8) | g[3]) : static_cast<uint16_t>((g[1] << 8) | g[0]);
    }
    pos_ += static_cast<size_t>(n) * 4;
    *count = n;
    return out;
}

float* ByteBuffer::readArrayFloat(MemoryParam* param, int* count) {
    *count = 0;
    const int n = readNum();
    if (!arrayFits(n, 4)) {
        return nullptr;
    }
    auto* out = static_cast<float*>(allocArray(param, n, 4));
    if (!out) {
        return nullptr;
    }
    // One pass: swap (when needed) while copying, and note any NaN or infinity.
    auto* bits = reinterpret_cast<uint32_t*>(out);
    uint32_t oddValue = 0;
    if (swapping()) {
        for (int i = 0; i < n; ++i) {
            uint32_t v;
            std::memcpy(&v, pos_ + static_cast<size_t>(i) * 4, 4);
            v = bswap32(v);
            bits[i] = v;
            oddValue |= static_cast<uint32_t>((v & 0x7F800000u) == 0x7F800000u);
        }
    } else {
        std::memcpy(bits, pos_, static_cast<size_t>(n) * 4);
        for (int i = 0; i < n; ++i) {
            oddValue |= static_cast<uint32_t>((bits[i] & 0x7F800000u) == 0x7F800000u);
        }
    }
    nonFinite_ = nonFinite_ || oddValue != 0;
    pos_ += static_cast<size_t>(n) * 4;
    *count = n;
    return out;
}

double* ByteBuffer::readArrayDouble(MemoryParam* param, int* count) {
    *count = 0;
    const int n = readNum();
    if (!arrayFits(n, 8)) {
        return nullptr;
    }
    auto* out = static_cast<double*>(allocArray(param, n, 8));
    if (!out) {
        return nullptr;
    }
    for (int i = 0; i < n; ++i) {
        std::memcpy(&out[i], take(8), 8);
    }
    *count = n;
    return out;
}

LDVector<int>* ByteBuffer::readVectorInt(MemoryParam* param) {
    int n = readNum();
    if (!arrayFits(n, 4)) {
        n = 0;
    }
    auto* v = LD_NEW(param) LDVector<int>(param, n, 0);
    if (!v || v->capacity() < n) {
        addError("out of memory for a vector");
        return v;
    }
    for (int i = 0; i < n; ++i) {
        v->push_back(readInt());
    }
    return v;
}

LDVector<float>* ByteBuffer::readVectorFloat(MemoryParam* param) {
    int n = readNum();
    if (!arrayFits(n, 4)) {
        n = 0;
    }
    auto* v = LD_NEW(param) LDVector<float>(param, n, 0);
    if (!v || v->capacity() < n) {
        addError("out of memory for a vector");
        return v;
    }
    for (int i = 0; i < n; ++i) {
        v->push_back(readFloat());
    }
    return v;
}

}  // namespace mesh2d
