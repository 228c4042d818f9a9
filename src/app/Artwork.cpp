#include "app/Artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

#include "widgets/SkinnedWindow.h"

namespace orve {

void DrawArtwork(QPainter& painter, const QRect& box, const QString& title, const QColor& accent, const QColor& glow) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setClipRect(box);
  const QRectF r(box);
  QLinearGradient field(r.topLeft(), r.bottomLeft());
  field.setColorAt(0, QColor(12, 14, 24));
  field.setColorAt(1, accent.darker(420));
  painter.fillRect(r, field);
  QRadialGradient halo(r.center() + QPointF(0, r.height() * 0.12), r.width() * 0.6);
  QColor haloColour = glow;
  haloColour.setAlpha(70);
  halo.setColorAt(0, haloColour);
  halo.setColorAt(1, Qt::transparent);
  painter.fillRect(r, halo);

  // Sixteen bands, their heights along a gentle "smile" as a listener sets them.
  constexpr int kBands = 16;
  const double base = r.top() + r.height() * 0.78;
  const double step = r.width() * 0.8 / kBands;
  const double left = r.left() + r.width() * 0.1;
  for (int k = 0; k < kBands; ++k) {
    const double x = (k - (kBands - 1) / 2.0) / ((kBands - 1) / 2.0);
    const double height = r.height() * (0.16 + 0.30 * x * x + 0.06 * std::sin(k * 1.7));
    QLinearGradient bar(0, base - height, 0, base);
    bar.setColorAt(0, glow);
    bar.setColorAt(1, accent);
    painter.fillRect(QRectF(left + k * step + step * 0.18, base - height, step * 0.64, height), bar);
  }
  // A wave running through them.
  QPainterPath wave;
  for (int i = 0; i <= 120; ++i) {
    const double t = i / 120.0;
    const double y = r.top() + r.height() * (0.42 + 0.12 * std::sin(t * 6.28 * 2.2) * std::exp(-1.4 * t));
    const QPointF p(r.left() + t * r.width(), y);
    if (i == 0) {
      wave.moveTo(p);
    } else {
      wave.lineTo(p);
    }
  }
  QPen pen(QColor(255, 255, 255, 190), std::max(1.5, r.width() / 150.0));
  painter.setPen(pen);
  painter.drawPath(wave);
  // The floor the bands stand on.
  painter.fillRect(QRectF(left, base + 2, r.width() * 0.8, 2), QColor(255, 255, 255, 120));
  painter.setPen(Qt::white);
  QFont font = SkinFont();
  font.setBold(true);
  font.setPixelSize(16);
  painter.setFont(font);
  painter.drawText(box.adjusted(8, 6, -8, 0), Qt::AlignLeft | Qt::AlignTop, title);
  painter.restore();
}

}  // namespace orve
