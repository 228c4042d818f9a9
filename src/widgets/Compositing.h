#pragma once
// Whether the desktop can show a window translucent: on X11 only while a
// compositing manager runs.

#include <optional>

namespace orve {

// True or false when the window system says; nullopt when it cannot tell
// (a window system other than X11, which composites anyway).
std::optional<bool> CompositorRunning();

}  // namespace orve
