#include "widgets/MarkupRowPainter.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace orve {

namespace {

constexpr QChar kEllipsis(0x2026);

QFont Bold(QFont font) {
  font.setBold(true);
  return font;
}

}  // namespace

MarkupRowPainter::MarkupRowPainter(const QFont& font)
    : regular_(font), bold_(Bold(font)), regularMetrics_(regular_), boldMetrics_(bold_) {
  SetFont(font);
}

void MarkupRowPainter::SetFont(const QFont& font) {
  regular_ = font;
  bold_ = Bold(font);
  regularMetrics_ = QFontMetricsF(regular_);
  boldMetrics_ = QFontMetricsF(bold_);
  lineHeight_ = std::ceil(std::max(regularMetrics_.height(), boldMetrics_.height()));
  ascent_ = std::max(regularMetrics_.ascent(), boldMetrics_.ascent());
}

void MarkupRowPainter::Paint(QPainter& painter, const MarkupRow& row, const QRectF& box, int maxLines,
                             const QColor& defaultColour, const QColor& overrideColour) const {
  const int shown = std::min<int>(maxLines, int(row.lines.size()));
  for (int i = 0; i < shown; ++i) {
    const bool cut = i == shown - 1 && shown < int(row.lines.size());
    const qreal baseline = box.top() + i * lineHeight_ + ascent_;
    for (const Piece& piece : LayoutLine(row.lines[size_t(i)], box.width(), cut)) {
      painter.setFont(piece.bold ? bold_ : regular_);
      painter.setPen(overrideColour.isValid() ? overrideColour
                     : piece.colour.isValid() ? piece.colour
                                              : defaultColour);
      painter.drawText(QPointF(box.left() + piece.x, baseline), piece.text);
    }
  }
}

std::vector<MarkupRowPainter::Piece> MarkupRowPainter::LayoutLine(const MarkupLine& line, qreal width,
                                                                  bool cut) const {
  std::vector<Piece> pieces;
  qreal x = 0;
  for (size_t i = 0; i < line.size(); ++i) {
    const MarkupRun& run = line[i];
    const QFontMetricsF& fm = run.bold ? boldMetrics_ : regularMetrics_;
    QString text = cut && i + 1 == line.size() ? run.text + kEllipsis : run.text;
    qreal advance = fm.horizontalAdvance(text);
    const bool overflows = x + advance > width;
    if (overflows) {
      text = fm.elidedText(text, Qt::ElideRight, width - x);
      advance = fm.horizontalAdvance(text);
    }
    pieces.push_back(Piece{text, x, advance, run.bold, run.colour});
    if (overflows) break;
    x += advance;
  }
  return pieces;
}

}  // namespace orve
