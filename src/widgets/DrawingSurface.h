#pragma once
// A surface that keeps what was drawn on it, as a picture control does:
// drawing goes to a canvas in design pixels (crisp at any screen scale, the
// canvas holding device pixels), and the widget shows the canvas. What is
// not drawn over stays, so a picture can be built up over many ticks.

#include <QImage>
#include <QWidget>

class QPainter;

namespace orve {

class DrawingSurface : public QWidget {
  Q_OBJECT
 public:
  explicit DrawingSurface(QWidget* parent = nullptr);

  // The canvas, of the widget's size in design pixels; a painter on it
  // draws in design pixels. Call update() after drawing.
  QImage& Canvas();

 signals:
  void doubleClicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  QImage canvas_;
};

}  // namespace orve
