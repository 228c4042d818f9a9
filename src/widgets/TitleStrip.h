#pragma once
// The title strip of a frameless skinned window: a gradient panel with the
// window's caption centred on it. A left press in its drag area (not on a
// button placed over it) takes the window: the strip moves it with the
// pointer itself, snapping it to the work area and keeping it on its
// monitor (ScreenPlacement.h), so that windows docked to it can be placed
// from exactly where it went. The window is also put back on its monitor
// when the pointer enters it after something else moved it off. The
// gradient's end follows the window's activation, so the strip shows which
// window has the focus.

#include <QColor>

#include "widgets/GradientBackground.h"

class QLabel;

namespace orve {

class TitleStrip : public GradientBackground {
  Q_OBJECT
 public:
  // A strip on `window` with `caption`; place both with setGeometry and
  // SetCaptionGeometry.
  TitleStrip(const QString& caption, QWidget* window);

  // The caption's place within the strip.
  void SetCaptionGeometry(const QRect& place);
  QLabel* Caption() const { return caption_; }

  // Where a press takes the window, in the window's coordinates (the whole
  // strip until set).
  void SetDragArea(const QRect& area);
  // Keep the whole window inside the work area, not only its top-left corner.
  void SetKeepWhole(bool whole);

  // Frame and gradient start `start`; gradient end `activeEnd` while the
  // window is active, else `inactiveEnd`; the caption in `captionText`.
  void SetColours(const QColor& start, const QColor& activeEnd, const QColor& inactiveEnd,
                  const QColor& captionText);

 signals:
  // Any mouse button pressed or released on the strip.
  void Pressed();
  void Released();
  // The strip moved the window (a drag step, or back onto its monitor).
  void WindowMoved();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QColor EndColour() const;  // by the window's activation
  void MoveWindow(const QPoint& to);

  QLabel* caption_;
  QRect dragArea_;
  bool keepWhole_ = false;
  bool dragging_ = false;
  QPoint grabOffset_;  // the pointer's place on the window while it is dragged
  QColor activeEnd_;
  QColor inactiveEnd_;
};

}  // namespace orve
