#pragma once
// The now-playing window: a small borderless window in the bottom-right
// corner of the work area, shown from the tray icon while the program is
// minimised there. It tells the title, the artist (or a station's title),
// how far the entry has got, and the time display's text.

#include <QWidget>

class QLabel;

namespace orve {

struct ColourScheme;
class ElidedLabel;
class ProgressBar;

class NowPlayingWindow : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kWidth = 304;
  static constexpr int kHeight = 80;
  static constexpr char kTimeAtRest[] = "0:00/0:00";

  explicit NowPlayingWindow(QWidget* parent = nullptr);

  void ApplyScheme(const ColourScheme& scheme);
  // The top line (the title) and the middle line (the artist, or a station's title).
  void ShowLines(const QString& title, const QString& middle);
  void ShowMiddleLine(const QString& text);
  // The time display's text and the bar at `position` of `length` seconds.
  void ShowTime(const QString& text, int position, int length);
  // The current entry is gone: empty lines, the time at rest.
  void Clear();
  // Shown if hidden, hidden if shown (a left click on the tray icon).
  void Toggle();

  struct Controls {
    ElidedLabel* titleLabel;
    ElidedLabel* artistLabel;
    ProgressBar* positionBar;
    QLabel* timeLabel;
  };
  Controls ControlsForTest() const { return {titleLabel_, artistLabel_, positionBar_, timeLabel_}; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  ElidedLabel* titleLabel_;
  ElidedLabel* artistLabel_;
  ProgressBar* positionBar_;
  QLabel* timeLabel_;
};

}  // namespace orve
