#pragma once
// A one-line label whose text, when wider than the label, ends in an
// ellipsis; the whole text stays as the label's text and tooltip.

#include <QLabel>

namespace orve {

class ElidedLabel : public QLabel {
  Q_OBJECT
 public:
  explicit ElidedLabel(QWidget* parent = nullptr);

  // The text as drawn now.
  QString ShownText() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace orve
