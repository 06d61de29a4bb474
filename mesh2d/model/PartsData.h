#pragma once
// One part of a model: its ID, visibility, and the deformers and drawables
// that belong to it. Owns both lists and their contents.
#include "mesh2d/io/BReader.h"
#include "mesh2d/io/ISerializableV2.h"

namespace mesh2d {

class IBaseData;
class IDrawData;
class PartsDataID;

class PartsData : public ISerializableV2 {
public:
    PartsData() = default;
    ~PartsData() override;

    void read(BReader& br, MemoryParam* param) override;

    bool isVisible() const { return visible_; }
    bool isLocked() const { return locked_; }
    PartsDataID* getPartsDataID() const { return partsId_; }

    int getBaseDataCount() const { return baseDataList_ ? baseDataList_->size() : 0; }
    IBaseData* getBaseData(int index) const;
    int getDrawDataCount() const { return drawDataList_ ? drawDataList_->size() : 0; }
    IDrawData* getDrawData(int index) const;

private:
    bool visible_ = true;
    bool locked_ = false;  // read from the file, used by nothing
    PartsDataID* partsId_ = nullptr;  // interned, not owned
    ObjectArray* baseDataList_ = nullptr;
    ObjectArray* drawDataList_ = nullptr;
};

}  // namespace mesh2d
