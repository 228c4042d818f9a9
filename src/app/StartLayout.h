#pragma once
// Where the main, equalizer and playlist windows open. Stored positions
// are used exactly as stored; a window without one opens in the first-run
// layout: the main window centred on the primary monitor's work area, the
// equalizer docked below it and the playlist below the equalizer. A window
// stored on no monitor at all (one was unplugged) is brought onto the
// nearest, and the windows docked to it come along.

#include <QList>
#include <QRect>
#include <optional>

#include "widgets/ScreenPlacement.h"

namespace orve {

class IniFile;

struct StoredPlacement {
  std::optional<QPoint> main;
  std::optional<QPoint> equalizer;
  std::optional<QPoint> playlist;
  QSize playlistSize;  // as stored; empty or small sizes give the minimum
};

struct WindowLayout {
  QRect main;
  QRect equalizer;
  QRect playlist;
};

// main/x, main/y, eq/x, eq/y and pls/x, pls/y, pls/xd, pls/yd; a position
// is absent unless both of its keys are there.
StoredPlacement ReadStoredPlacement(IniFile& config);

// `monitors` as Monitors() gives them, the primary first.
WindowLayout StartLayout(const StoredPlacement& stored, const QList<Monitor>& monitors);

}  // namespace orve
