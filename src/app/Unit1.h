#pragma once
// The main window: a 304 x 150 borderless window.

#include <QWidget>

namespace orve {

class TForm1 : public QWidget {
  Q_OBJECT
 public:
  explicit TForm1(QWidget* parent = nullptr);

  static constexpr int kWidth = 304;
  static constexpr int kHeight = 150;

  // Colours the window from the current colour scheme.
  void ApplyScheme();
};

}  // namespace orve
