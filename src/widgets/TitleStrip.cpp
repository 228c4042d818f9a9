#include "widgets/TitleStrip.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWindow>
#include <QLabel>
#include <QMouseEvent>

#include "widgets/ScreenPlacement.h"
#include "widgets/SkinColours.h"

namespace orve {

TitleStrip::TitleStrip(const QString& caption, QWidget* window)
    : GradientBackground(window), caption_(CreateTitleCaption(this, caption, QRect())) {
  window->installEventFilter(this);
}

void TitleStrip::SetCaptionGeometry(const QRect& place) { caption_->setGeometry(place); }

void TitleStrip::SetDragArea(const QRect& area) { dragArea_ = area; }

void TitleStrip::SetKeepWhole(bool whole) { keepWhole_ = whole; }

void TitleStrip::SetColours(const QColor& start, const QColor& activeEnd, const QColor& inactiveEnd,
                            const QColor& captionText) {
  activeEnd_ = activeEnd;
  inactiveEnd_ = inactiveEnd;
  PaintGradient(this, start, EndColour());
  SetTextColour(caption_, captionText);
}

QColor TitleStrip::EndColour() const { return window()->isActiveWindow() ? activeEnd_ : inactiveEnd_; }

void TitleStrip::MoveWindow(const QPoint& to) {
  if (to == window()->pos()) return;
  window()->move(to);
  emit WindowMoved();
}

bool TitleStrip::eventFilter(QObject* watched, QEvent* event) {
  if (watched == window()) {
    if (event->type() == QEvent::ActivationChange) SetGradientEnd(EndColour());
    // The window manager, a keyboard move or another program may have put
    // the window partly off its monitor: the pointer coming over it brings
    // it back.
    if (event->type() == QEvent::Enter && !dragging_) MoveWindow(KeptOnScreen(window()->geometry(), keepWhole_));
  }
  return GradientBackground::eventFilter(watched, event);
}

void TitleStrip::mousePressEvent(QMouseEvent* event) {
  emit Pressed();
  const QPoint inWindow = mapTo(window(), event->position().toPoint());
  const QRect area = dragArea_.isNull() ? geometry() : dragArea_;
  if (event->button() == Qt::LeftButton && area.contains(inWindow)) {
    // Native Wayland lets no client place its windows: there the
    // compositor moves it (without snapping or docking).
    QWindow* handle = window()->windowHandle();
    if (handle != nullptr && QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
      handle->startSystemMove();
      event->accept();
      return;
    }
    dragging_ = true;
    grabOffset_ = event->globalPosition().toPoint() - window()->pos();
    event->accept();
    return;
  }
  GradientBackground::mousePressEvent(event);
}

void TitleStrip::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) {
    GradientBackground::mouseMoveEvent(event);
    return;
  }
  // From the pointer, never from where the window reports itself: the
  // window system confirms moves late, and the window must not trail.
  const QRect proposed(event->globalPosition().toPoint() - grabOffset_, window()->size());
  MoveWindow(PlaceDragged(proposed, keepWhole_));
  event->accept();
}

void TitleStrip::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) dragging_ = false;
  emit Released();
  GradientBackground::mouseReleaseEvent(event);
}

}  // namespace orve
