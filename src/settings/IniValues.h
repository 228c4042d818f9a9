#pragma once
// How values are written to and read from INI text.

#include <QString>
#include <optional>

namespace orve {

// Decimal, with an optional sign; a text of three or more characters that
// starts with "0x" or "0X" is hexadecimal (up to 8 digits, taken as a 32-bit
// pattern, so 0xFFFFFFFF is -1). Anything else, or a value outside the
// 32-bit range, gives nothing.
std::optional<int> ParseIniInteger(const QString& text);

// A decimal number in C notation; a decimal comma is accepted as well.
// Empty or unreadable text, infinities and NaN give nothing.
std::optional<double> ParseIniReal(const QString& text);

// Whole numbers without any separator or exponent; other values in the
// shortest C-locale text that reads back to the same number.
QString FormatIniReal(double value);

}  // namespace orve
