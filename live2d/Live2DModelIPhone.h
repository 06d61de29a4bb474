#pragma once
// The model drawn with OpenGL ES 1: an ALive2DModel with its DrawParam_iPhone.
// The static loadModel lives with the reader (Live2DModelIPhone_load.cpp).
#include "live2d/ALive2DModel.h"

namespace live2d {

class DrawParam_iPhone;

class Live2DModelIPhone : public ALive2DModel {
public:
    Live2DModelIPhone();
    ~Live2DModelIPhone() override;

    // A new model read from bytes, or null (the error code stays the
    // runtime's last error).
    static Live2DModelIPhone* loadModel(const void* buf, int bufSize);

    // Binds a GL texture name to a texture number; negative numbers are refused.
    void setTexture(int textureNo, unsigned int openGLTextureNo);

    void draw() override;
    int generateModelTextureNo() override;
    void releaseModelTextureNo(int no) override;
    DrawParam* getDrawParam() override;

private:
    DrawParam_iPhone* drawParamIPhone_ = nullptr;
};

}  // namespace live2d
