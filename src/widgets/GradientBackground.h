#pragma once
// A panel filled with a vertical gradient (start colour at the top, end
// colour at the bottom) inside a one-pixel frame. Mouse events pass through
// to the parent, so a window can use the panel as its drag strip.

#include <QColor>
#include <QWidget>

namespace orve {

class GradientBackground : public QWidget {
  Q_OBJECT
 public:
  explicit GradientBackground(QWidget* parent = nullptr);

  void SetFrameColour(const QColor& colour);
  QColor FrameColour() const { return frame_; }
  void SetGradientStart(const QColor& colour);
  QColor GradientStart() const { return start_; }
  void SetGradientEnd(const QColor& colour);
  QColor GradientEnd() const { return end_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor frame_{0x1D, 0x4A, 0x85};
  QColor start_{0x1D, 0x4A, 0x85};
  QColor end_{0xDC, 0xE8, 0xF6};
};

}  // namespace orve
