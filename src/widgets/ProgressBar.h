#pragma once
// A thin progress bar. The filled part is coloured by level: the bar is cut
// into four spans at three thresholds (percent of the full bar), and each
// span the fill reaches is drawn as a horizontal gradient from its level's
// colour to its level's end colour.

#include <QColor>
#include <QWidget>
#include <array>

namespace orve {

class ProgressBar : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kLevels = 4;

  explicit ProgressBar(QWidget* parent = nullptr);

  void SetRange(int minimum, int maximum);
  int Minimum() const { return minimum_; }
  int Maximum() const { return maximum_; }
  void SetValue(int value);  // clamped to the range
  int Value() const { return value_; }

  // level 0..3; other levels are ignored.
  void SetLevelColours(int level, const QColor& colour, const QColor& endColour);
  // Where levels 1, 2 and 3 begin, in percent of the bar, ascending.
  void SetLevelThresholds(int level1, int level2, int level3);
  void SetBackgroundColour(const QColor& colour);
  QColor BackgroundColour() const { return background_; }

  // The level that the point at `percent` of the bar belongs to.
  int LevelAt(double percent) const;

  QSize sizeHint() const override { return {100, 6}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  struct Level {
    QColor colour;
    QColor end;
  };

  int minimum_ = 0;
  int maximum_ = 100;
  int value_ = 0;
  std::array<Level, kLevels> levels_;
  std::array<int, kLevels> starts_{0, 50, 75, 90};  // percent
  QColor background_{0x12, 0x28, 0x4A};
};

}  // namespace orve
