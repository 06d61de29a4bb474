#pragma once
// Base of every class the object stream can create.
// Names kept from the phone client: see docs/GLOSSARY.md.
#include "mesh2d/memory/LDObject.h"

namespace mesh2d {

class BReader;
class MemoryParam;

class ISerializableV2 : public LDObject {
public:
    ~ISerializableV2() override = default;
    // Reads the class's own payload, allocating everything from `param`.
    virtual void read(BReader& br, MemoryParam* param) = 0;
};

}  // namespace mesh2d
