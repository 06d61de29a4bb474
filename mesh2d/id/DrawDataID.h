#pragma once
// The interned name of a drawable.
#include "mesh2d/id/ID.h"
#include "mesh2d/type/StringRef.h"

namespace mesh2d {

class DrawDataID : public ID {
public:
    ~DrawDataID() override = default;

    // The unique DrawDataID of that name, created on first request; null (with a
    // report) when the runtime is not initialised.
    static DrawDataID* getID(const LDString& name);
    static DrawDataID* getID(const char* name);
    static DrawDataID* getID(const StringRef& name);

    // Deletes every DrawDataID and the table (part of ID::releaseAll).
    static void releaseStored();
    // Number of IDs of this kind; the table's capacity (0 before first use).
    static int getStoredCount();
    static int getTableCapacity();

    DrawDataID(const char* bytes, int length) : ID(bytes, length) {}
};

}  // namespace mesh2d
