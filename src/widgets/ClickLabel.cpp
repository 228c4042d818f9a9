#include "widgets/ClickLabel.h"

#include <QMouseEvent>

namespace orve {

ClickLabel::ClickLabel(QWidget* parent) : QLabel(parent) {}

ClickLabel::ClickLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {}

void ClickLabel::mousePressEvent(QMouseEvent* event) {
  pressed_ = event->button() == Qt::LeftButton;
  event->setAccepted(pressed_);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
  const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  pressed_ = false;
  event->setAccepted(click);
  if (click) emit clicked();
}

void ClickLabel::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  pressed_ = false;
  emit doubleClicked();
}

}  // namespace orve
