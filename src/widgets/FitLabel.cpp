#include "widgets/FitLabel.h"

#include <QPainter>

namespace orve {

FitLabel::FitLabel(QWidget* parent) : QLabel(parent) {}

FitLabel::FitLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {}

double FitLabel::HorizontalScale() const {
  const int advance = fontMetrics().horizontalAdvance(text());
  const int room = contentsRect().width();
  return advance > room && advance > 0 ? static_cast<double>(room) / advance : 1.0;
}

void FitLabel::paintEvent(QPaintEvent* event) {
  const double scale = HorizontalScale();
  if (scale >= 1.0) {
    QLabel::paintEvent(event);
    return;
  }
  QPainter painter(this);
  const QRect room = contentsRect();
  painter.translate(room.left(), 0);
  painter.scale(scale, 1.0);
  const QRect wide(0, room.top(), fontMetrics().horizontalAdvance(text()), room.height());
  painter.setPen(palette().color(foregroundRole()));
  painter.drawText(wide, static_cast<int>(alignment() & Qt::AlignVertical_Mask) | Qt::AlignLeft, text());
}

}  // namespace orve
