#include "widgets/SkinColours.h"

#include <QGraphicsDropShadowEffect>
#include <QLabel>
#include <QPalette>
#include <QWidget>
#include <cmath>

#include "widgets/GlassButton.h"
#include "widgets/GradientBackground.h"

namespace orve {

void SetTextColour(QWidget* widget, const QColor& colour) {
  // Timers set colours again and again: an unchanged one repaints nothing.
  if (widget->testAttribute(Qt::WA_SetPalette) && widget->palette().color(QPalette::WindowText) == colour) return;
  QPalette p = widget->palette();
  p.setColor(QPalette::WindowText, colour);
  widget->setPalette(p);
}

void SetBackground(QWidget* widget, const QColor& colour) {
  QPalette p = widget->palette();
  p.setColor(QPalette::Window, colour);
  widget->setPalette(p);
  widget->setAutoFillBackground(true);
}

void SetFieldColours(QWidget* widget, const QColor& text, const QColor& base) {
  QPalette p = widget->palette();
  p.setColor(QPalette::Text, text);
  p.setColor(QPalette::Base, base);
  widget->setPalette(p);
}

QLabel* CreateTitleCaption(QWidget* parent, const QString& text, const QRect& geometry) {
  auto* label = new QLabel(text, parent);
  label->setGeometry(geometry);
  label->setAlignment(Qt::AlignCenter);
  label->setAttribute(Qt::WA_TransparentForMouseEvents);
  QFont font = label->font();
  font.setBold(true);
  font.setPixelSize(11);
  label->setFont(font);
  auto* shadow = new QGraphicsDropShadowEffect(label);
  shadow->setBlurRadius(3);
  shadow->setOffset(1, 1);
  shadow->setColor(QColor(0, 0, 0, 200));
  label->setGraphicsEffect(shadow);
  return label;
}

void PaintGlassButton(GlassButton* button, const QColor& font, const QColor& face, const QColor& glow) {
  button->SetFontColour(font);
  button->SetFaceColour(face);
  button->SetInnerBorderColour(face);
  button->SetGlowColour(glow);
}

void PaintGradient(GradientBackground* panel, const QColor& start, const QColor& end) {
  panel->SetFrameColour(start);
  panel->SetGradientStart(start);
  panel->SetGradientEnd(end);
}

void ApplyStoredOpacity(QWidget* window, int stored) {
  if (stored != 255) window->setWindowOpacity((stored & 0xFF) / 255.0);
}

int StoredOpacity(const QWidget* window) { return static_cast<int>(std::lround(window->windowOpacity() * 255)); }

}  // namespace orve
