#pragma once
// The model data read from a model file: parameter definitions and parts.
// Everything below the model object lives in the model's own holders (GPU
// arrays in "ModelImpl-GPU"), which die with it.
#include "mesh2d/io/BReader.h"
#include "mesh2d/io/ISerializableV2.h"

namespace mesh2d {

class AMemoryHolder;
class ParamDefSet;
class PartsData;

class ModelImpl : public ISerializableV2 {
public:
    static constexpr int PAGE_SIZE = 8192;

    ModelImpl();
    ~ModelImpl() override;

    // Reads with the model's own memory parameter, whatever the reader passes.
    void read(BReader& br, MemoryParam* param) override;
    // Empty definitions and part list for a model that has none yet.
    bool initDirect();

    ParamDefSet* getParamDefSet() const { return paramDefSet_; }
    int getPartsDataCount() const { return partsList_ ? partsList_->size() : 0; }
    PartsData* getPartsData(int index) const;
    int getCanvasWidth() const { return canvasWidth_; }
    int getCanvasHeight() const { return canvasHeight_; }
    MemoryParam* getMemoryParam() const { return memoryParam_; }
    // False when the holders could not be created.
    bool isUsable() const { return memoryParam_ != nullptr; }

private:
    ParamDefSet* paramDefSet_ = nullptr;
    ObjectArray* partsList_ = nullptr;  // PartsData, owned
    int canvasWidth_ = 400;
    int canvasHeight_ = 400;
    MemoryParam* memoryParam_ = nullptr;
    AMemoryHolder* memoryHolderFixedMain_ = nullptr;
    AMemoryHolder* memoryHolderFixedGPU_ = nullptr;
};

}  // namespace mesh2d
