#pragma once
// The shared state of the application: one value, owned by the application
// object (Application::State()), touched only from the UI thread. It sits
// below every window, so a window reads and sets it without knowing the
// others.

#include <QString>
#include <memory>

#include "appearance/ColourScheme.h"
#include "engine/Core.h"
#include "session/DockRecord.h"
#include "settings/EncoderParams.h"
#include "settings/RepeatMode.h"

namespace orve {

struct AppState {
  QString AppDir;  // program folder, always ending with "/"

  // The engine: the audio library, the open stream and the playlist's lists.
  std::unique_ptr<TCore> Engine = std::make_unique<TCore>();

  // Colour scheme in use: ThemeColors, ItemColorText, CurrentColorText.
  ColourScheme Scheme;

  RepeatModes RepeatMode = RepeatModes::Off;
  bool PlaylistShown = false;
  bool EqualizerShown = false;
  bool SeekDragging = false;  // the seek bar is held by the mouse
  bool DynamicAdd = false;
  bool DynamicAddBusy = false;
  bool BlinkPhase = false;
  quint8 VisMode = 0;         // 0..4
  bool EqDragging = false;    // an equalizer band slider is being dragged
  bool TrayMinimised = false;
  // The satellites' places against the main window, which they follow.
  DockRecord PlaylistDock;
  DockRecord EqualizerDock;
  bool Exiting = false;       // the main window is closing: satellites keep their shown state
  // The encoder choices of conversions (TMP3Param, TOGGParam, TAACParam).
  EncoderParams Encoders;
  // Where a conversion writes when no destination was chosen: the first
  // destination folder, ending with "/".
  QString DestFolder;
  QString NowArtist;
  QString NowTitle;
  int TitleScrollPos = 0;
  int LogoTick = 0;
};

}  // namespace orve
