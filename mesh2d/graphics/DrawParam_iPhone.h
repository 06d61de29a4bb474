#pragma once
// Mesh drawing with OpenGL ES 1.x fixed-function calls. Texture numbers map
// to GL texture names the host registers with setTexture; the GL textures
// themselves belong to the host.
// Names kept from the phone client: see docs/GLOSSARY.md.
#include "mesh2d/draw/DrawParam.h"
#include "mesh2d/type/LDVector.h"

namespace mesh2d {

class DrawParam_iPhone : public DrawParam {
public:
    // Name given to generated texture numbers until the host binds a texture.
    static constexpr unsigned int GENERATED_TEXTURE_MARKER = 9999;

    DrawParam_iPhone();
    ~DrawParam_iPhone() override = default;

    void setupDraw() override;
    void drawTexture(int textureNo, int indexCount, int pointCount, const unsigned short* indices,
                     const float* points, const float* uvs, float opacity, int colorCompositionType) override;
    int generateModelTextureNo() override;
    void releaseModelTextureNo(int no) override;

    // Registers a GL texture name for a texture number, growing the tables;
    // false for a negative number.
    bool setTexture(int textureNo, unsigned int glTextureName);
    // The GL name of a number; 0 (no texture) outside the table.
    unsigned int getTextureName(int textureNo) const;
    int getTextureNameCount() const { return textureNames_.size(); }

private:
    void applyBlending(int colorCompositionType) const;
    void applyColor(int textureNo, float opacity) const;

    LDVector<unsigned int> textureNames_;
    // Whether the current GL lists anisotropic filtering; looked up on the
    // first setupDraw, when a context is current. -1: not yet known.
    int anisotropic_ = -1;
};

}  // namespace mesh2d
