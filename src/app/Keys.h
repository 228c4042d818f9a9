#pragma once
// The key table shared by the main window (on its seek bar), the equalizer
// window (on its 25 sliders) and the playlist window (on its list), tested
// by virtual key code so letters work in any layout.

#include <QObject>

class QKeyEvent;

namespace orve {

class Application;

class SharedKeys : public QObject {
  Q_OBJECT
 public:
  // `swallow`: the key goes no further after it is handled (the equalizer:
  // a focused slider never moves by a key); otherwise it also reaches the
  // control (the main window's seek bar).
  SharedKeys(Application& app, bool swallow, QObject* parent = nullptr);

  // Runs the action of the key; false when the table has none for it.
  bool Handle(const QKeyEvent& key);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Application& app_;
  bool swallow_;
};

}  // namespace orve
