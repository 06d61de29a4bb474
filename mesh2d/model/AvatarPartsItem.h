#pragma once
// Three objects stored with avatar data; nothing in this program uses them,
// and they are not owned (the stream may give objects of any class here).
#include "mesh2d/io/ISerializableV2.h"

namespace mesh2d {

class AvatarPartsItem : public ISerializableV2 {
public:
    AvatarPartsItem() = default;
    ~AvatarPartsItem() override = default;

    void read(BReader& br, MemoryParam* param) override;

    void* getObject(int index) const { return (index >= 0 && index < 3) ? objects_[index] : nullptr; }

private:
    void* objects_[3] = {nullptr, nullptr, nullptr};
};

}  // namespace mesh2d
