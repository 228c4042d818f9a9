#pragma once
// The program's own picture, drawn rather than stored: a dark field with
// the sixteen equalizer bands rising as a soft curve over a sound wave,
// in two colours. The splash and the about window show it.

#include <QColor>
#include <QRect>

class QPainter;

namespace orve {

void DrawArtwork(QPainter& painter, const QRect& box, const QColor& accent, const QColor& glow);

}  // namespace orve
