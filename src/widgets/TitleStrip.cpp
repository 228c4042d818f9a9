#include "widgets/TitleStrip.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QWindow>

#include "widgets/SkinColours.h"

namespace orve {

TitleStrip::TitleStrip(const QString& caption, QWidget* window)
    : GradientBackground(window), caption_(CreateTitleCaption(this, caption, QRect())) {
  window->installEventFilter(this);
}

void TitleStrip::SetCaptionGeometry(const QRect& place) { caption_->setGeometry(place); }

void TitleStrip::SetColours(const QColor& start, const QColor& activeEnd, const QColor& inactiveEnd,
                            const QColor& captionText) {
  activeEnd_ = activeEnd;
  inactiveEnd_ = inactiveEnd;
  PaintGradient(this, start, EndColour());
  SetTextColour(caption_, captionText);
}

QColor TitleStrip::EndColour() const { return window()->isActiveWindow() ? activeEnd_ : inactiveEnd_; }

bool TitleStrip::eventFilter(QObject* watched, QEvent* event) {
  if (watched == window() && event->type() == QEvent::ActivationChange) SetGradientEnd(EndColour());
  return GradientBackground::eventFilter(watched, event);
}

void TitleStrip::mousePressEvent(QMouseEvent* event) {
  // The window has no frame: its strip is where it is taken to move it.
  QWindow* handle = window()->windowHandle();
  if (event->button() == Qt::LeftButton && handle != nullptr) {
    handle->startSystemMove();
    event->accept();
    return;
  }
  GradientBackground::mousePressEvent(event);
}

}  // namespace orve
