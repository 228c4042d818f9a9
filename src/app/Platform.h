#pragma once
// Choices about the window system made before the application object
// exists; each one gives way to the user's own environment variable.

namespace orve {

void ChoosePlatformDefaults();

}  // namespace orve
