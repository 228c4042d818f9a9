#pragma once
// A skinned slider, horizontal or vertical, with a thumb drawn as a filled
// rectangle. The thumb's length runs along the track and its thickness
// across it; a thickness larger than the widget is cut to the widget, so a
// "10 x 56" thumb on a 16-pixel bar fills the bar's height.
//
// Pointer: a left press reports sliderPressed(), moves the position to the
// place under the pointer (TrackMapping.h: horizontal bars count from the
// left, vertical bars from the bottom, so the top is the maximum), follows
// the pointer while held, and reports sliderReleased() on release; a change
// of position reports valueChanged() in between. In the switch form (range
// 0..1) a press flips the position instead. Wheel and keys act as on any
// slider (QAbstractSlider); windows that own the keys filter them out.

#include <QAbstractSlider>
#include <QColor>

class QPainter;

namespace orve {

class TrackBar : public QAbstractSlider {
  Q_OBJECT
 public:
  explicit TrackBar(Qt::Orientation orientation = Qt::Horizontal, QWidget* parent = nullptr);

  void SetThumbSize(int length, int thickness);
  int ThumbLength() const { return thumbLength_; }
  int ThumbThickness() const { return thumbThickness_; }

  void SetTrackColour(const QColor& colour);
  QColor TrackColour() const { return track_; }
  void SetThumbColour(const QColor& colour);
  QColor ThumbColour() const { return thumb_; }
  void SetThumbOutlineColour(const QColor& colour);
  QColor ThumbOutlineColour() const { return thumbOutline_; }
  // An invalid colour (the default) leaves the parent's background showing.
  void SetBackgroundColour(const QColor& colour);

  // Tick marks every `step` positions along the track, when shown and at
  // least three design pixels apart.
  void SetTickStep(int step);
  int TickStep() const { return tickStep_; }
  void SetShowTicks(bool show);

  // The two-position switch: range 0..1, drawn as a slot with the thumb at
  // one end; a press flips it.
  void SetSwitchMode(bool on);
  bool IsSwitch() const { return switch_; }

  // The position for a point in widget coordinates.
  int PositionAt(const QPointF& point) const;
  // The thumb as painted, in widget coordinates.
  QRectF ThumbRect() const;

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  int Extent() const;  // length along the track
  int Cross() const;   // size across it
  QRectF ThumbRectOnTrack() const;
  void PaintGroove(QPainter& painter) const;
  void PaintTicks(QPainter& painter) const;
  void PaintThumb(QPainter& painter) const;

  int thumbLength_ = 10;
  int thumbThickness_ = 16;
  int tickStep_ = 1;
  bool showTicks_ = false;
  bool switch_ = false;
  QColor track_{0x9F, 0xB8, 0xD6};
  QColor thumb_{0x62, 0xAE, 0xEA};
  QColor thumbOutline_{0x62, 0xAE, 0xEA};
  QColor background_;
};

}  // namespace orve
