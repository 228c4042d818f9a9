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
  void SetFontColour(const QColor& colour);
  QColor FontColour() const { return fontColour_; }
  void SetFaceColour(const QColor& colour);
  QColor FaceColour() const { return faceColour_; }
  void SetInnerBorderColour(const QColor& colour);
  QColor InnerBorderColour() const { return innerBorderColour_; }
  void SetGlowColour(const QColor& colour);
  QColor GlowColour() const { return glowColour_; }

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
  QColor fontColour_{0xDC, 0xE8, 0xF6};
  QColor faceColour_{0x2C, 0x64, 0xA6};
  QColor innerBorderColour_{0x2C, 0x64, 0xA6};
  QColor glowColour_{0x86, 0xD8, 0xFF};
  bool hovered_ = false;
};

}  // namespace orve
