#pragma once

#include <QIcon>

namespace orve {

// The program's icon (windows and tray): the icon theme's "orve" where the
// program is installed, else drawn at every size it is asked for.
QIcon AppIcon();

}  // namespace orve
