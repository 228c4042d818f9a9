// The effect switches: one change step per switch, all alike.
#include "equalizer/EqualizerWindow.h"
#include "session/AppState.h"
#include "widgets/TrackBar.h"

namespace orve {

// On: the letter stands out and the effect joins the channel with its
// parameters read afresh; off: the letter sinks into the panel and the
// effect leaves the channel. Before anything has played only the colours
// change: the engine keeps the handle it got and the next entry builds the
// effect.
void EqualizerWindow::SwitchChange(Effect e) {
  const bool on = Switch(e)->value() == 1;
  SetLetterColour(e, on);
  state_.Engine->SwitchEffect(e, on);
  Switch(e)->SetTrackColour(state_.Scheme.Colour(on ? ColourRole::Highlight : ColourRole::LabelText));
}

void EqualizerWindow::RunEffectSwitches() {
  for (int i = 0; i < kEffectCount; ++i) SwitchChange(static_cast<Effect>(i));
}

}  // namespace orve
