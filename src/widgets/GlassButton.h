#pragma once
// A glossy push button: square or rounded face, a glow while the pointer is
// over it, an inner border, and either a caption or a drawn symbol.
// Signals come from QAbstractButton: pressed() on a left press, released()
// when the left button goes up, clicked() when it goes up over the button.
// It takes no keyboard focus unless SetFocusable(true).

#include <QAbstractButton>
#include <QColor>

#include "widgets/Painting.h"

namespace orve {

class GlassButton : public QAbstractButton {
  Q_OBJECT
 public:
  using Symbol = paint::Symbol;

  explicit GlassButton(QWidget* parent = nullptr);
  GlassButton(const QString& caption, QWidget* parent = nullptr);

  // 0 gives a square face; 7 the rounded one of the "round buttons" setting.
  void SetCornerRadius(int radius);
  int CornerRadius() const { return radius_; }

  // A symbol replaces the caption; Symbol::None shows the caption.
  void SetSymbol(Symbol symbol);
  Symbol GetSymbol() const { return symbol_; }

  // Caption and symbol colour.
  void SetFontColor(const QColor& colour);
  QColor FontColor() const { return fontColor_; }
  void SetFaceColor(const QColor& colour);
  QColor FaceColor() const { return faceColor_; }
  void SetInnerBorderColor(const QColor& colour);
  QColor InnerBorderColor() const { return innerBorderColor_; }
  void SetGlowColor(const QColor& colour);
  QColor GlowColor() const { return glowColor_; }

  void SetFocusable(bool focusable);
  bool IsHovered() const { return hovered_; }

  QSize sizeHint() const override;

 signals:
  void hoverChanged(bool hovered);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void SetHovered(bool hovered);
  void PaintCaption(QPainter& painter, const QRectF& face);

  int radius_ = 0;
  Symbol symbol_ = Symbol::None;
  QColor fontColor_{0xDC, 0xE8, 0xF6};
  QColor faceColor_{0x2C, 0x64, 0xA6};
  QColor innerBorderColor_{0x2C, 0x64, 0xA6};
  QColor glowColor_{0x86, 0xD8, 0xFF};
  bool hovered_ = false;
};

}  // namespace orve
