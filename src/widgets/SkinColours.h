#pragma once
// Small helpers every skinned window uses to colour plain Qt widgets and to
// build its title caption, so each window does it the same way.

#include <QColor>
#include <QRect>
#include <QString>

class QLabel;
class QWidget;

namespace orve {

class GlassButton;
class GradientBackground;

// The text colour of a label (or any widget that draws WindowText).
void SetTextColour(QWidget* widget, const QColor& colour);

// The filled background of a panel or window.
void SetBackground(QWidget* widget, const QColor& colour);

// Text and field colours of an edit or a list (their Text and Base roles).
void SetFieldColours(QWidget* widget, const QColor& text, const QColor& base);

// A glass button in the scheme: caption `font`, face and inner border
// `face`, glow `glow`.
void PaintGlassButton(GlassButton* button, const QColor& font, const QColor& face, const QColor& glow);

// A gradient panel framed in its start colour.
void PaintGradient(GradientBackground* panel, const QColor& start, const QColor& end);

// A window's opacity as config.ini keeps it (0..255). A stored value other
// than 255 switches blending on with its low 8 bits.
void ApplyStoredOpacity(QWidget* window, int stored);
int StoredOpacity(const QWidget* window);

// The centred bold caption of a window's title strip. The strip's gradient
// runs from dark to light, so a soft shadow keeps the caption readable on
// both; presses pass through to the window, which drags by its strip.
QLabel* CreateTitleCaption(QWidget* parent, const QString& text, const QRect& geometry);

}  // namespace orve
