#pragma once
// A number field with up and down arrows over a fixed range. A number typed
// beyond the bound away from zero becomes that bound at once (more digits
// could only take it further away); one short of the other bound may still
// be typed on and is set to the nearest bound when the field is left.

#include <QDoubleSpinBox>

namespace orve {

class SpinField : public QDoubleSpinBox {
  Q_OBJECT
 public:
  // `decimals` 0 takes whole numbers only.
  SpinField(double minimum, double maximum, int decimals, QWidget* parent = nullptr);

  // The value rounded to a whole number, halves to the even neighbour: what
  // a field that accepts fractions hands on.
  int WholeValue() const;

 protected:
  QValidator::State validate(QString& text, int& pos) const override;
};

}  // namespace orve
