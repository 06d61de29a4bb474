#include "mesh2d/base/AffineEnt.h"

#include "mesh2d/io/BReader.h"
#include "mesh2d/io/FileFormat2.h"

namespace mesh2d {

void AffineEnt::read(BReader& br, MemoryParam*) {
    originX = br.readFloat();
    originY = br.readFloat();
    scaleX = br.readFloat();
    scaleY = br.readFloat();
    rotationDeg = br.readFloat();
    if (br.getFormatVersion() >= FileFormat2::MESH2D_FORMAT_VERSION_V2_10_SDK2) {
        reflectX = br.readBoolean();
        reflectY = br.readBoolean();
    }
}

}  // namespace mesh2d
