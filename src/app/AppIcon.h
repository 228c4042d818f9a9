#pragma once

#include <QIcon>

namespace orve {

// The program's icon (window and tray), drawn at every size it is asked for.
QIcon AppIcon();

}  // namespace orve
