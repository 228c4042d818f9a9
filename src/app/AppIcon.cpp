#include "app/AppIcon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace orve {
namespace {

// A glossy blue disc with a white play triangle (data/icons/orve.svg is
// this drawing; change both together).
QPixmap Draw(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 32.0, size / 32.0);
  QLinearGradient face(0, 0, 0, 32);
  face.setColorAt(0, QColor(0x86, 0xD8, 0xFF));
  face.setColorAt(0.5, QColor(0x2C, 0x64, 0xA6));
  face.setColorAt(1, QColor(0x12, 0x28, 0x4A));
  p.setPen(QPen(QColor(0x0B, 0x18, 0x30), 1.5));
  p.setBrush(face);
  p.drawEllipse(QRectF(1.5, 1.5, 29, 29));
  QPainterPath play;
  play.moveTo(12, 9);
  play.lineTo(24, 16);
  play.lineTo(12, 23);
  play.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawPath(play);
  p.setBrush(QColor(255, 255, 255, 70));
  p.drawEllipse(QRectF(6, 3, 20, 10));
  return pixmap;
}

}  // namespace

QIcon AppIcon() {
  // The installed icon ("orve" in the icon theme, data/icons: the same
  // drawing) when there is one, so a theme may replace it; else drawn here.
  QIcon drawn;
  for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) drawn.addPixmap(Draw(size));
  return QIcon::fromTheme(QStringLiteral("orve"), drawn);
}

}  // namespace orve
