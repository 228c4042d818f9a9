#pragma once
// How a satellite window (playlist, equalizer) touches the main window:
// which of its edges lies exactly on which side of the main window, and
// its offset along that side. Exact pixel equality, no tolerance; a
// satellite at a corner may touch two sides. A satellite that touches
// nothing of the main window but the other satellite, itself docked to the
// main window, is docked to that one ("chained"): a column of three
// windows travels as one.

namespace orve {

struct DockRecord {
  bool right = false;   // the satellite's left edge on the main window's right edge
  bool top = false;     // its bottom edge on the main window's top
  bool left = false;    // its right edge on the main window's left edge
  bool bottom = false;  // its top on the main window's bottom edge
  int dy = 0;           // satellite top - main top (right and left sides)
  int dx = 0;           // satellite left - main left (top and bottom sides)
  bool chained = false; // the sides and offsets are against the other satellite

  bool Docked() const { return right || top || left || bottom; }
  bool operator==(const DockRecord&) const = default;
};

}  // namespace orve
