// OpenGL ES 1.1 through EGL on Mesa, offscreen: a surfaceless context that
// renders into a framebuffer object (GL_OES_framebuffer_object), so it works
// on a machine without any display server.
#include "platform/GLContext.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GLES/gl.h>
#include <GLES/glext.h>

#include <cstring>
#include <mutex>

#include "platform/Log.h"

namespace platform {
namespace {

// One EGL display for the process, shared by every context and never
// terminated: eglTerminate would pull it away from all of them at once and
// unload the driver.
struct SharedDisplay {
    std::mutex mutex;
    EGLDisplay display = EGL_NO_DISPLAY;
};

SharedDisplay& sharedDisplay() {
    static SharedDisplay shared;
    return shared;
}

bool listContains(const char* list, const char* name) {
    if (list == nullptr || name == nullptr || *name == '\0') return false;
    const size_t n = std::strlen(name);
    for (const char* p = list; (p = std::strstr(p, name)) != nullptr; p += n) {
        const bool startOk = (p == list) || p[-1] == ' ';
        const bool endOk = p[n] == ' ' || p[n] == '\0';
        if (startOk && endOk) return true;
    }
    return false;
}

EGLDisplay openDisplay() {
    const char* clientExts = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    if (listContains(clientExts, "EGL_MESA_platform_surfaceless")) {
        auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
            eglGetProcAddress("eglGetPlatformDisplayEXT"));
        if (getPlatformDisplay != nullptr) {
            EGLDisplay d = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
            if (d != EGL_NO_DISPLAY) return d;
        }
    }
    return eglGetDisplay(EGL_DEFAULT_DISPLAY);
}

EGLDisplay acquireDisplay() {
    SharedDisplay& shared = sharedDisplay();
    std::lock_guard<std::mutex> lock(shared.mutex);
    if (shared.display == EGL_NO_DISPLAY) {
        EGLDisplay d = openDisplay();
        if (d == EGL_NO_DISPLAY) {
            log("GLContext: no EGL display (surfaceless or default)");
            return EGL_NO_DISPLAY;
        }
        EGLint major = 0, minor = 0;
        if (eglInitialize(d, &major, &minor) != EGL_TRUE) {
            log("GLContext: eglInitialize failed (0x%04X)", eglGetError());
            return EGL_NO_DISPLAY;
        }
        shared.display = d;
    }
    return shared.display;
}

// The framebuffer-object entry points are extensions: they come from
// eglGetProcAddress, not from the GLES 1 library's exports.
struct FboFunctions {
    PFNGLGENFRAMEBUFFERSOESPROC genFramebuffers = nullptr;
    PFNGLDELETEFRAMEBUFFERSOESPROC deleteFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFEROESPROC bindFramebuffer = nullptr;
    PFNGLGENRENDERBUFFERSOESPROC genRenderbuffers = nullptr;
    PFNGLDELETERENDERBUFFERSOESPROC deleteRenderbuffers = nullptr;
    PFNGLBINDRENDERBUFFEROESPROC bindRenderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEOESPROC renderbufferStorage = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFEROESPROC framebufferRenderbuffer = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSOESPROC checkFramebufferStatus = nullptr;

    template <typename T>
    static bool load(T& fn, const char* name) {
        fn = reinterpret_cast<T>(eglGetProcAddress(name));
        return fn != nullptr;
    }
    bool loadAll() {
        return load(genFramebuffers, "glGenFramebuffersOES") &&
               load(deleteFramebuffers, "glDeleteFramebuffersOES") &&
               load(bindFramebuffer, "glBindFramebufferOES") &&
               load(genRenderbuffers, "glGenRenderbuffersOES") &&
               load(deleteRenderbuffers, "glDeleteRenderbuffersOES") &&
               load(bindRenderbuffer, "glBindRenderbufferOES") &&
               load(renderbufferStorage, "glRenderbufferStorageOES") &&
               load(framebufferRenderbuffer, "glFramebufferRenderbufferOES") &&
               load(checkFramebufferStatus, "glCheckFramebufferStatusOES");
    }
};

class EglGLContext final : public GLContext {
public:
    ~EglGLContext() override { destroy(); }

