#pragma once
// The interned name of a parameter.
#include "mesh2d/id/ID.h"
#include "mesh2d/type/StringRef.h"

namespace mesh2d {

class ParamID : public ID {
public:
    ~ParamID() override = default;

    // The unique ParamID of that name, created on first request; null (with a
    // report) when the runtime is not initialised.
    static ParamID* getID(const LDString& name);
    static ParamID* getID(const char* name);
    static ParamID* getID(const StringRef& name);

    // Deletes every ParamID and the table (part of ID::releaseAll).
    static void releaseStored();
    // Number of IDs of this kind; the table's capacity (0 before first use).
    static int getStoredCount();
    static int getTableCapacity();

    ParamID(const char* bytes, int length) : ID(bytes, length) {}
};

}  // namespace mesh2d
