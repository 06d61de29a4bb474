#include "live2d/model/AvatarPartsItem.h"

#include "live2d/io/BReader.h"

namespace live2d {

void AvatarPartsItem::read(BReader& br, MemoryParam* param) {
    for (void*& object : objects_) {
        object = br.readObject(param);
    }
}

}  // namespace live2d
