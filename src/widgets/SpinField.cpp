#include "widgets/SpinField.h"

#include "base/Rounding.h"

namespace orve {

SpinField::SpinField(double minimum, double maximum, int decimals, QWidget* parent) : QDoubleSpinBox(parent) {
  setDecimals(decimals);
  setRange(minimum, maximum);
  setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
}

int SpinField::WholeValue() const { return static_cast<int>(RoundHalfEven(value())); }

QValidator::State SpinField::validate(QString& text, int& pos) const {
  const QValidator::State state = QDoubleSpinBox::validate(text, pos);
  if (state != QValidator::Invalid) return state;
  // The base refuses any number outside the range; a number is taken here
  // and brought into it.
  const QString number = text.trimmed();
  const int point = number.indexOf(locale().decimalPoint());
  if (point >= 0 && number.size() - point - 1 > decimals()) return QValidator::Invalid;
  if (point >= 0 && decimals() == 0) return QValidator::Invalid;
  bool ok = false;
  const double v = locale().toDouble(number, &ok);
  if (!ok) return QValidator::Invalid;
  if ((v > maximum() && v > 0) || (v < minimum() && v < 0)) {
    text = textFromValue(v > maximum() ? maximum() : minimum());
    pos = static_cast<int>(text.size());
    return QValidator::Acceptable;
  }
  return QValidator::Intermediate;
}

}  // namespace orve
