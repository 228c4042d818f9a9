#include "widgets/ProgressBar.h"

#include <QLinearGradient>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "widgets/Painting.h"

namespace orve {

ProgressBar::ProgressBar(QWidget* parent) : QWidget(parent) {
  const QColor face(0x2C, 0x64, 0xA6);
  levels_.fill(Level{face, paint::Mix(face, Qt::white, 0.35)});
}

void ProgressBar::SetRange(int minimum, int maximum) {
  minimum_ = minimum;
  maximum_ = std::max(minimum, maximum);
  SetValue(value_);
  update();
}

void ProgressBar::SetValue(int value) {
  value_ = std::clamp(value, minimum_, maximum_);
  update();
}

void ProgressBar::SetLevelColours(int level, const QColor& colour, const QColor& endColour) {
  if (level < 0 || level >= kLevels) return;
  levels_[size_t(level)] = Level{colour, endColour};
  update();
}

void ProgressBar::SetLevelThresholds(int level1, int level2, int level3) {
  starts_ = {0, std::clamp(level1, 0, 100), std::clamp(level2, 0, 100), std::clamp(level3, 0, 100)};
  std::sort(starts_.begin(), starts_.end());
  update();
}

void ProgressBar::SetBackgroundColour(const QColor& colour) {
  background_ = colour;
  update();
}

int ProgressBar::LevelAt(double percent) const {
  int level = 0;
  for (int i = 1; i < kLevels; ++i)
    if (percent >= starts_[size_t(i)]) level = i;
  return level;
}

void ProgressBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRectF all(rect());
  painter.fillRect(all, background_);
  const QRectF inner = all.adjusted(1, 1, -1, -1);
  const double range = double(maximum_) - minimum_;
  const double filled = range > 0 ? std::round(inner.width() * (value_ - minimum_) / range) : 0;
  for (int i = 0; i < kLevels; ++i) {
    const double from = inner.left() + std::round(inner.width() * starts_[size_t(i)] / 100.0);
    const double to = i + 1 < kLevels ? inner.left() + std::round(inner.width() * starts_[size_t(i) + 1] / 100.0)
                                      : inner.right();
    const double end = std::min(to, inner.left() + filled);
    if (end <= from) continue;
    QLinearGradient gradient(QPointF(from, 0), QPointF(to, 0));
    gradient.setColorAt(0, levels_[size_t(i)].colour);
    gradient.setColorAt(1, levels_[size_t(i)].end);
    painter.fillRect(QRectF(from, inner.top(), end - from, inner.height()), gradient);
  }
  // Gloss on the upper half, then a dark frame that seats the bar.
  QRectF gloss = inner;
  gloss.setHeight(std::max(1.0, std::floor(inner.height() / 2)));
  painter.fillRect(gloss, paint::WithAlpha(Qt::white, 45));
  paint::FillFrame(painter, all, 1, paint::Mix(background_, Qt::black, 0.5));
}

}  // namespace orve
