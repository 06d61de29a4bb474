#pragma once
// The model drawn with OpenGL ES 1: an AMesh2DModel with its DrawParam_iPhone.
// The static loadModel lives with the reader (Mesh2DModelIPhone_load.cpp).
// Names kept from the phone client: see docs/GLOSSARY.md.
#include "mesh2d/AMesh2DModel.h"

namespace mesh2d {

class DrawParam_iPhone;

class Mesh2DModelIPhone : public AMesh2DModel {
public:
    Mesh2DModelIPhone();
    ~Mesh2DModelIPhone() override;

    // A new model read from bytes, or null (the error code stays the
    // runtime's last error).
    static Mesh2DModelIPhone* loadModel(const void* buf, int bufSize);

    // Binds a GL texture name to a texture number; negative numbers are refused.
    void setTexture(int textureNo, unsigned int openGLTextureNo);

    void draw() override;
    int generateModelTextureNo() override;
    void releaseModelTextureNo(int no) override;
    DrawParam* getDrawParam() override;

private:
    DrawParam_iPhone* drawParamIPhone_ = nullptr;
};

}  // namespace mesh2d
