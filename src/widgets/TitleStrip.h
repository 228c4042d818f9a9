#pragma once
// The title strip of a frameless skinned window: a gradient panel with the
// window's caption centred on it. A left press on the strip (not on a
// button placed over it) moves the window; the gradient's end follows the
// window's activation, so the strip shows which window has the focus.

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

  // Frame and gradient start `start`; gradient end `activeEnd` while the
  // window is active, else `inactiveEnd`; the caption in `captionText`.
  void SetColours(const QColor& start, const QColor& activeEnd, const QColor& inactiveEnd,
                  const QColor& captionText);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QColor EndColour() const;  // by the window's activation

  QLabel* caption_;
  QColor activeEnd_;
  QColor inactiveEnd_;
};

}  // namespace orve
