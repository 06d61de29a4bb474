#include "mesh2d/io/BReader.h"

#include <algorithm>
#include <functional>
#include <cstdio>

#include "mesh2d/id/BaseDataID.h"
#include "mesh2d/id/DrawDataID.h"
#include "mesh2d/id/ParamID.h"
#include "mesh2d/id/PartsDataID.h"
#include "mesh2d/io/FileFormat2.h"
#include "mesh2d/io/ISerializableV2.h"
#include "mesh2d/type/LDAffineTransform.h"
#include "mesh2d/type/LDColor.h"
#include "mesh2d/type/LDPoint.h"
#include "mesh2d/type/LDPointF.h"
#include "mesh2d/type/LDRect.h"
#include "mesh2d/type/LDRectF.h"
#include "mesh2d/util/UtDebug.h"
#include "mesh2d/util/UtMemory.h"

namespace mesh2d {
namespace {

using F = FileFormat2;

bool isKnownClass(int c) {
    switch (c) {
        case F::NULL_OBJECT: case F::LD_STRING: case F::LD_COLOR: case F::LD_RECTF_DOUBLE:
        case F::LD_RECTF: case F::LD_POINTF_DOUBLE: case F::LD_POINTF: case F::OBJECT_ARRAY:
        case F::NULL_OBJECT_16: case F::LD_AFFINE_TRANSFORM: case F::LD_RECT: case F::LD_POINT:
        case F::NESTED_ARRAY: case F::ARRAY_INT: case F::ARRAY_DOUBLE: case F::ARRAY_FLOAT:
        case F::BACK_REFERENCE: case F::DRAW_DATA_ID: case F::BASE_DATA_ID: case F::PARAM_ID:
        case F::PARTS_DATA_ID: case F::BD_BOX_GRID: case F::PIVOT_MANAGER: case F::PARAM_PIVOTS:
        case F::BD_AFFINE: case F::AFFINE_ENT: case F::DD_TEXTURE: case F::PARAM_DEF_FLOAT:
        case F::PARTS_DATA: case F::MODEL_IMPL: case F::PARAM_DEF_SET: case F::AVATAR_PARTS_ITEM:
            return true;
        default:
            return false;
    }
}

// Classes whose result is null without any payload.
bool givesNull(int c) { return c == F::NULL_OBJECT || c == F::NULL_OBJECT_16 || (c >= 48 && !isKnownClass(c)); }

bool isUnimplemented(int c) { return (c >= 2 && c <= 9) || c == 18 || c == 19 || c == 20 || c == 24 || c == 28; }

}  // namespace

BReader::BReader(const void* data, int size)
    : buffer_(data, size),
      references_(new LDVector<Reference>(UtMemory::getTmpMemoryParam(), kInitialReferenceCapacity)) {}

BReader::~BReader() {
    delete references_;
    UtMemory::free(sorted_);
}

bool BReader::readBit() {
    if (bitPos_ == 8) {
        bitByte_ = buffer_.readUnsignedByte();
        bitPos_ = 0;
    }
    const bool bit = ((bitByte_ >> (7 - bitPos_)) & 1) == 1;
    ++bitPos_;
    return bit;
}

void* BReader::readObject(MemoryParam* param, int classNo, int flags) {
    return readChecked(param, classNo, flags, nullptr);
}

void* BReader::readObject(MemoryParam* param, const ObjectExpect& expect, int flags) {
    return readChecked(param, -1, flags, &expect);
}

bool BReader::enter() {
    if (depth_ >= kMaxDepth) {
        fail("object nesting too deep @BReader#readObject()");
        return false;
    }
    ++depth_;
    return true;
}

void* BReader::readChecked(MemoryParam* param, int classNo, int flags, const ObjectExpect* expect) {
    resetBits();
    lastClass_ = F::NULL_OBJECT;
    lastCount_ = 0;
    if (hasError()) {
        return nullptr;
    }
    if (classNo < 0) {
        classNo = buffer_.readNum();
        if (hasError()) {
            return nullptr;
        }
    }
    if (UtDebug::hasExtraDebugFlag(UtDebug::READ_OBJECT_DEBUG)) {
        UtDebug::print("[%02d] readObject()  cno == %d", traceCount_++, classNo);
    }
    if (classNo == F::BACK_REFERENCE) {
        return backReference(expect);
    }
    if (expect) {
        const bool ok = givesNull(classNo) ? expect->nullable : expect->accepts(classNo);
        if (!ok) {
            char text[96];
            std::snprintf(text, sizeof(text), "object of class %d where the field expects another class", classNo);
            fail(text);
            return nullptr;
        }
    }
    if (!enter()) {
        return nullptr;
    }
    int count = 0;
    void* object = build(param, classNo, flags, expect, &count);
    leave();
    if (hasError() && !object) {
        return nullptr;
    }
    record(object, classNo, count);
    lastClass_ = classNo;
    lastCount_ = count;
    return object;
}

void* BReader::backReference(const ObjectExpect* expect) {
    const int index = buffer_.readInt();
    if (hasError()) {
        return nullptr;
    }
    if (index < 0 || index >= getReferenceCount()) {
        fail("illegal refNo @Breader");
        return nullptr;
    }
    const Reference ref = (*references_)[index];
    if (expect) {
        const bool ok = ref.object ? expect->accepts(ref.classNo) : expect->nullable;
        if (!ok) {
            fail("back-reference to an object of the wrong class");
            return nullptr;
        }
        // Only interned IDs may be shared: any other object reached twice would
        // be owned, and deleted, twice.
        if (ref.object && !F::isIdClass(ref.classNo)) {
            fail("back-reference would give an object a second owner");
            return nullptr;
        }
    }
    lastClass_ = ref.classNo;
    lastCount_ = ref.count;
    return ref.object;
}

void BReader::record(void* object, int classNo, int count) {
    if (!references_->push_back(Reference{object, classNo, count})) {
        fail("out of memory for the reference table");
    }
}

void* BReader::build(MemoryParam* param, int classNo, int flags, const ObjectExpect* expect, int* count) {
    if (givesNull(classNo)) {
        return nullptr;
    }
    if (isUnimplemented(classNo)) {
        fail("not impl : readObject() of 2-9 ,18,19,20,24,28");
        return nullptr;
    }
    switch (classNo) {
        case F::OBJECT_ARRAY:
            return buildObjectArray(param, expect ? expect->elements : nullptr, count);
        case F::NESTED_ARRAY: {
            const int dimension = buffer_.readNum();
            const int elementClass = buffer_.readNum();
            ObjectArray* array = read_array_int(param, dimension, elementClass);
            *count = array ? array->size() : 0;
            return array;
        }
        case F::ARRAY_INT:
            if (flags & 1) {
                return buffer_.readArrayIntAsUShort(param, count);
            }
            return buffer_.readArrayInt(param, count);
        case F::ARRAY_DOUBLE:
            return buffer_.readArrayDouble(param, count);
        case F::ARRAY_FLOAT:
            return buffer_.readArrayFloat(param, count);
        case F::DRAW_DATA_ID: case F::BASE_DATA_ID: case F::PARAM_ID: case F::PARTS_DATA_ID:
            return buildId(classNo);
        default:
            break;
    }
    if (classNo < 48 && classNo != F::LD_STRING && !isKnownClass(classNo)) {
        fail("not impl : readObject() NO DEF");
        return nullptr;
    }
    if (classNo < 48) {
        return buildValue(param, classNo);
    }
    ISerializableV2* object = FileFormat2::createObject(param, classNo);
    if (!object) {
        fail("cannot create an object @BReader#readObject()");
        return nullptr;
    }
    object->read(*this, param);
    return object;
}

void* BReader::buildValue(MemoryParam* param, int classNo) {
    void* object = nullptr;
    switch (classNo) {
        case F::LD_STRING:
            return buffer_.readString(param);
        case F::LD_COLOR:
            object = LD_NEW(param) LDColor(buffer_.readInt());
            break;
        case F::LD_RECTF_DOUBLE: {
            const double x = buffer_.readDouble(), y = buffer_.readDouble();
            const double w = buffer_.readDouble(), h = buffer_.readDouble();
            object = LD_NEW(param) LDRectF(static_cast<float>(x), static_cast<float>(y), static_cast<float>(w),
                                           static_cast<float>(h));
            break;
        }
        case F::LD_RECTF: {
            const float x = buffer_.readFloat(), y = buffer_.readFloat();
            const float w = buffer_.readFloat(), h = buffer_.readFloat();
            object = LD_NEW(param) LDRectF(x, y, w, h);
            break;
        }
        case F::LD_POINTF_DOUBLE: {
            const double x = buffer_.readDouble(), y = buffer_.readDouble();
            object = LD_NEW(param) LDPointF(static_cast<float>(x), static_cast<float>(y));
            break;
        }
        case F::LD_POINTF: {
            const float x = buffer_.readFloat(), y = buffer_.readFloat();
            object = LD_NEW(param) LDPointF(x, y);
            break;
        }
        case F::LD_AFFINE_TRANSFORM: {
            float m[6];
            for (float& v : m) {
                v = static_cast<float>(buffer_.readDouble());
            }
            object = LD_NEW(param) LDAffineTransform(m[0], m[1], m[2], m[3], m[4], m[5]);
            break;
        }
        case F::LD_RECT: {
            const int x = buffer_.readInt(), y = buffer_.readInt();
            const int w = buffer_.readInt(), h = buffer_.readInt();
            object = LD_NEW(param) LDRect(x, y, w, h);
            break;
        }
        case F::LD_POINT: {
            const int x = buffer_.readInt(), y = buffer_.readInt();
            object = LD_NEW(param) LDPoint(x, y);
            break;
        }
        default:
            fail("not impl : readObject() NO DEF");
            return nullptr;
    }
    if (!object) {
        fail("cannot create an object @BReader#readObject()");
    }
    return object;
}

void* BReader::buildId(int classNo) {
    const StringRef name = buffer_.readStringRef();
    if (hasError()) {
        return nullptr;
    }
    void* id = nullptr;
    switch (classNo) {
        case F::DRAW_DATA_ID: id = DrawDataID::getID(name); break;
        case F::BASE_DATA_ID: id = BaseDataID::getID(name); break;
        case F::PARAM_ID: id = ParamID::getID(name); break;
        default: id = PartsDataID::getID(name); break;
    }
    if (!id) {
        fail("cannot intern an ID @BReader#readObject()");
    }
    return id;
}

ObjectArray* BReader::buildObjectArray(MemoryParam* param, const ObjectExpect* elements, int* count) {
    const int n = buffer_.readNum();
    // Every element takes at least one byte (its class number).
    if (hasError() || n < 0 || n > buffer_.getRemaining()) {
        fail("illegal size of array");
        return nullptr;
    }
    auto* array = LD_NEW(param) ObjectArray(param, n);
    if (!array || array->capacity() < n) {
        fail("out of memory for an object array");
        delete array;
        return nullptr;
    }
    for (int i = 0; i < n && !hasError(); ++i) {
        void* element = readChecked(param, -1, 0, elements);
        array->push_back(element);
    }
    *count = array->size();
    return array;
}

ObjectArray* BReader::read_array_int(MemoryParam* param, int dimension, int elementClass) {
    if (hasError()) {
        return nullptr;
    }
    if (dimension == 2 && elementClass >= 2 && elementClass <= 9) {
        fail("not impl type @BReader#read_array_int()");
        return nullptr;
    }
    const int n = buffer_.readNum();
    if (hasError() || dimension < 1 || n > buffer_.getRemaining()) {
        fail("illegal size of array");
        return nullptr;
    }
    if (!enter()) {
        return nullptr;
    }
    auto* array = LD_NEW(param) ObjectArray(param, n);
    if (!array || array->capacity() < n) {
        fail("out of memory for an object array");
        delete array;
        leave();
        return nullptr;
    }
    for (int i = 0; i < n && !hasError(); ++i) {
        if (dimension == 1) {
            array->push_back(readChecked(param, -1, 0, nullptr));
        } else {
            array->push_back(read_array_int(param, dimension - 1, elementClass));
        }
    }
    leave();
    return array;
}

bool BReader::findReference(const void* object, int* classNo, int* count) {
    const int n = getReferenceCount();
    if (sortedCount_ != n) {
        UtMemory::free(sorted_);
        sorted_ = static_cast<SortedRef*>(
            UtMemory::malloc(UtMemory::getTmpMemoryParam(), sizeof(SortedRef) * static_cast<size_t>(n > 0 ? n : 1),
                             __FILE__, __LINE__));
        sortedCount_ = 0;
        if (!sorted_) {
            return false;
        }
        for (int i = 0; i < n; ++i) {
            sorted_[i] = SortedRef{(*references_)[i].object, i};
        }
        std::sort(sorted_, sorted_ + n, [](const SortedRef& a, const SortedRef& b) {
            return std::less<const void*>()(a.object, b.object);
        });
        sortedCount_ = n;
    }
    SortedRef* end = sorted_ + sortedCount_;
    const SortedRef* it = std::lower_bound(sorted_, end, object, [](const SortedRef& r, const void* p) {
        return std::less<const void*>()(r.object, p);
    });
    if (!object || it == end || it->object != object) {
        return false;
    }
    const Reference& ref = (*references_)[it->index];
    *classNo = ref.classNo;
    *count = ref.count;
    return true;
}

}  // namespace mesh2d
