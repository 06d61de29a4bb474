#include "mesh2d/draw/DrawParam.h"

#include "mesh2d/util/UtDebug.h"
#include "mesh2d/util/UtMemory.h"

namespace mesh2d {
namespace {

float clamp01(float v) {
    if (!(v >= 0.0f)) return 0.0f;  // NaN too
    return v > 1.0f ? 1.0f : v;
}

}  // namespace

DrawParam::DrawParam() : textureInfos_(UtMemory::getTmpMemoryParam(), DEFAULT_FIXED_TEXTURE_COUNT) {
    for (int i = 0; i < 16; ++i) matrix_[i] = (i % 5 == 0) ? 1.0f : 0.0f;
    textureInfos_.resize(DEFAULT_FIXED_TEXTURE_COUNT, nullptr);
}

DrawParam::~DrawParam() {
    for (int i = textureInfos_.size() - 1; i >= 0; --i) delete textureInfos_[i];
}

int DrawParam::generateModelTextureNo() {
    UtDebug::error("Must override @DrawParam::generateModelTextureNo()");
    return -1;
}

void DrawParam::releaseModelTextureNo(int) {
    UtDebug::error("Must override @DrawParam::releaseModelTextureNo()");
}

void DrawParam::setBaseColor(float alpha, float red, float green, float blue) {
    baseAlpha_ = clamp01(alpha);
    baseRed_ = clamp01(red);
    baseGreen_ = clamp01(green);
    baseBlue_ = clamp01(blue);
}

void DrawParam::setMatrix(const float* matrix4x4) {
    if (matrix4x4 == nullptr) return;
    for (int i = 0; i < 16; ++i) matrix_[i] = matrix4x4[i];
}

TextureInfo* DrawParam::getTextureInfo(int no) const {
    if (no < 0 || no >= textureInfos_.size()) return nullptr;
    return textureInfos_[no];
}

bool DrawParam::growTextureInfos(int n) {
    if (textureInfos_.size() >= n) return true;
    return textureInfos_.resize(n, nullptr);
}

void DrawParam::resetTextureInfo(int no) {
    if (no < 0 || !growTextureInfos(no + 1)) return;
    delete textureInfos_[no];
    textureInfos_[no] = new TextureInfo();
}

void DrawParam::deleteTextureInfo(int no) {
    if (no < 0 || no >= textureInfos_.size()) return;
    delete textureInfos_[no];
    textureInfos_[no] = nullptr;
}

}  // namespace mesh2d
