#pragma once
// The program's own picture, drawn rather than stored: a dark field with
// the sixteen equalizer bands rising as a soft curve over a sound wave,
// in two colours, and the program's name at its top-left corner in bold
// white. The splash and the about window show it.

#include <QColor>
#include <QRect>
#include <QString>

class QPainter;

namespace orve {

// The picture's own colours, where no scheme gives others.
inline QColor ArtworkAccent() { return {40, 90, 200}; }
inline QColor ArtworkGlow() { return {120, 220, 255}; }

void DrawArtwork(QPainter& painter, const QRect& box, const QString& title, const QColor& accent = ArtworkAccent(),
                 const QColor& glow = ArtworkGlow());

}  // namespace orve
