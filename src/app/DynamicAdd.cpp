#include "app/DynamicAdd.h"

#include "app/Application.h"
#include "library/MusicBaseWindow.h"

namespace orve {

void DynamicAddStep(Application& app) {
  AppState& state = app.State();
  const TCore& engine = *state.Engine;
  const int32_t length = engine.Length();
  // Unsigned, so a position past the length counts as far from the end.
  const auto left = static_cast<uint32_t>(length - engine.Position());
  if (engine.PlayState != kPlaying || length <= 0 || left >= kDynamicAddSeconds || !state.DynamicAdd) return;
  const bool last = !engine.Paths.isEmpty() && engine.CurrentIndex == engine.Paths.size() - 1;
  if (last && !state.DynamicAddBusy) {
    state.DynamicAddBusy = true;
    if (MusicBaseWindow* base = app.Windows().musicBase) base->AppendRandomTitle();
  } else if (!last) {
    state.DynamicAddBusy = false;
  }
}

}  // namespace orve
