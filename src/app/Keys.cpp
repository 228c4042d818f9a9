#include "app/Keys.h"

#include <QKeyEvent>

#include "app/Application.h"
#include "app/Unit1.h"
#include "equalizer/Unit6.h"

namespace orve {

SharedKeys::SharedKeys(TApplication& app, bool swallow, QObject* parent)
    : QObject(parent), app_(app), swallow_(swallow) {}

bool SharedKeys::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
  Handle(*static_cast<QKeyEvent*>(event));
  return swallow_;
}

void SharedKeys::StepVolume(int delta) {
  TForm6* eq = app_.Equalizer();
  if (!eq) return;
  TrackBar* volume = eq->TrackBar1;
  const int next = volume->value() + delta;
  if (next >= volume->minimum() && next <= volume->maximum()) {
    const QSignalBlocker quiet(volume);  // the change step runs once, below
    volume->setValue(next);
  }
  eq->TrackBar1Change();
  volume->update();
}

bool SharedKeys::Handle(const QKeyEvent& key) {
  TForm1* main = app_.MainWindow();
  if (!main) return false;
  const bool keypad = key.modifiers() & Qt::KeypadModifier;
  switch (key.key()) {
    case Qt::Key_Insert:
      // Shift+Insert (a random title of the music base) comes with the base.
      if (key.modifiers() & Qt::ShiftModifier) return false;
      main->OpenFilesClick();
      return true;
    case Qt::Key_VolumeDown:
      StepVolume(-1);
      return true;
    case Qt::Key_VolumeUp:
      StepVolume(+1);
      return true;
    case Qt::Key_Minus:
      if (!keypad) return false;
      StepVolume(-1);
      return true;
    case Qt::Key_Plus:
      if (!keypad) return false;
      StepVolume(+1);
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
        main->PauseClick();
      } else {
        main->PlayClick();
      }
      return true;
    case Qt::Key_MediaPause:
      main->PauseClick();
      return true;
    case Qt::Key_MediaStop:
      main->StopClick();
      return true;
    default:
      return false;
  }
}

}  // namespace orve
