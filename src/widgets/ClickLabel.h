#pragma once
// A label that reports clicks: clicked() when the left button is released
// over it after a press on it, doubleClicked() on a double click. The
// release that ends a double click gives no second clicked().

#include <QLabel>

namespace orve {

class ClickLabel : public QLabel {
  Q_OBJECT
 public:
  explicit ClickLabel(QWidget* parent = nullptr);
  explicit ClickLabel(const QString& text, QWidget* parent = nullptr);

 signals:
  void clicked();
  void doubleClicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  bool pressed_ = false;
};

}  // namespace orve
