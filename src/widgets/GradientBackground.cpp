#include "widgets/GradientBackground.h"

#include <QLinearGradient>
#include <QPainter>

#include "widgets/Painting.h"

namespace orve {

GradientBackground::GradientBackground(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent, true);
}

void GradientBackground::SetFrameColour(const QColor& colour) {
  frame_ = colour;
  update();
}

void GradientBackground::SetGradientStart(const QColor& colour) {
  start_ = colour;
  update();
}

void GradientBackground::SetGradientEnd(const QColor& colour) {
  end_ = colour;
  update();
}

void GradientBackground::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRectF inner = QRectF(rect()).adjusted(1, 1, -1, -1);
  QLinearGradient gradient(inner.topLeft(), inner.bottomLeft());
  gradient.setColorAt(0, start_);
  gradient.setColorAt(1, end_);
  painter.fillRect(inner, gradient);
  paint::FillFrame(painter, rect(), 1, frame_);
}

}  // namespace orve
