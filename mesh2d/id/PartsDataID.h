#pragma once
// The interned name of a part.
#include "mesh2d/id/ID.h"
#include "mesh2d/type/StringRef.h"

namespace mesh2d {

class PartsDataID : public ID {
public:
    ~PartsDataID() override = default;

    // The unique PartsDataID of that name, created on first request; null (with a
    // report) when the runtime is not initialised.
    static PartsDataID* getID(const LDString& name);
    static PartsDataID* getID(const char* name);
    static PartsDataID* getID(const StringRef& name);

    // Deletes every PartsDataID and the table (part of ID::releaseAll).
    static void releaseStored();
    // Number of IDs of this kind; the table's capacity (0 before first use).
    static int getStoredCount();
    static int getTableCapacity();

    PartsDataID(const char* bytes, int length) : ID(bytes, length) {}
};

}  // namespace mesh2d
