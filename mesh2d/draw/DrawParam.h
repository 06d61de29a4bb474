#pragma once
// What drawing a mesh needs besides the mesh itself: the texture-info table,
// a base colour, the culling and blending switches. Graphics back ends derive
// from it (DrawParam_iPhone draws with OpenGL ES 1).
#include "mesh2d/draw/TextureInfo.h"
#include "mesh2d/memory/LDObject.h"
#include "mesh2d/type/LDVector.h"

namespace mesh2d {

class DrawParam : public LDObject {
public:
    // Texture numbers below this are the host's; generated ones start here.
    static constexpr int DEFAULT_FIXED_TEXTURE_COUNT = 32;

    // Colour composition types of a drawable.
    static constexpr int COLOR_COMPOSITION_NORMAL = 0;
    static constexpr int COLOR_COMPOSITION_SCREEN = 1;    // additive
    static constexpr int COLOR_COMPOSITION_MULTIPLY = 2;  // multiplicative

    DrawParam();
    ~DrawParam() override;

    // Called once per model draw, before any mesh.
    virtual void setupDraw() {}
    virtual void drawTexture(int textureNo, int indexCount, int pointCount, const unsigned short* indices,
                             const float* points, const float* uvs, float opacity, int colorCompositionType) = 0;
    virtual int generateModelTextureNo();
    virtual void releaseModelTextureNo(int no);
    // Each component is clamped to [0, 1].
    virtual void setBaseColor(float alpha, float red, float green, float blue);

    void setCulling(bool culling) { culling_ = culling; }
    bool isCulling() const { return culling_; }
    void setPremultipliedAlpha(bool enable) { premultipliedAlpha_ = enable; }
    bool isPremultipliedAlpha() const { return premultipliedAlpha_; }
    void setAnisotropy(int n) { anisotropy_ = n; }
    int getAnisotropy() const { return anisotropy_; }
    // Kept for callers that set one; the OpenGL ES drawing leaves the GL
    // matrices to the host.
    void setMatrix(const float* matrix4x4);
    const float* getMatrix() const { return matrix_; }

    float getBaseAlpha() const { return baseAlpha_; }
    float getBaseRed() const { return baseRed_; }
    float getBaseGreen() const { return baseGreen_; }
    float getBaseBlue() const { return baseBlue_; }

    // Null when the number has no info (outside the table or never set).
    TextureInfo* getTextureInfo(int no) const;
    int getTextureInfoCount() const { return textureInfos_.size(); }

protected:
    // Puts a fresh info (all multipliers 1) at `no`, growing the table;
    // the info there before is deleted.
    void resetTextureInfo(int no);
    void deleteTextureInfo(int no);
    // Grows the info table to at least n entries (new ones null).
    bool growTextureInfos(int n);

    int fixedTextureCount_ = DEFAULT_FIXED_TEXTURE_COUNT;
    float baseAlpha_ = 1.0f;
    float baseRed_ = 1.0f;
    float baseGreen_ = 1.0f;
    float baseBlue_ = 1.0f;
    bool culling_ = false;
    float matrix_[16];
    bool premultipliedAlpha_ = true;
    int anisotropy_ = 1;
    LDVector<TextureInfo*> textureInfos_;
};

}  // namespace mesh2d
