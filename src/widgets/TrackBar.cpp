#include "widgets/TrackBar.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "widgets/Painting.h"
#include "widgets/TrackMapping.h"

namespace orve {

namespace {

// Painting happens in "track space": x runs along the track from the
// minimum end, y across it. A vertical bar is the same picture turned a
// quarter, so both orientations share one drawing path.
QTransform TrackToWidget(Qt::Orientation orientation, int height) {
  QTransform t;
  if (orientation == Qt::Vertical) {
    t.translate(0, height);
    t.rotate(-90);
  }
  return t;
}

}  // namespace

TrackBar::TrackBar(Qt::Orientation orientation, QWidget* parent) : QAbstractSlider(parent) {
  setOrientation(orientation);
  setFocusPolicy(Qt::StrongFocus);
}

void TrackBar::SetThumbSize(int length, int thickness) {
  thumbLength_ = std::max(1, length);
  thumbThickness_ = std::max(1, thickness);
  update();
}

void TrackBar::SetTrackColour(const QColor& colour) {
  track_ = colour;
  update();
}

void TrackBar::SetThumbColour(const QColor& colour) {
  thumb_ = colour;
  update();
}

void TrackBar::SetThumbOutlineColour(const QColor& colour) {
  thumbOutline_ = colour;
  update();
}

void TrackBar::SetBackgroundColour(const QColor& colour) {
  background_ = colour;
  update();
}

void TrackBar::SetTickStep(int step) {
  tickStep_ = std::max(1, step);
  update();
}

void TrackBar::SetShowTicks(bool show) {
  showTicks_ = show;
  update();
}

void TrackBar::SetSwitchMode(bool on) {
  switch_ = on;
  if (on) {
    setRange(0, 1);
    setSingleStep(1);
    setPageStep(1);
  }
  update();
}

int TrackBar::Extent() const { return orientation() == Qt::Horizontal ? width() : height(); }

int TrackBar::Cross() const { return orientation() == Qt::Horizontal ? height() : width(); }

int TrackBar::PositionAt(const QPointF& point) const {
  const int offset = orientation() == Qt::Horizontal ? int(std::floor(point.x()))
                                                     : height() - 1 - int(std::floor(point.y()));
  return TrackPositionAt(offset, Extent(), minimum(), maximum());
}

QRectF TrackBar::ThumbRectOnTrack() const {
  const double centre = ThumbCentreAt(value(), Extent(), thumbLength_, minimum(), maximum());
  const int thickness = std::min(thumbThickness_, Cross());
  const double left = std::round(centre - thumbLength_ / 2.0);
  const double top = std::floor((Cross() - thickness) / 2.0);
  return QRectF(left, top, thumbLength_, thickness);
}

QRectF TrackBar::ThumbRect() const {
  return TrackToWidget(orientation(), height()).mapRect(ThumbRectOnTrack());
}

QSize TrackBar::sizeHint() const {
  return orientation() == Qt::Horizontal ? QSize(100, 16) : QSize(16, 100);
}

void TrackBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (background_.isValid()) painter.fillRect(rect(), background_);
  painter.setTransform(TrackToWidget(orientation(), height()));
  PaintGroove(painter);
  if (showTicks_) PaintTicks(painter);
  PaintThumb(painter);
}

// A recessed groove; in the slider form the part from the minimum end to
// the thumb is lit in the track colour and the rest is dimmed.
void TrackBar::PaintGroove(QPainter& painter) const {
  const int cross = Cross();
  const int depth = switch_ ? std::max(3, cross - 4) : (cross >= 10 ? 4 : 2);
  const double inset = std::floor(thumbLength_ / 2.0);
  const QRectF groove(inset, std::floor((cross - depth) / 2.0), std::max(0.0, Extent() - 2 * inset), depth);
  const double radius = depth / 2.0;
  QPainterPath path;
  path.addRoundedRect(groove, radius, radius);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setClipPath(path);
  QLinearGradient lit(groove.topLeft(), groove.bottomLeft());
  lit.setColorAt(0, paint::Mix(track_, Qt::black, 0.25));
  lit.setColorAt(1, paint::Mix(track_, Qt::white, 0.2));
  painter.fillRect(groove, lit);
  if (!switch_) {
    const double centre = ThumbCentreAt(value(), Extent(), thumbLength_, minimum(), maximum());
    const QRectF rest(centre, groove.top(), groove.right() - centre, groove.height());
    painter.fillRect(rest, paint::WithAlpha(Qt::black, 130));
  }
  painter.fillRect(QRectF(groove.left(), groove.top(), groove.width(), 1), paint::WithAlpha(Qt::black, 90));
  painter.restore();
}

void TrackBar::PaintTicks(QPainter& painter) const {
  const double range = double(maximum()) - minimum();
  if (range <= 0) return;
  const double travel = Extent() - 2 * std::floor(thumbLength_ / 2.0);
  if (travel * tickStep_ / range < 3) return;
  const QColor colour = paint::WithAlpha(track_, 150);
  for (qint64 v = minimum(); v <= maximum(); v += tickStep_) {
    const double x = std::floor(ThumbCentreAt(int(v), Extent(), thumbLength_, minimum(), maximum()));
    painter.fillRect(QRectF(x, 0, 1, 2), colour);
    painter.fillRect(QRectF(x, Cross() - 2, 1, 2), colour);
  }
}

// A filled rectangle with its outline, lit along its upper edge.
void TrackBar::PaintThumb(QPainter& painter) const {
  const QRectF thumb = ThumbRectOnTrack();
  painter.fillRect(thumb, thumb_);
  paint::FillFrame(painter, thumb, 1, thumbOutline_);
  if (thumb.width() > 4 && thumb.height() > 4) {
    const QRectF inner = thumb.adjusted(1, 1, -1, -1);
    painter.fillRect(QRectF(inner.left(), inner.top(), inner.width(), 1),
                     paint::WithAlpha(Qt::white, 110));
    painter.fillRect(QRectF(inner.left(), inner.bottom() - 1, inner.width(), 1),
                     paint::WithAlpha(Qt::black, 70));
  }
}

void TrackBar::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  setSliderDown(true);
  if (switch_)
    setValue(value() == maximum() ? minimum() : maximum());
  else
    setValue(PositionAt(event->position()));
  event->accept();
}

void TrackBar::mouseMoveEvent(QMouseEvent* event) {
  if (!isSliderDown() || switch_) {
    event->ignore();
    return;
  }
  setValue(PositionAt(event->position()));
}

void TrackBar::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !isSliderDown()) {
    event->ignore();
    return;
  }
  setSliderDown(false);
}

}  // namespace orve
