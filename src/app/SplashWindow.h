#pragma once
// The splash: the program's picture with its name, fading in and out over
// the other windows at start-up on a 10 ms timer. Start-up does not wait
// for it; a click closes it at once. It deletes itself when it closes.

#include <QWidget>

class QTimer;

namespace orve {

class SplashWindow : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kWidth = 300;
  static constexpr int kHeight = 299;
  static constexpr int kTickMs = 10;

  // The opacity (0..255) after `tick` ticks of the timer; -1 once it has
  // faded out and closes: in by 3 a tick, a half-second at full, out by 5.
  static int OpacityAt(int tick);

  explicit SplashWindow(QWidget* parent = nullptr);

  // Shown centred on the primary monitor's work area, its timer running.
  void Start();
  int Tick() const { return tick_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void Step();

  QTimer* timer_;
  int tick_ = 0;
};

}  // namespace orve
