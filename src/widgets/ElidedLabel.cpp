#include "widgets/ElidedLabel.h"

#include <QPainter>

namespace orve {

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent) {
  // A label sized to its text would grow instead of eliding it.
  setMinimumWidth(1);
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

QString ElidedLabel::ShownText() const {
  return fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width());
}

void ElidedLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(palette().color(foregroundRole()));
  painter.setFont(font());
  painter.drawText(contentsRect(), static_cast<int>(alignment()), ShownText());
}

}  // namespace orve
