#include "live2d/base/AffineEnt.h"

#include "live2d/io/BReader.h"
#include "live2d/io/FileFormat2.h"

namespace live2d {

void AffineEnt::read(BReader& br, MemoryParam*) {
    originX = br.readFloat();
    originY = br.readFloat();
    scaleX = br.readFloat();
    scaleY = br.readFloat();
    rotationDeg = br.readFloat();
    if (br.getFormatVersion() >= FileFormat2::LIVE2D_FORMAT_VERSION_V2_10_SDK2) {
        reflectX = br.readBoolean();
        reflectY = br.readBoolean();
    }
}

}  // namespace live2d
