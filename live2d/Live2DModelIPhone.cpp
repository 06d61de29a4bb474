#include "live2d/Live2DModelIPhone.h"

#include "live2d/ModelContext.h"
#include "live2d/graphics/DrawParam_iPhone.h"

namespace live2d {

Live2DModelIPhone::Live2DModelIPhone() : drawParamIPhone_(new DrawParam_iPhone()) {}

Live2DModelIPhone::~Live2DModelIPhone() { delete drawParamIPhone_; }

void Live2DModelIPhone::setTexture(int textureNo, unsigned int openGLTextureNo) {
    if (drawParamIPhone_) drawParamIPhone_->setTexture(textureNo, openGLTextureNo);
}

void Live2DModelIPhone::draw() {
    if (modelContext_ && drawParamIPhone_) modelContext_->draw(drawParamIPhone_);
}

int Live2DModelIPhone::generateModelTextureNo() {
    return drawParamIPhone_ ? drawParamIPhone_->generateModelTextureNo() : -1;
}

void Live2DModelIPhone::releaseModelTextureNo(int no) {
    if (drawParamIPhone_) drawParamIPhone_->releaseModelTextureNo(no);
}

DrawParam* Live2DModelIPhone::getDrawParam() { return drawParamIPhone_; }

}  // namespace live2d
