#pragma once
// One backend provides every platform facility. The process has at most one
// installed backend at a time, mirroring the phone's process-wide services
// (standard user defaults, the main queue, the keychain ...).
//
// Later subsystems add their facilities here as they arrive; each backend
// (headless/, gtk/) implements them all.

#include <memory>

#include "platform/GLContext.h"

namespace platform {

class MainLoop;
class Queues;
class Clock;
class Preferences;
class Keychain;
class Directories;
class Device;
class System;
class Trackers;
namespace ui {
class Windowing;
}
class AudioSession;
class SystemAudio;

class Backend {
public:
    virtual ~Backend() = default;
    virtual MainLoop& mainLoop() = 0;
    virtual Queues& queues() = 0;
    virtual Clock& clock() = 0;
    virtual Preferences& preferences() = 0;
    virtual Keychain& keychain() = 0;
    virtual Directories& directories() = 0;
    virtual Device& device() = 0;
    virtual System& system() = 0;
    virtual Trackers& trackers() = 0;
    virtual ui::Windowing& windowing() = 0;
    // Audio facilities; null from a backend without sound output.
    virtual AudioSession* audioSession() { return nullptr; }
    virtual SystemAudio* systemAudio() { return nullptr; }
    // A new offscreen OpenGL ES 1 context (the avatar view's EAGL context and
    // layer); null from a backend without GL.
    virtual std::unique_ptr<GLContext> createGLContext(int /*width*/, int /*height*/) { return nullptr; }
};

// Null until a backend installs itself.
Backend* backend();
// Installs (or with null, removes) the process backend; returns the previous one.
Backend* setBackend(Backend* backend);

}  // namespace platform
