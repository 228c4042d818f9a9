#pragma once
// Where a frameless window may stand: the rules that keep it on its
// monitor and snap it to the work area's edges while it is dragged. The
// rules take the monitors' rectangles as arguments, so they hold for any
// arrangement of monitors; the overloads without them ask the running
// desktop.

#include <QList>
#include <QPoint>
#include <QRect>

namespace orve {

// How close to a work-area edge a dragged window jumps onto it.
inline constexpr int kSnapDistance = 5;

// One monitor: all of it, and the part windows may use (less panels and docks).
struct Monitor {
  QRect geometry;
  QRect workArea;
};

// The monitors of the running desktop, the primary first; none without a screen.
QList<Monitor> Monitors();
// The primary monitor's work area; empty without a screen.
QRect PrimaryWorkArea();
// Where a window of `size` stands centred on the primary work area.
QPoint CentredOnPrimary(const QSize& size);

// The monitor `window` is on: the one it overlaps most, else the nearest.
// -1 only when there is no monitor at all.
int MonitorOf(const QRect& window, const QList<Monitor>& monitors);

// The window's left or top moved onto a work-area edge it is within
// kSnapDistance pixels of (left before right, top before bottom).
QPoint SnapToEdges(const QRect& window, const QRect& workArea);

// A window being moved to `proposed`: snapped to its monitor's work area,
// then kept from leaving the monitor's top-left; with `keepWhole`, also
// kept inside the work area on the right and at the bottom.
QPoint PlaceDragged(const QRect& proposed, bool keepWhole, const QList<Monitor>& monitors);
QPoint PlaceDragged(const QRect& proposed, bool keepWhole);

// Only the keeping part of PlaceDragged (no snapping): where a window that
// was moved by other means than its strip goes back to.
QPoint KeptOnScreen(const QRect& window, bool keepWhole, const QList<Monitor>& monitors);
QPoint KeptOnScreen(const QRect& window, bool keepWhole);

// A window on no monitor at all (one was unplugged) is brought inside the
// work area of the nearest; a window that shows on some monitor stays.
QPoint OntoSomeMonitor(const QRect& window, const QList<Monitor>& monitors);

}  // namespace orve
