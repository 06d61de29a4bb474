#include "tools/render-model/ModelRenderer.h"

#include <GLES/gl.h>

#include "mesh2d/Mesh2D.h"
#include "mesh2d/Mesh2DModelIPhone.h"
#include "platform/GLContext.h"
#include "tools/render-model/MotionFrame.h"

namespace rendermodel {
namespace {

// Uploads a straight-alpha picture premultiplied, with GL-generated mipmaps
// and trilinear filtering, as the avatar view does.
GLuint uploadTexture(const Image& image) {
    std::vector<std::uint8_t> premultiplied(image.rgba.size());
    for (size_t i = 0; i + 3 < image.rgba.size(); i += 4) {
        const unsigned a = image.rgba[i + 3];
        for (int c = 0; c < 3; ++c) premultiplied[i + c] = static_cast<std::uint8_t>((image.rgba[i + c] * a + 127) / 255);
        premultiplied[i + 3] = static_cast<std::uint8_t>(a);
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, GL_TRUE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, image.width, image.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 premultiplied.data());
    return name;
}

void setUpFrame(int width, int height) {
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrthof(0.0f, 640.0f, static_cast<float>(height) * 640.0f / static_cast<float>(width), 0.0f, 0.5f, -0.5f);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
}

bool drawModel(const RenderJob& job, std::string& error) {
    mesh2d::Mesh2DModelIPhone* model =
        mesh2d::Mesh2DModelIPhone::loadModel(job.modelBytes.data(), static_cast<int>(job.modelBytes.size()));
    if (model == nullptr) {
        error = "the model file could not be loaded";
        return false;
    }
    std::vector<GLuint> names;
    for (const auto& [slot, image] : job.textures) {
        const GLuint name = uploadTexture(image);
        names.push_back(name);
        model->setTexture(slot, name);
    }
    for (const auto& [name, value] : job.params) model->setParamFloat(name.c_str(), value);
    if (job.hasMotion && !applyMotionFrame(model, job.motionBytes, job.motionAtMSec)) {
        delete model;
        error = "the motion could not be played";
        return false;
    }
    for (const auto& [name, opacity] : job.partOpacities) model->setPartsOpacity(name.c_str(), opacity);
    model->update();
    model->draw();
    glFinish();
    delete model;
    if (!names.empty()) glDeleteTextures(static_cast<GLsizei>(names.size()), names.data());
    return true;
}

}  // namespace

Image toStraightAlpha(const std::vector<std::uint8_t>& px, int width, int height, std::optional<unsigned> background) {
    Image out{width, height, std::vector<std::uint8_t>(px.size())};
    const unsigned bg[3] = {background ? (*background >> 16) & 0xFF : 0, background ? (*background >> 8) & 0xFF : 0,
                            background ? *background & 0xFF : 0};
    for (size_t i = 0; i + 3 < px.size(); i += 4) {
        const unsigned a = px[i + 3];
        for (int c = 0; c < 3; ++c) {
            unsigned v;
            if (background) {
                v = px[i + c] + (bg[c] * (255 - a) + 127) / 255;  // premultiplied "over"
            } else {
                v = a == 0 ? 0 : (px[i + c] * 255 + a / 2) / a;
            }
            out.rgba[i + c] = static_cast<std::uint8_t>(v > 255 ? 255 : v);
        }
        out.rgba[i + 3] = background ? 255 : static_cast<std::uint8_t>(a);
    }
    return out;
}

bool renderModel(const RenderJob& job, Image& out, std::string& error) {
    auto gl = platform::createOffscreenGLContext(job.width, job.height);
    if (!gl) {
        error = "no OpenGL ES 1 context";
        return false;
    }
    setUpFrame(job.width, job.height);
    mesh2d::Mesh2D::init();
    const bool drawn = drawModel(job, error);
    mesh2d::Mesh2D::dispose();
    if (!drawn) return false;
    const std::vector<std::uint8_t> px = gl->readPixels();
    if (px.empty()) {
        error = "the frame could not be read back";
        return false;
    }
    out = toStraightAlpha(px, job.width, job.height, job.background);
    return true;
}

}  // namespace rendermodel
