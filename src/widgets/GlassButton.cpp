#include "widgets/GlassButton.h"

#include <QFontMetrics>
#include <QPainter>

namespace orve {

GlassButton::GlassButton(QWidget* parent) : QAbstractButton(parent) {
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_Hover, true);
}

GlassButton::GlassButton(const QString& caption, QWidget* parent) : GlassButton(parent) {
  setText(caption);
}

void GlassButton::SetCornerRadius(int radius) {
  radius_ = std::max(0, radius);
  update();
}

void GlassButton::SetSymbol(Symbol symbol) {
  symbol_ = symbol;
  update();
}

void GlassButton::SetFontColour(const QColor& colour) {
  fontColour_ = colour;
  update();
}

void GlassButton::SetFaceColour(const QColor& colour) {
  faceColour_ = colour;
  update();
}

void GlassButton::SetInnerBorderColour(const QColor& colour) {
  innerBorderColour_ = colour;
  update();
}

void GlassButton::SetGlowColour(const QColor& colour) {
  glowColour_ = colour;
  update();
}

void GlassButton::SetFocusable(bool focusable) {
  setFocusPolicy(focusable ? Qt::StrongFocus : Qt::NoFocus);
  if (!focusable && hasFocus()) clearFocus();
}

QSize GlassButton::sizeHint() const {
  const QFontMetrics fm(font());
  if (symbol_ != Symbol::None) return {25, 15};
  return {fm.horizontalAdvance(text()) + 10, std::max(15, fm.height() + 2)};
}

void GlassButton::SetHovered(bool hovered) {
  if (hovered_ == hovered) return;
  hovered_ = hovered;
  update();
  emit hoverChanged(hovered);
}

void GlassButton::enterEvent(QEnterEvent* event) {
  SetHovered(true);
  QAbstractButton::enterEvent(event);
}

void GlassButton::leaveEvent(QEvent* event) {
  SetHovered(false);
  QAbstractButton::leaveEvent(event);
}

// A hidden button gets no leave event, so it would come back glowing.
void GlassButton::hideEvent(QHideEvent* event) {
  SetHovered(false);
  QAbstractButton::hideEvent(event);
}

void GlassButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRectF face(rect());
  paint::GlassLook look;
  look.face = faceColour_;
  look.innerBorder = innerBorderColour_;
  look.glow = glowColour_;
  look.radius = radius_;
  look.hovered = hovered_ && isEnabled();
  look.pressed = isDown();
  look.focused = hasFocus();
  paint::PaintGlassFace(painter, face, look);
  PaintCaption(painter, face);
}

void GlassButton::PaintCaption(QPainter& painter, const QRectF& face) {
  QColor colour = fontColour_;
  if (!isEnabled()) colour = paint::Mix(fontColour_, faceColour_, 0.55);
  // A pressed face looks deeper: its content sinks by one design pixel.
  const QRectF content = face.adjusted(2, 2, -2, -2).translated(0, isDown() ? 1 : 0);
  if (symbol_ != Symbol::None) {
    const qreal side = std::min(content.width(), content.height()) - 2;
    QRectF box(0, 0, side, side);
    box.moveCenter(content.center());
    paint::PaintSymbol(painter, symbol_, box, colour);
    return;
  }
  painter.setFont(font());
  painter.setPen(paint::WithAlpha(Qt::black, 110));
  painter.drawText(content.translated(0, 1), Qt::AlignCenter, text());
  painter.setPen(colour);
  painter.drawText(content, Qt::AlignCenter, text());
}

}  // namespace orve
