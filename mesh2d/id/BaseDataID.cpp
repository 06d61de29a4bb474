#include "mesh2d/id/BaseDataID.h"

#include "mesh2d/id/IDTable.h"

namespace mesh2d {
namespace {
IDTable<BaseDataID> g_table(128);
}  // namespace

BaseDataID* BaseDataID::getID(const LDString& name) { return g_table.get(name); }
BaseDataID* BaseDataID::getID(const char* name) { return g_table.get(name); }
BaseDataID* BaseDataID::getID(const StringRef& name) { return g_table.get(name); }
void BaseDataID::releaseStored() { g_table.release(); }
int BaseDataID::getStoredCount() { return g_table.count(); }
int BaseDataID::getTableCapacity() { return g_table.capacity(); }

}  // namespace mesh2d
