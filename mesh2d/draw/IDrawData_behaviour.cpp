// What the drawable base does for kinds that do not override it.
#include "mesh2d/draw/IDrawData.h"
#include "mesh2d/id/DrawDataID.h"
#include "mesh2d/util/UtDebug.h"

namespace mesh2d {

IDrawContext* IDrawData::createContext(ModelContext*) {
    unimplementedOperation();
    return nullptr;
}

void IDrawData::interpolate(ModelContext*, IDrawContext*) { unimplementedOperation(); }
void IDrawData::applyParent(ModelContext*, IDrawContext*) { unimplementedOperation(); }
void IDrawData::draw(DrawParam*, ModelContext*, IDrawContext*) { unimplementedOperation(); }

void IDrawData::dump() {
    UtDebug::print("    IDrawData [ %s ]", getDrawDataID() ? getDrawDataID()->toChar() : "");
}

void IDrawData::unimplementedOperation() { UtDebug::error("not implemented"); }

}  // namespace mesh2d
