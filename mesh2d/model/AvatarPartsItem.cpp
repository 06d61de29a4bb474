#include "mesh2d/model/AvatarPartsItem.h"

#include "mesh2d/io/BReader.h"

namespace mesh2d {

void AvatarPartsItem::read(BReader& br, MemoryParam* param) {
    for (void*& object : objects_) {
        object = br.readObject(param);
    }
}

}  // namespace mesh2d
