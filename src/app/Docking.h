#pragma once
// The playlist and equalizer windows dock to the main window: a satellite
// whose edge lies exactly on a side of the main window travels with it
// while the main window is dragged. The records (AppState's PlaylistDock
// and EqualizerDock) are taken again whenever a satellite is taken by its
// strip, moved by it, or aligned to the screen's edge and back.

#include <QPoint>
#include <QRect>

#include "session/DockRecord.h"

namespace orve {

class Application;

// How `satellite` touches `main`, both as they stand on the screen.
DockRecord DetectDock(const QRect& main, const QRect& satellite);

// Both satellites' records from the three windows' rectangles: each against
// the main window, or chained to the other satellite (DockRecord.h).
struct SatelliteDocks {
  DockRecord equalizer;
  DockRecord playlist;
};
SatelliteDocks DetectDocks(const QRect& main, const QRect& equalizer, const QRect& playlist);

// Where a satellite of `satelliteSize` recorded as `dock` goes when the main
// window stands at `main`; `current` when it is not docked.
QPoint FollowPosition(const DockRecord& dock, const QRect& main, const QSize& satelliteSize, QPoint current);

// Takes both records from the windows as they stand and keeps them up to
// date; the satellites follow every move of the main window by its strip.
// Called once the main, playlist and equalizer windows exist.
void InstallDocking(Application& app);

}  // namespace orve
