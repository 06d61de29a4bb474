#pragma once
// An OpenGL ES 1.1 rendering context: the stand-in for the phone's EAGL
// context and layer. Drawing goes to an offscreen colour buffer of the given
// size; the desktop backend blits the pixels, tests and tools read them back.
//
// A context is used from the thread that made it current (GL itself is
// thread-affine); the object is not meant to be shared between threads.
// Names kept from the phone client: see docs/GLOSSARY.md.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

class GLContext {
public:
    virtual ~GLContext() = default;

    // Binds the context and its colour buffer to the calling thread.
    virtual bool makeCurrent() = 0;
    // Unbinds whatever context the calling thread has.
    virtual void releaseCurrent() = 0;

    virtual int width() const = 0;
    virtual int height() const = 0;
    // Reallocates the colour buffer; contents are undefined afterwards.
    virtual bool resize(int width, int height) = 0;

    // The colour buffer as RGBA8, rows top-down (row 0 is the top of the
    // picture), width × height × 4 bytes. Empty when the read fails.
    virtual std::vector<std::uint8_t> readPixels() = 0;

    // True when `name` is listed in GL_EXTENSIONS (whole-word match).
    virtual bool hasExtension(const std::string& name) const = 0;
    // Whether GL_EXT_texture_filter_anisotropic was listed at creation.
    virtual bool hasAnisotropicFiltering() const = 0;

    // GL_VERSION / GL_RENDERER of the context, for logs.
    virtual std::string version() const = 0;
    virtual std::string renderer() const = 0;
};

// Creates an offscreen OpenGL ES 1.1 context through EGL (Mesa's surfaceless
// platform, falling back to the default display) rendering into a framebuffer
// object of width × height pixels, and makes it current. Returns null with a
// log line when EGL, GLES 1.1, the framebuffer extension or
// GL_OES_blend_func_separate is missing: the model drawing needs separate
// alpha blending so that the destination alpha, which the avatar frame is
// composited with, is not overwritten.
std::unique_ptr<GLContext> createOffscreenGLContext(int width, int height);

}  // namespace platform
