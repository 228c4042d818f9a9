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
    // The backing store's own format, so showing the canvas is a plain copy.
    canvas_ = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
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