    bool create(int width, int height);

    bool makeCurrent() override {
        if (eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, context_) != EGL_TRUE) {
            log("GLContext: eglMakeCurrent failed (0x%04X)", eglGetError());
            return false;
        }
        fbo_.bindFramebuffer(GL_FRAMEBUFFER_OES, framebuffer_);
        glViewport(0, 0, width_, height_);
        return true;
    }

    void releaseCurrent() override {
        if (display_ != EGL_NO_DISPLAY) eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    }

    int width() const override { return width_; }
    int height() const override { return height_; }

    bool resize(int width, int height) override;
    std::vector<std::uint8_t> readPixels() override;

    bool hasExtension(const std::string& name) const override {
        return listContains(extensions_.c_str(), name.c_str());
    }
    bool hasAnisotropicFiltering() const override { return anisotropic_; }
    std::string version() const override { return version_; }
    std::string renderer() const override { return renderer_; }

private:
    bool chooseConfigAndContext();
    bool checkExtensions();
    bool allocateColorBuffer(int width, int height);
    void destroy();

    EGLDisplay display_ = EGL_NO_DISPLAY;
    EGLContext context_ = EGL_NO_CONTEXT;
    FboFunctions fbo_;
    GLuint framebuffer_ = 0;
    GLuint colorbuffer_ = 0;
    int width_ = 0;
    int height_ = 0;
    bool anisotropic_ = false;
    std::string extensions_;
    std::string version_;
    std::string renderer_;
};

bool EglGLContext::chooseConfigAndContext() {
    if (eglBindAPI(EGL_OPENGL_ES_API) != EGL_TRUE) {
        log("GLContext: eglBindAPI(EGL_OPENGL_ES_API) failed (0x%04X)", eglGetError());
        return false;
    }
    // The default surface type asks for window configs, which a surfaceless
    // display does not have.
    const EGLint configAttribs[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_ES_BIT,
                                    EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8,
                                    EGL_BLUE_SIZE, 8, EGL_ALPHA_SIZE, 8, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint count = 0;
    if (eglChooseConfig(display_, configAttribs, &config, 1, &count) != EGL_TRUE || count < 1) {
        // Surfaceless contexts need no surface-compatible config; take any ES 1 config.
        const EGLint anyEs1[] = {EGL_SURFACE_TYPE, 0, EGL_RENDERABLE_TYPE, EGL_OPENGL_ES_BIT, EGL_NONE};
        if (eglChooseConfig(display_, anyEs1, &config, 1, &count) != EGL_TRUE || count < 1) {
            log("GLContext: no EGL config renders OpenGL ES 1");
            return false;
        }
    }
    const EGLint contextAttribs[] = {EGL_CONTEXT_CLIENT_VERSION, 1, EGL_NONE};
    context_ = eglCreateContext(display_, config, EGL_NO_CONTEXT, contextAttribs);
    if (context_ == EGL_NO_CONTEXT) {
        log("GLContext: eglCreateContext (OpenGL ES 1) failed (0x%04X)", eglGetError());
        return false;
    }
    if (eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, context_) != EGL_TRUE) {
        log("GLContext: surfaceless eglMakeCurrent failed (0x%04X)", eglGetError());
        return false;
    }
    return true;
}

bool EglGLContext::checkExtensions() {
    auto str = [](GLenum e) {
        const GLubyte* s = glGetString(e);
        return s ? std::string(reinterpret_cast<const char*>(s)) : std::string();
    };
    extensions_ = str(GL_EXTENSIONS);
    version_ = str(GL_VERSION);
    renderer_ = str(GL_RENDERER);
    if (version_.rfind("OpenGL ES-CM 1.", 0) != 0 && version_.rfind("OpenGL ES-CL 1.", 0) != 0) {
        log("GLContext: not an OpenGL ES 1 context: \"%s\"", version_.c_str());
        return false;
    }
    for (const char* required : {"GL_OES_blend_func_separate", "GL_OES_framebuffer_object"}) {
        if (!listContains(extensions_.c_str(), required)) {
            log("GLContext: %s is missing (renderer \"%s\"); cannot draw models", required, renderer_.c_str());
            return false;
        }
    }
    anisotropic_ = listContains(extensions_.c_str(), "GL_EXT_texture_filter_anisotropic");
    if (!fbo_.loadAll()) {
        log("GLContext: framebuffer entry points not found through eglGetProcAddress");
        return false;
    }
    return true;
}

