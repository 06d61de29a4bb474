#include "mesh2d/Mesh2DModelIPhone.h"

#include "mesh2d/ModelContext.h"
#include "mesh2d/graphics/DrawParam_iPhone.h"

namespace mesh2d {

Mesh2DModelIPhone::Mesh2DModelIPhone() : drawParamIPhone_(new DrawParam_iPhone()) {}

Mesh2DModelIPhone::~Mesh2DModelIPhone() { delete drawParamIPhone_; }

void Mesh2DModelIPhone::setTexture(int textureNo, unsigned int openGLTextureNo) {
    if (drawParamIPhone_) drawParamIPhone_->setTexture(textureNo, openGLTextureNo);
}

void Mesh2DModelIPhone::draw() {
    if (modelContext_ && drawParamIPhone_) modelContext_->draw(drawParamIPhone_);
}

int Mesh2DModelIPhone::generateModelTextureNo() {
    return drawParamIPhone_ ? drawParamIPhone_->generateModelTextureNo() : -1;
}

void Mesh2DModelIPhone::releaseModelTextureNo(int no) {
    if (drawParamIPhone_) drawParamIPhone_->releaseModelTextureNo(no);
}

DrawParam* Mesh2DModelIPhone::getDrawParam() { return drawParamIPhone_; }

}  // namespace mesh2d
