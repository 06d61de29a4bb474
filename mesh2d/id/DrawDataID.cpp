#include "mesh2d/id/DrawDataID.h"

#include "mesh2d/id/IDTable.h"

namespace mesh2d {
namespace {
IDTable<DrawDataID> g_table(256);
}  // namespace

DrawDataID* DrawDataID::getID(const LDString& name) { return g_table.get(name); }
DrawDataID* DrawDataID::getID(const char* name) { return g_table.get(name); }
DrawDataID* DrawDataID::getID(const StringRef& name) { return g_table.get(name); }
void DrawDataID::releaseStored() { g_table.release(); }
int DrawDataID::getStoredCount() { return g_table.count(); }
int DrawDataID::getTableCapacity() { return g_table.capacity(); }

}  // namespace mesh2d
