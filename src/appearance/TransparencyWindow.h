#pragma once
// The transparency window "Транспарантность": one slider per docked window
// (main, equalizer, playlist), 10..255, changing the window's opacity while
// it moves; 255 is opaque. What it sets is written to config.ini at exit
// (the windows' opacities are read there), not here.

#include <QWidget>
#include <array>

class QLabel;
class QSlider;

namespace orve {

class TransparencyWindow : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kWindows = 3;  // main, equalizer, playlist, in the sliders' order
  static constexpr int kMinimum = 10; // never invisible through this window

  // `windows` in the sliders' order; they outlive this window.
  TransparencyWindow(const std::array<QWidget*, kWindows>& windows, QWidget* parent = nullptr);

  // Centred on the screen, the sliders at the windows' opacities.
  void Open();

  struct Controls {
    std::array<QSlider*, kWindows> sliders;
    QLabel* noCompositorNote;
  };
  Controls ControlsForTest() const { return {sliders_, noCompositorNote_}; }

 private:
  void TakeOpacities();

  std::array<QWidget*, kWindows> windows_;
  std::array<QSlider*, kWindows> sliders_{};
  QLabel* noCompositorNote_;
};

}  // namespace orve