bool EglGLContext::allocateColorBuffer(int width, int height) {
    if (width <= 0 || height <= 0 || width > 8192 || height > 8192) {
        log("GLContext: refusing a %d x %d colour buffer", width, height);
        return false;
    }
    if (framebuffer_ == 0) fbo_.genFramebuffers(1, &framebuffer_);
    if (colorbuffer_ == 0) fbo_.genRenderbuffers(1, &colorbuffer_);
    fbo_.bindRenderbuffer(GL_RENDERBUFFER_OES, colorbuffer_);
    const bool rgba8 = listContains(extensions_.c_str(), "GL_OES_rgb8_rgba8");
    fbo_.renderbufferStorage(GL_RENDERBUFFER_OES, rgba8 ? GL_RGBA8_OES : GL_RGBA4_OES, width, height);
    fbo_.bindFramebuffer(GL_FRAMEBUFFER_OES, framebuffer_);
    fbo_.framebufferRenderbuffer(GL_FRAMEBUFFER_OES, GL_COLOR_ATTACHMENT0_OES, GL_RENDERBUFFER_OES, colorbuffer_);
    const GLenum status = fbo_.checkFramebufferStatus(GL_FRAMEBUFFER_OES);
    if (status != GL_FRAMEBUFFER_COMPLETE_OES) {
        log("GLContext: framebuffer incomplete (0x%04X) at %d x %d", status, width, height);
        return false;
    }
    width_ = width;
    height_ = height;
    glViewport(0, 0, width, height);
    return true;
}

bool EglGLContext::create(int width, int height) {
    display_ = acquireDisplay();
    if (display_ == EGL_NO_DISPLAY) return false;
    if (!chooseConfigAndContext()) return false;
    if (!checkExtensions()) return false;
    return allocateColorBuffer(width, height);
}

bool EglGLContext::resize(int width, int height) {
    if (!makeCurrent()) return false;
    return allocateColorBuffer(width, height);
}

std::vector<std::uint8_t> EglGLContext::readPixels() {
    if (!makeCurrent()) return {};
    const size_t row = static_cast<size_t>(width_) * 4;
    std::vector<std::uint8_t> bottomUp(row * static_cast<size_t>(height_));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    if (glGetError() != GL_NO_ERROR) {
        log("GLContext: glReadPixels failed");
        return {};
    }
    // GL rows start at the bottom of the picture.
    std::vector<std::uint8_t> topDown(bottomUp.size());
    for (int y = 0; y < height_; ++y) {
        std::memcpy(&topDown[static_cast<size_t>(y) * row],
                    &bottomUp[static_cast<size_t>(height_ - 1 - y) * row], row);
    }
    return topDown;
}

void EglGLContext::destroy() {
    if (display_ == EGL_NO_DISPLAY) return;
    if (context_ != EGL_NO_CONTEXT) {
        if (eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, context_) == EGL_TRUE) {
            if (colorbuffer_ != 0) fbo_.deleteRenderbuffers(1, &colorbuffer_);
            if (framebuffer_ != 0) fbo_.deleteFramebuffers(1, &framebuffer_);
        }
        eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        eglDestroyContext(display_, context_);
        context_ = EGL_NO_CONTEXT;
    }
    display_ = EGL_NO_DISPLAY;
}

}  // namespace

std::unique_ptr<GLContext> createOffscreenGLContext(int width, int height) {
    auto context = std::make_unique<EglGLContext>();
    if (!context->create(width, height)) return nullptr;
    return context;
}

}  // namespace platform
