#pragma once
// Reader of the object stream of a model file: class numbers, back-references
// and arrays on top of the primitive decoding of ByteBuffer.
//
// Every readObject except a back-reference appends its result to the reference
// table once the object is complete (nulls, IDs and arrays included; a
// container after its contents), together with its class number and, for
// arrays, its element count. That record lets the model check look up what an
// array holds and spares it any guessing.
//
// Errors never unwind: the first one (a primitive error or a fatal stream
// error) is kept, every later read yields null or 0, and the loader refuses the
// model. Nesting is bounded so a hostile file cannot exhaust the stack.
#include <cstdint>

#include "mesh2d/io/ByteBuffer.h"
#include "mesh2d/io/ObjectExpect.h"
#include "mesh2d/memory/LDObject.h"
#include "mesh2d/type/LDVector.h"

namespace mesh2d {

class ISerializableV2;
class MemoryParam;

// The result of class 15: a vector of untyped object pointers.
using ObjectArray = LDVector<void*>;

class BReader : public LDObject {
public:
    struct Reference {
        void* object;
        int classNo;
        int count;  // element count of arrays (classes 15, 23, 25, 26, 27); 0 otherwise
    };

    // Deepest nesting of objects and arrays a file may use.
    static constexpr int kMaxDepth = 32;
    static constexpr int kInitialReferenceCapacity = 10000;

    BReader(const void* data, int size);
    ~BReader() override;

    // One object; with classNo -1 the class number comes from the stream.
    // Flag bit 0 selects the unsigned 16-bit form of class 25.
    void* readObject(MemoryParam* param, int classNo = -1, int flags = 0);
    // One object whose class must be one the field accepts (class from the stream).
    void* readObject(MemoryParam* param, const ObjectExpect& expect, int flags = 0);

    template <typename T>
    T* readSerializable(MemoryParam* param, const ObjectExpect& expect) {
        return static_cast<T*>(static_cast<ISerializableV2*>(readObject(param, expect)));
    }
    ObjectArray* readObjectArray(MemoryParam* param, const ObjectExpect& expect) {
        return static_cast<ObjectArray*>(readObject(param, expect));
    }

    // Bits from the most significant down; other reads start a fresh byte.
    bool readBit();

    int readNum() { resetBits(); return buffer_.readNum(); }
    int32_t readInt() { resetBits(); return buffer_.readInt(); }
    float readFloat() { resetBits(); return buffer_.readFloat(); }
    double readDouble() { resetBits(); return buffer_.readDouble(); }
    int8_t readByte() { resetBits(); return buffer_.readByte(); }
    bool readBoolean() { resetBits(); return buffer_.readBoolean(); }
    LDVector<int>* readVectorInt(MemoryParam* param) { resetBits(); return buffer_.readVectorInt(param); }
    LDVector<float>* readVectorFloat(MemoryParam* param) { resetBits(); return buffer_.readVectorFloat(param); }

    // The nested array of class 23 (dimension d, element class e).
    ObjectArray* read_array_int(MemoryParam* param, int dimension, int elementClass);

    int getFormatVersion() const { return formatVersion_; }
    void setFormatVersion(int version) { formatVersion_ = version; }
    ByteBuffer& getByteBuffer() { return buffer_; }

    bool hasError() const { return buffer_.hasError(); }
    const char* getErrorText() const { return buffer_.getErrorText(); }
    // Ends the read: records the message (if it is the first error).
    void fail(const char* message) { buffer_.addError(message); }

    int getReferenceCount() const { return references_ ? references_->size() : 0; }
    const Reference& getReference(int index) const { return (*references_)[index]; }
    // What the reader recorded for an object it returned; false for an unknown address.
    bool findReference(const void* object, int* classNo, int* count);

    // Class number and element count of the object the last readObject returned.
    int getLastClass() const { return lastClass_; }
    int getLastCount() const { return lastCount_; }

private:
    struct SortedRef {
        const void* object;
        int index;
    };

    void resetBits() { bitPos_ = 8; }
    void* readChecked(MemoryParam* param, int classNo, int flags, const ObjectExpect* expect);
    void* backReference(const ObjectExpect* expect);
    void* build(MemoryParam* param, int classNo, int flags, const ObjectExpect* expect, int* count);
    void* buildValue(MemoryParam* param, int classNo);
    void* buildId(int classNo);
    ObjectArray* buildObjectArray(MemoryParam* param, const ObjectExpect* elements, int* count);
    void record(void* object, int classNo, int count);
    bool enter();
    void leave() { --depth_; }

    int formatVersion_ = 0;
    ByteBuffer buffer_;
    int bitPos_ = 8;
    int bitByte_ = 0;
    LDVector<Reference>* references_;
    int depth_ = 0;
    int traceCount_ = 0;
    int lastClass_ = 0;
    int lastCount_ = 0;
    SortedRef* sorted_ = nullptr;
    int sortedCount_ = 0;
};

}  // namespace mesh2d
