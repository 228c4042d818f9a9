#include "widgets/DrawingSurface.h"

#include <QMouseEvent>
#include <QPainter>

namespace orve {

DrawingSurface::DrawingSurface(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);  // the canvas covers every pixel
}

QImage& DrawingSurface::Canvas() {
  const qreal ratio = devicePixelRatioF();
  const QSize pixels = (QSizeF(size()) * ratio).toSize();
  if (canvas_.size() != pixels || canvas_.devicePixelRatio() != ratio) {
    // A new size or screen scale: the picture starts afresh, black.
    // Opaque like the X backing store: showing the canvas is a plain copy,
    // with no blending of an alpha channel.
    canvas_ = QImage(pixels, QImage::Format_RGB32);
    canvas_.setDevicePixelRatio(ratio);
    canvas_.fill(Qt::black);
  }
  return canvas_;
}

void DrawingSurface::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(QPoint(0, 0), Canvas());
}

void DrawingSurface::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit doubleClicked();
  QWidget::mouseDoubleClickEvent(event);
}

}  // namespace orve
