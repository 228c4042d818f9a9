#include "app/Keys.h"

#include <QKeyEvent>

#include "app/Application.h"
#include "app/MainWindow.h"
#include "equalizer/EqualizerWindow.h"
#include "library/MusicBaseWindow.h"
#include "settings/window/SettingsWindow.h"

namespace orve {

SharedKeys::SharedKeys(Application& app, bool swallow, QObject* parent)
    : QObject(parent), app_(app), swallow_(swallow) {}

bool SharedKeys::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
  Handle(*static_cast<QKeyEvent*>(event));
  return swallow_;
}

bool SharedKeys::Handle(const QKeyEvent& key) {
  MainWindow* main = app_.Windows().main;
  if (!main) return false;
  const auto stepVolume = [this](int delta) {
    if (EqualizerWindow* eq = app_.Windows().equalizer) eq->StepVolume(delta);
  };
  const bool keypad = key.modifiers() & Qt::KeypadModifier;
  switch (key.key()) {
    case Qt::Key_Insert:
      if (key.modifiers() & Qt::ShiftModifier) {
        // "Случайный из МБ".
        if (MusicBaseWindow* base = app_.Windows().musicBase) base->PlayRandomTitle();
      } else {
        main->ShowOpenFilesDialog();
      }
      return true;
    case Qt::Key_F1:
      emit main->AboutRequested();
      return true;
    case Qt::Key_F2:
      if (SettingsWindow* settings = app_.Windows().settings) settings->Open();
      return true;
    case Qt::Key_VolumeDown:
      stepVolume(-1);
      return true;
    case Qt::Key_VolumeUp:
      stepVolume(+1);
      return true;
    case Qt::Key_Minus:
      if (!keypad) return false;
      stepVolume(-1);
      return true;
    case Qt::Key_Plus:
      if (!keypad) return false;
      stepVolume(+1);
      return true;
    case Qt::Key_Right:
    case Qt::Key_MediaNext:
      main->SeekByKeys(true);
      return true;
    case Qt::Key_Left:
    case Qt::Key_MediaPrevious:
      main->SeekByKeys(false);
      return true;
    case Qt::Key_Space:
    case Qt::Key_MediaTogglePlayPause:
    case Qt::Key_MediaPlay:
      if (app_.State().Engine->PlayState == kPlaying) {
        main->Pause();
      } else {
        main->Play();
      }
      return true;
    case Qt::Key_MediaPause:
      main->Pause();
      return true;
    case Qt::Key_MediaStop:
      main->Stop();
      return true;
    default:
      return false;
  }
}

}  // namespace orve
