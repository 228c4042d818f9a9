#pragma once
// Draws parsed markup rows: each line on its own text line, bold runs in the
// bold face, an overlong line cut with an ellipsis. Keeps the two fonts and
// their metrics so a paint does no font lookups.

#include <QFont>
#include <QFontMetricsF>
#include <QRectF>
#include <QString>
#include <vector>

#include "widgets/MarkupText.h"

class QPainter;

namespace orve {

class MarkupRowPainter {
 public:
  explicit MarkupRowPainter(const QFont& font);

  void SetFont(const QFont& font);
  qreal LineHeight() const { return lineHeight_; }

  // Draws the first `maxLines` lines of `row` from the top of `box`. Runs
  // without a colour take `defaultColour`; a valid `overrideColour` (the
  // selection's text colour) replaces every colour. When the row has more
  // lines than are drawn, the last drawn line ends in an ellipsis.
  void Paint(QPainter& painter, const MarkupRow& row, const QRectF& box, int maxLines,
             const QColor& defaultColour, const QColor& overrideColour) const;

  // One run as it is drawn: its text after cutting, where it starts.
  struct Piece {
    QString text;
    qreal x = 0;
    qreal width = 0;
    bool bold = false;
    QColor colour;
  };
  // Lays out a line in `width` design pixels: runs side by side, the first
  // run that does not fit cut with an ellipsis and the rest left out. With
  // `cut` the line ends in an ellipsis even when it fits (more lines follow).
  std::vector<Piece> LayoutLine(const MarkupLine& line, qreal width, bool cut) const;

 private:

  QFont regular_;
  QFont bold_;
  QFontMetricsF regularMetrics_;
  QFontMetricsF boldMetrics_;
  qreal lineHeight_ = 0;
  qreal ascent_ = 0;
};

}  // namespace orve
