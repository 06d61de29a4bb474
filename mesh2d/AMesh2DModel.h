#pragma once
// The public model class: model data read from a file plus the run-time
// context built from it. Hosts set parameters and part opacities between
// frames and call update and draw once per frame.
//
// Loading (loadModel_exe) lives with the model-file reader in
// AMesh2DModel_load.cpp; the per-frame behaviour in AMesh2DModel.cpp.
// Names kept from the phone client: see docs/GLOSSARY.md.
#include "mesh2d/memory/LDObject.h"

namespace mesh2d {

class DrawParam;
class IDrawData;
class ModelContext;
class ModelImpl;

class AMesh2DModel : public LDObject {
public:
    AMesh2DModel();
    ~AMesh2DModel() override;

    // Builds the run-time context again from the model data.
    virtual void init();
    virtual void update();
    virtual void draw();
    virtual int generateModelTextureNo();
    virtual void releaseModelTextureNo(int no);
    // Null in the base class.
    virtual DrawParam* getDrawParam();
    // Index of a drawable by name, searched from the last to the first; -1 if absent.
    virtual int getDrawDataIndex(const char* drawDataId);
    // Null (with a report) for an index outside the drawable list.
    virtual IDrawData* getDrawData(int drawDataIndex);
    // A textured drawable's draw points and their count; null (count 0) for
    // another kind or an index outside the list.
    virtual float* getTransformedPoints(int drawDataIndex, int* pointCount);
    // A textured drawable's triangle indices and the triangle count.
    virtual unsigned short* getIndexArray(int drawDataIndex, int* polygonCount);

    // value × weight + current × (1 − weight); undeclared names are created.
    void setParamFloat(const char* paramId, float value, float weight = 1.0f);
    float getParamFloat(const char* paramId);
    // A name that is not a part of the model is ignored; no clamping.
    void setPartsOpacity(const char* partsId, float opacity);
    // The part's opacity, or 0 for an unknown part.
    float getPartsOpacity(const char* partsId);

    ModelImpl* getModelImpl() const { return modelImpl_; }
    // Takes ownership; the previous data is deleted.
    void setModelImpl(ModelImpl* modelImpl);
    ModelContext* getModelContext() const { return modelContext_; }

    // Reads a model file into `model` and initialises its context; 0 on
    // success, else the load error code (2000: version too new, 2001: broken).
    static int loadModel_exe(AMesh2DModel* model, const void* buf, int bufSize);

protected:
    ModelImpl* modelImpl_ = nullptr;
    ModelContext* modelContext_ = nullptr;
};

}  // namespace mesh2d
