#pragma once
// The platform facilities the controller uses, from the installed backend.
// The controller is only ever made once a backend is installed.
#include "platform/Backend.h"
#include "platform/Directories.h"
#include "platform/MainLoop.h"
#include "platform/Preferences.h"
#include "platform/System.h"
#include "platform/Trackers.h"
#include "platform/ui/Windowing.h"

namespace app::services {

inline platform::Backend& backend() { return *platform::backend(); }
inline platform::Preferences& prefs() { return backend().preferences(); }
inline platform::MainLoop& mainLoop() { return backend().mainLoop(); }
inline platform::Queues& queues() { return backend().queues(); }
inline platform::Directories& dirs() { return backend().directories(); }
inline platform::ui::Windowing& windowing() { return backend().windowing(); }
inline platform::System& system() { return backend().system(); }
inline platform::Trackers& trackers() { return backend().trackers(); }

}  // namespace app::services
