#pragma once
// Primitive decoding of a model file held in memory. The buffer never owns or
// copies the file: numbers are decoded in place (byte-reversed through a
// scratch area when the host order differs from the file's big-endian order)
// and arrays are copied once into blocks of the caller's memory parameter.
//
// The first error (a read past the end, a bad variable-length number, an array
// that cannot fit in the remaining bytes) is sticky: every later read yields
// 0, null or an empty result without touching the data, so a broken file can
// never be half-read into something that looks valid.
#include <cstdint>

#include "mesh2d/type/LDString.h"
#include "mesh2d/type/LDVector.h"
#include "mesh2d/type/StringRef.h"

namespace mesh2d {

class MemoryParam;

class ByteBuffer {
public:
    ByteBuffer(const void* data, int size);
    virtual ~ByteBuffer();
    ByteBuffer(const ByteBuffer&) = delete;
    ByteBuffer& operator=(const ByteBuffer&) = delete;

    // Variable-length unsigned number: 1 to 4 bytes, 7 bits each, most
    // significant group first; a set top bit means another byte follows.
    int readNum();
    int32_t readInt();
    float readFloat();
    double readDouble();
    int8_t readByte();
    bool readBoolean();
    uint8_t readUnsignedByte();

    // readNum length, then the bytes: a new string in `param`, or a view into the buffer.
    LDString* readString(MemoryParam* param);
    StringRef readStringRef();

    // readNum count, then count elements into a new block of `param`; *count
    // receives the element count (0 with a null result on error). An empty
    // array still gets a (minimal) block, so every array read has its own address.
    int32_t* readArrayInt(MemoryParam* param, int* count);
    uint16_t* readArrayIntAsUShort(MemoryParam* param, int* count);  // low 16 bits of each int
    float* readArrayFloat(MemoryParam* param, int* count);
    double* readArrayDouble(MemoryParam* param, int* count);
    // The same encodings as LDVectors whose size is the count (empty on error; null only
    // when the vector itself cannot be allocated).
    LDVector<int>* readVectorInt(MemoryParam* param);
    LDVector<float>* readVectorFloat(MemoryParam* param);

    int getPosition() const { return static_cast<int>(pos_ - start_); }
    void setPosition(int position);
    int getSize() const { return size_; }
    int getRemaining() const { return static_cast<int>(end_ - pos_); }
    const uint8_t* getData() const { return start_; }

    // Records "[position] message" as the buffer's error; only the first one is kept.
    void addError(const char* message);
    bool hasError() const { return errors_ && errors_->size() > 0; }
    // The first error, or "" when there is none.
    const char* getErrorText() const;

    // True once any float read was NaN or infinite (models must not hold such values).
    bool sawNonFiniteFloat() const { return nonFinite_; }

    void setDataBigEndian(bool bigEndian) { dataBigEndian_ = bigEndian; }
    // Swapping in place is not supported by the array reads (loading never sets it).
    void setChangeEndianInPlace(bool inPlace) { swapInPlace_ = inPlace; }

private:
    bool need(int bytes);
    bool swapping() const;
    // Reads n (<= 8) bytes in host order into the scratch area.
    const uint8_t* take(int n);
    bool arrayFits(int count, int elementSize);
    void* allocArray(MemoryParam* param, int count, int elementSize);
    void noteFloat(uint32_t bits);

    const uint8_t* start_;
    const uint8_t* pos_;
    const uint8_t* end_;
    int size_;
    LDVector<LDString>* errors_;
    uint8_t scratch_[8];
    StringRef lastRef_;
    bool dataBigEndian_ = true;
    bool hostBigEndian_;  // the order Mesh2D::init recorded
    bool swapInPlace_ = false;
    bool nonFinite_ = false;
};

}  // namespace mesh2d
