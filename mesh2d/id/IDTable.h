#pragma once
// The process-wide table of one ID kind: an LDVector of pointers in the static
// parameter, created on first use, searched from the newest entry back.
#include <cstring>

#include "mesh2d/id/ID.h"
#include "mesh2d/type/LDString.h"
#include "mesh2d/type/LDVector.h"
#include "mesh2d/type/StringRef.h"
#include "mesh2d/util/UtDebug.h"
#include "mesh2d/util/UtMemory.h"

namespace mesh2d {

template <typename Kind>
class IDTable {
public:
    explicit IDTable(int initialCapacity) : initialCapacity_(initialCapacity) {}

    Kind* get(const LDString& name)
    {
        return find(name.c_str(), name.length(), name.getHashcode());
    }
    Kind* get(const char* name)
    {
        const int length = name ? static_cast<int>(std::strlen(name)) : 0;
        return find(name, length, LDString::calcHash(name, length));
    }
    Kind* get(const StringRef& name)
    {
        return find(name.ptr(), name.length(), LDString::calcHash(name.ptr(), name.length()));
    }

    void release()
    {
        if (!table_) return;
        for (int i = table_->size() - 1; i >= 0; --i) delete (*table_)[i];
        delete table_;
        table_ = nullptr;
    }

    int count() const { return table_ ? table_->size() : 0; }
    int capacity() const { return table_ ? table_->capacity() : 0; }

private:
    Kind* find(const char* bytes, int length, int hash)
    {
        if (length < 0 || (length > 0 && !bytes)) return nullptr;
        if (!table_ && !createTable()) return nullptr;
        for (int i = table_->size() - 1; i >= 0; --i) {
            const LDString& candidate = (*table_)[i]->getName();
            // Length and cached hash first: the bytes are touched only on a likely match.
            if (candidate.length() != length || candidate.getHashcode() != hash) continue;
            if (sameBytes(candidate.c_str(), bytes, length)) return (*table_)[i];
        }
        return create(bytes, length);
    }

    static bool sameBytes(const char* a, const char* b, int length)
    {
        for (int i = length - 1; i >= 0; --i) {
            if (a[i] != b[i]) return false;
        }
        return true;
    }

    bool createTable()
    {
        MemoryParam* param = UtMemory::getStaticMemoryParam();
        if (!param) {
            UtDebug::error("ID requested before Mesh2D::init() @ID::getID()");
            return false;
        }
        table_ = LD_NEW(param) LDVector<Kind*>(param, initialCapacity_);
        return table_ != nullptr;
    }

    Kind* create(const char* bytes, int length)
    {
        Kind* id = LD_NEW(UtMemory::getStaticMemoryParam()) Kind(bytes, length);
        if (!id) return nullptr;
        if (id->getName().length() != length || !table_->push_back(id)) {
            delete id;
            return nullptr;
        }
        return id;
    }

    LDVector<Kind*>* table_ = nullptr;
    int initialCapacity_;
};

}  // namespace mesh2d
