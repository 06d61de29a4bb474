#include "mesh2d/id/ParamID.h"

#include "mesh2d/id/IDTable.h"

namespace mesh2d {
namespace {
IDTable<ParamID> g_table(64);
}  // namespace

ParamID* ParamID::getID(const LDString& name) { return g_table.get(name); }
ParamID* ParamID::getID(const char* name) { return g_table.get(name); }
ParamID* ParamID::getID(const StringRef& name) { return g_table.get(name); }
void ParamID::releaseStored() { g_table.release(); }
int ParamID::getStoredCount() { return g_table.count(); }
int ParamID::getTableCapacity() { return g_table.capacity(); }

}  // namespace mesh2d
