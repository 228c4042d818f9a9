#pragma once

#include <QString>

namespace orve {

// The program folder: $ORVE_HOME when set, else the user's data folder
// (~/.local/share/orve/). Always absolute and ending with "/"; created when
// missing. Returns an empty text when it cannot be created, so file names
// become relative to the working folder.
QString ResolveAppDir();

// The same folder's absolute name without creating it or saying anything
// (no "/" at the end): what tells one player's folder from another's.
QString AppDirName();

}  // namespace orve
