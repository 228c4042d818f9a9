#include "widgets/Painting.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <vector>

namespace orve::paint {

namespace {

QPainterPath FacePath(const QRectF& rect, qreal radius) {
  QPainterPath path;
  if (radius > 0)
    path.addRoundedRect(rect, radius, radius);
  else
    path.addRect(rect);
  return path;
}

QLinearGradient Vertical(const QRectF& rect) {
  return QLinearGradient(rect.topLeft(), rect.bottomLeft());
}

QBrush BodyBrush(const QRectF& body, const GlassLook& look) {
  const QColor white(Qt::white), black(Qt::black);
  QLinearGradient g = Vertical(body);
  if (look.pressed) {
    g.setColorAt(0.0, Mix(look.face, black, 0.35));
    g.setColorAt(0.5, Mix(look.face, black, 0.22));
    g.setColorAt(1.0, Mix(look.face, black, 0.05));
  } else {
    g.setColorAt(0.0, Mix(look.face, white, 0.38));
    g.setColorAt(0.48, Mix(look.face, white, 0.12));
    g.setColorAt(0.52, Mix(look.face, black, 0.12));
    g.setColorAt(1.0, Mix(look.face, white, 0.08));
  }
  return g;
}

// An elliptic glow centred on the bottom edge, as wide as the face.
QBrush GlowBrush(const QRectF& body, const QColor& glow, bool strong) {
  QRadialGradient g(QPointF(0, 0), 1.0);
  g.setColorAt(0.0, WithAlpha(glow, strong ? 255 : 235));
  g.setColorAt(0.6, WithAlpha(glow, strong ? 150 : 120));
  g.setColorAt(1.0, WithAlpha(glow, 0));
  QBrush brush(g);
  QTransform t;
  t.translate(body.center().x(), body.bottom());
  t.scale(body.width() * 0.8, body.height() * 1.35);
  brush.setTransform(t);
  return brush;
}

QBrush InnerBorderBrush(const QRectF& body, const GlassLook& look) {
  QLinearGradient g = Vertical(body);
  const QColor base = look.focused ? look.glow : look.innerBorder;
  g.setColorAt(0.0, WithAlpha(Mix(base, Qt::white, 0.55), 220));
  g.setColorAt(0.5, WithAlpha(Mix(base, Qt::white, 0.2), 120));
  g.setColorAt(1.0, WithAlpha(Mix(base, Qt::white, 0.35), 170));
  return g;
}

void PaintGloss(QPainter& painter, const QRectF& body, const GlassLook& look) {
  QRectF gloss = body.adjusted(1, 1, -1, 0);
  gloss.setHeight(std::max<qreal>(1, std::round(body.height() * 0.45)));
  QLinearGradient g = Vertical(gloss);
  g.setColorAt(0.0, WithAlpha(Qt::white, look.pressed ? 45 : 130));
  g.setColorAt(1.0, WithAlpha(Qt::white, look.pressed ? 5 : 25));
  painter.fillPath(FacePath(gloss, std::max<qreal>(0, look.radius - 2)), g);
}

void PaintInnerBorder(QPainter& painter, const QRectF& body, const GlassLook& look) {
  const QBrush brush = InnerBorderBrush(body, look);
  if (look.radius <= 0) {
    FillFrame(painter, body, 1, brush);
    return;
  }
  // A one-pixel stroke on the half-pixel line covers exactly the pixel ring.
  painter.strokePath(FacePath(body.adjusted(0.5, 0.5, -0.5, -0.5), std::max<qreal>(0, look.radius - 1.5)),
                     QPen(brush, 1));
}

QPainterPath UnitSymbol(Symbol symbol, qreal s) {
  // Built on a grid of s design pixels; straight parts land on whole pixels.
  auto px = [s](qreal unit) { return std::round(unit * s); };
  QPainterPath path;
  switch (symbol) {
    case Symbol::None:
      break;
    case Symbol::Play:
      path.moveTo(px(0.15), 0);
      path.lineTo(px(0.15), s);
      path.lineTo(px(0.95), s / 2);
      path.closeSubpath();
      break;
    case Symbol::Pause:
      path.addRect(QRectF(px(0.12), 0, px(0.3), s));
      path.addRect(QRectF(s - px(0.12) - px(0.3), 0, px(0.3), s));
      break;
    case Symbol::Stop:
      path.addRect(QRectF(px(0.12), px(0.12), s - 2 * px(0.12), s - 2 * px(0.12)));
      break;
    case Symbol::ArrowUp:
      path.moveTo(s / 2, 0);
      path.lineTo(s, px(0.6));
      path.lineTo(0, px(0.6));
      path.closeSubpath();
      path.addRect(QRectF(0, px(0.75), s, s - px(0.75)));
      break;
    case Symbol::Speaker: {
      path.addRect(QRectF(0, px(0.33), px(0.22), s - 2 * px(0.33)));
      path.moveTo(px(0.22), px(0.33));
      path.lineTo(px(0.52), px(0.05));
      path.lineTo(px(0.52), s - px(0.05));
      path.lineTo(px(0.22), s - px(0.33));
      path.closeSubpath();
      // Two sound waves where there is room for them, one on small faces.
      QPainterPath waves;
      const std::vector<qreal> radii = s < 12 ? std::vector<qreal>{0.3} : std::vector<qreal>{0.18, 0.36};
      for (qreal r : radii) {
        const QRectF arc(0.52 * s - r * s, 0.5 * s - r * s, 2 * r * s, 2 * r * s);
        waves.arcMoveTo(arc, -50);
        waves.arcTo(arc, -50, 100);
      }
      QPainterPathStroker stroker;
      stroker.setWidth(std::max<qreal>(1.3, s * 0.1));
      stroker.setCapStyle(Qt::FlatCap);
      path = path.united(stroker.createStroke(waves));
      break;
    }
  }
  return path;
}

}  // namespace

QColor Mix(const QColor& from, const QColor& to, qreal t) {
  t = std::clamp<qreal>(t, 0, 1);
  const QColor a = from.toRgb(), b = to.toRgb();
  return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                          float(a.greenF() + (b.greenF() - a.greenF()) * t),
                          float(a.blueF() + (b.blueF() - a.blueF()) * t),
                          float(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}

QColor WithAlpha(QColor colour, int alpha) {
  colour.setAlpha(std::clamp(alpha, 0, 255));
  return colour;
}

void FillFrame(QPainter& painter, const QRectF& rect, qreal width, const QBrush& brush) {
  if (rect.width() <= 0 || rect.height() <= 0 || width <= 0) return;
  const qreal w = std::min({width, rect.width() / 2, rect.height() / 2});
  painter.fillRect(QRectF(rect.left(), rect.top(), rect.width(), w), brush);
  painter.fillRect(QRectF(rect.left(), rect.bottom() - w, rect.width(), w), brush);
  painter.fillRect(QRectF(rect.left(), rect.top() + w, w, rect.height() - 2 * w), brush);
  painter.fillRect(QRectF(rect.right() - w, rect.top() + w, w, rect.height() - 2 * w), brush);
}

void PaintGlassFace(QPainter& painter, const QRectF& rect, const GlassLook& look) {
  if (rect.width() < 3 || rect.height() < 3) return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, look.radius > 0);
  painter.setPen(Qt::NoPen);
  const qreal radius = std::min({look.radius, rect.width() / 2, rect.height() / 2});
  GlassLook shaped = look;
  shaped.radius = radius;

  const QColor edge = Mix(look.face, Qt::black, 0.55);
  painter.fillPath(FacePath(rect, radius), look.hovered ? Mix(edge, look.glow, 0.35) : edge);
  const QRectF body = rect.adjusted(1, 1, -1, -1);
  const QPainterPath bodyPath = FacePath(body, std::max<qreal>(0, radius - 1));
  painter.fillPath(bodyPath, BodyBrush(body, shaped));
  if (look.hovered || look.pressed) painter.fillPath(bodyPath, GlowBrush(body, look.glow, look.pressed));
  PaintGloss(painter, body, shaped);
  PaintInnerBorder(painter, body, shaped);
  painter.restore();
}

void PaintSymbol(QPainter& painter, Symbol symbol, const QRectF& box, const QColor& colour) {
  const qreal s = std::floor(std::min(box.width(), box.height()));
  if (symbol == Symbol::None || s < 3) return;
  // Whole-pixel origin keeps the straight parts of the symbol sharp.
  const QPointF origin(std::round(box.center().x() - s / 2), std::round(box.center().y() - s / 2));
  const QPainterPath path = UnitSymbol(symbol, s).translated(origin);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.fillPath(path.translated(0, 1), WithAlpha(Qt::black, 90));
  painter.fillPath(path, colour);
  painter.restore();
}

}  // namespace orve::paint
