#pragma once
// Painting helpers shared by the skinned widgets. Everything is drawn in
// design pixels (the widget's own coordinates); the painter's device
// transform maps them to device pixels, so a HiDPI screen is only a scale.
// Straight edges are filled rectangles on whole design pixels, never pen
// strokes centred on an edge, so they stay sharp at every integer scale.

#include <QBrush>
#include <QColor>
#include <QRectF>

class QPainter;

namespace orve::paint {

// Colour between `from` (t = 0) and `to` (t = 1), alpha included.
QColor Mix(const QColor& from, const QColor& to, qreal t);

// `colour` with its alpha set to `alpha` (0..255).
QColor WithAlpha(QColor colour, int alpha);

// A frame `width` design pixels wide just inside `rect`.
void FillFrame(QPainter& painter, const QRectF& rect, qreal width, const QBrush& brush);

// The look of one glass face (buttons, scroll handles).
struct GlassLook {
  QColor face;
  QColor innerBorder;
  QColor glow;
  qreal radius = 0;  // 0 gives square corners
  bool hovered = false;
  bool pressed = false;
  bool focused = false;
};

// A glossy face filling `rect`: dark outer edge, bright upper half with a
// gloss highlight, inner border, and a glow rising from the bottom edge while
// hovered or pressed.
void PaintGlassFace(QPainter& painter, const QRectF& rect, const GlassLook& look);

// The drawn symbols of the transport and menu buttons.
enum class Symbol { None, Play, Pause, Stop, ArrowUp, Speaker };

// Draws `symbol` centred in `box`, filled with `colour`, with a faint shadow
// one design pixel below so it reads on a glossy face.
void PaintSymbol(QPainter& painter, Symbol symbol, const QRectF& box, const QColor& colour);

}  // namespace orve::paint
