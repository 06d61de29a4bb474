#include "mesh2d/id/PartsDataID.h"

#include "mesh2d/id/IDTable.h"

namespace mesh2d {
namespace {
IDTable<PartsDataID> g_table(64);
}  // namespace

PartsDataID* PartsDataID::getID(const LDString& name) { return g_table.get(name); }
PartsDataID* PartsDataID::getID(const char* name) { return g_table.get(name); }
PartsDataID* PartsDataID::getID(const StringRef& name) { return g_table.get(name); }
void PartsDataID::releaseStored() { g_table.release(); }
int PartsDataID::getStoredCount() { return g_table.count(); }
int PartsDataID::getTableCapacity() { return g_table.capacity(); }

}  // namespace mesh2d
