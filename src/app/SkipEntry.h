#pragma once
// Skipping to the next or the previous entry on a user's request (an MPRIS
// client): one row on in the playlist's round, past its ends only when
// repeat-all goes round it, as auto-advance does.

namespace orve {

class Application;
struct AppState;

// The row `step` (+1 or -1) from the current entry; with none current, the
// first (+1) or the last (-1) row. -1 when there is none to go to.
int SkipTarget(const AppState& state, int step);

// Starts that row as a double-click does; nothing when there is none.
void SkipEntry(Application& app, int step);

}  // namespace orve
