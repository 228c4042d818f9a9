#include "app/SkipEntry.h"

#include "app/Application.h"
#include "playlist/PlaylistWindow.h"
#include "session/AppState.h"

namespace orve {

int SkipTarget(const AppState& state, int step) {
  const int count = static_cast<int>(state.Engine->Paths.size());
  if (count == 0) return -1;
  const int current = state.Engine->CurrentIndex;
  if (current < 0 || current >= count) return step > 0 ? 0 : count - 1;
  const int target = current + step;
  if (target >= 0 && target < count) return target;
  if (state.RepeatMode != RepeatModes::All) return -1;
  return target < 0 ? count - 1 : 0;
}

void SkipEntry(Application& app, int step) {
  PlaylistWindow* playlist = app.Windows().playlist;
  const int target = SkipTarget(app.State(), step);
  if (playlist && target >= 0) playlist->StartIndex(target);
}

}  // namespace orve
