#pragma once
// Base of the interned identifiers. Each kind keeps one process-wide table;
// an ID is unique per kind and name, so IDs compare by pointer.
#include "mesh2d/memory/LDObject.h"
#include "mesh2d/type/LDString.h"

namespace mesh2d {

class MemoryParam;

class ID : public LDObject {
public:
    ~ID() override = default;

    const LDString& getName() const { return name_; }
    const char* toChar() const { return name_.c_str(); }

    // Called by Mesh2D::dispose: releases the four tables, then the ID holder.
    static void releaseAll();
    // Called by Mesh2D::init: the fixed holder "ID" and its parameter, which
    // hold the IDs' names.
    static bool createHolder();
    static MemoryParam* getIDMemoryParam();

protected:
    ID(const char* bytes, int length);

private:
    LDString name_;
};

}  // namespace mesh2d
