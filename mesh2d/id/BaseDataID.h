#pragma once
// The interned name of a deformer.
#include "mesh2d/id/ID.h"
#include "mesh2d/type/StringRef.h"

namespace mesh2d {

class BaseDataID : public ID {
public:
    ~BaseDataID() override = default;

    // The unique BaseDataID of that name, created on first request; null (with a
    // report) when the runtime is not initialised.
    static BaseDataID* getID(const LDString& name);
    static BaseDataID* getID(const char* name);
    static BaseDataID* getID(const StringRef& name);

    // Deletes every BaseDataID and the table (part of ID::releaseAll).
    static void releaseStored();
    // Number of IDs of this kind; the table's capacity (0 before first use).
    static int getStoredCount();
    static int getTableCapacity();

    BaseDataID(const char* bytes, int length) : ID(bytes, length) {}
};

}  // namespace mesh2d
