#include "mesh2d/graphics/DrawParam_iPhone.h"

#include <EGL/egl.h>
#include <GLES/gl.h>
#include <GLES/glext.h>

#include <cstring>

#include "mesh2d/util/UtDebug.h"
#include "mesh2d/util/UtMemory.h"

#ifndef GL_TEXTURE_MAX_ANISOTROPY_EXT
#define GL_TEXTURE_MAX_ANISOTROPY_EXT 0x84FE
#endif

namespace mesh2d {
namespace {

// glBlendFuncSeparateOES is an extension entry point: it is not exported by
// the GLES 1 library and must be looked up. Without it the colour-only
// blend would overwrite the destination alpha, so it is reported once.
PFNGLBLENDFUNCSEPARATEOESPROC blendFuncSeparate() {
    static const PFNGLBLENDFUNCSEPARATEOESPROC fn = [] {
        auto f = reinterpret_cast<PFNGLBLENDFUNCSEPARATEOESPROC>(eglGetProcAddress("glBlendFuncSeparateOES"));
        if (f == nullptr) UtDebug::error("glBlendFuncSeparateOES not available @DrawParam_iPhone");
        return f;
    }();
    return fn;
}

void blend(GLenum srcColor, GLenum dstColor, GLenum srcAlpha, GLenum dstAlpha) {
    if (PFNGLBLENDFUNCSEPARATEOESPROC fn = blendFuncSeparate()) {
        fn(srcColor, dstColor, srcAlpha, dstAlpha);
    } else {
        glBlendFunc(srcColor, dstColor);
    }
}

bool extensionListed(const char* name) {
    const char* list = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (list == nullptr) return false;
    const size_t n = std::strlen(name);
    for (const char* p = list; (p = std::strstr(p, name)) != nullptr; p += n) {
        if ((p == list || p[-1] == ' ') && (p[n] == ' ' || p[n] == '\0')) return true;
    }
    return false;
}

}  // namespace

DrawParam_iPhone::DrawParam_iPhone() : textureNames_(UtMemory::getTmpMemoryParam(), DEFAULT_FIXED_TEXTURE_COUNT) {
    textureNames_.resize(DEFAULT_FIXED_TEXTURE_COUNT, 0u);
}

bool DrawParam_iPhone::setTexture(int textureNo, unsigned int glTextureName) {
    if (textureNo < 0) {
        UtDebug::error("invalid texture number %d @DrawParam_iPhone#setTexture()", textureNo);
        return false;
    }
    if (textureNames_.size() < textureNo + 1 && !textureNames_.resize(textureNo + 1, 0u)) return false;
    if (!growTextureInfos(textureNo + 1)) return false;
    textureNames_[textureNo] = glTextureName;
    resetTextureInfo(textureNo);
    return true;
}

unsigned int DrawParam_iPhone::getTextureName(int textureNo) const {
    if (textureNo < 0 || textureNo >= textureNames_.size()) return 0;
    return textureNames_[textureNo];
}

int DrawParam_iPhone::generateModelTextureNo() {
    for (int i = fixedTextureCount_; i < textureNames_.size(); ++i) {
        if (textureNames_[i] == 0) {
            textureNames_[i] = GENERATED_TEXTURE_MARKER;
            return i;
        }
    }
    const int no = textureNames_.size() < fixedTextureCount_ ? fixedTextureCount_ : textureNames_.size();
    if (!textureNames_.resize(no * 2, 0u) || !growTextureInfos(no * 2)) return -1;
    textureNames_[no] = GENERATED_TEXTURE_MARKER;
    return no;
}

void DrawParam_iPhone::releaseModelTextureNo(int no) {
    if (no < 0 || no >= textureNames_.size()) return;
    textureNames_[no] = 0;
    deleteTextureInfo(no);
}

void DrawParam_iPhone::setupDraw() {
    glFrontFace(GL_CW);
    if (anisotropic_ < 0) anisotropic_ = extensionListed("GL_EXT_texture_filter_anisotropic") ? 1 : 0;
    for (int i = 0; i < textureNames_.size(); ++i) {
        glBindTexture(GL_TEXTURE_2D, textureNames_[i]);
        // The parameter is an error where the extension is not listed.
        if (anisotropic_ == 1) {
            glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, static_cast<float>(anisotropy_));
        }
    }
}

void DrawParam_iPhone::applyBlending(int type) const {
    if (type == COLOR_COMPOSITION_SCREEN) {
        blend(GL_SRC_ALPHA, GL_ONE, GL_ZERO, GL_ONE);
    } else if (type == COLOR_COMPOSITION_MULTIPLY) {
        if (premultipliedAlpha_) blend(GL_DST_COLOR, GL_ONE_MINUS_SRC_ALPHA, GL_ZERO, GL_ONE);
        else blend(GL_ZERO, GL_SRC_COLOR, GL_ZERO, GL_ONE);
    } else {
        blend(premultipliedAlpha_ ? GL_ONE : GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    }
}

void DrawParam_iPhone::applyColor(int textureNo, float opacity) const {
    float tr = 1.0f, tg = 1.0f, tb = 1.0f;
    if (const TextureInfo* info = getTextureInfo(textureNo)) {
        tr = info->r * info->a;
        tg = info->g * info->a;
        tb = info->b * info->a;
    }
    float r = tr * baseRed_, g = tg * baseGreen_, b = tb * baseBlue_;
    const float a = baseAlpha_ * opacity;
    if (premultipliedAlpha_) {
        r *= opacity;
        g *= opacity;
        b *= opacity;
    }
    glColor4f(r, g, b, a);
}

void DrawParam_iPhone::drawTexture(int textureNo, int indexCount, int /*pointCount*/, const unsigned short* indices,
                                   const float* points, const float* uvs, float opacity, int colorCompositionType) {
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    if (culling_) glEnable(GL_CULL_FACE);
    else glDisable(GL_CULL_FACE);
    applyBlending(colorCompositionType);
    applyColor(textureNo, opacity);
    // A number outside the name table binds no texture rather than reading
    // past the table.
    glBindTexture(GL_TEXTURE_2D, getTextureName(textureNo));
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_VERTEX_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, 0, uvs);
    glVertexPointer(2, GL_FLOAT, 0, points);
    glDrawElements(GL_TRIANGLES, indexCount, GL_UNSIGNED_SHORT, indices);
}

}  // namespace mesh2d
