#pragma once

#include <QString>

namespace orve {

// The program folder: $ORVE_HOME when set, else the user's data folder
// (~/.local/share/orve/). Always absolute and ending with "/"; created when
// missing. Returns an empty text when it cannot be created, so file names
// become relative to the working folder.
QString ResolveAppDir();

}  // namespace orve
