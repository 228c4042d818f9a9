#pragma once
// A one-line label that never cuts its text: text wider than the label is
// drawn narrower (the same font, scaled across), so "0:03/1:04:59" and
// "1411 КБит/с" stand whole in a 62-pixel label. Text that fits is drawn as
// a QLabel draws it.

#include <QLabel>

namespace orve {

class FitLabel : public QLabel {
  Q_OBJECT
 public:
  explicit FitLabel(QWidget* parent = nullptr);
  explicit FitLabel(const QString& text, QWidget* parent = nullptr);

  // The horizontal scale the text is drawn with now: 1 when it fits.
  double HorizontalScale() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace orve
