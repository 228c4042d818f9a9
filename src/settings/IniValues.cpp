#include "settings/IniValues.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace orve {

std::optional<int> ParseIniInteger(const QString& text) {
  const QByteArray bytes = text.trimmed().toLatin1();
  if (bytes.isEmpty()) return std::nullopt;
  const char* first = bytes.constData();
  const char* last = first + bytes.size();
  if (bytes.size() >= 3 && bytes[0] == '0' && (bytes[1] == 'x' || bytes[1] == 'X')) {
    uint32_t value = 0;
    const auto [end, ec] = std::from_chars(first + 2, last, value, 16);
    if (ec != std::errc() || end != last) return std::nullopt;
    return static_cast<int>(value);
  }
  if (*first == '+' && bytes.size() > 1 && bytes[1] != '-') ++first;
  int value = 0;
  const auto [end, ec] = std::from_chars(first, last, value, 10);
  if (ec != std::errc() || end != last) return std::nullopt;
  return value;
}

std::optional<double> ParseIniReal(const QString& text) {
  QString t = text.trimmed();
  if (!t.contains(u'.')) t.replace(u',', u'.');
  const QByteArray bytes = t.toLatin1();
  if (bytes.isEmpty()) return std::nullopt;
  const char* first = bytes.constData();
  const char* last = first + bytes.size();
  if (*first == '+' && bytes.size() > 1 && bytes[1] != '-') ++first;
  double value = 0;
  const auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
  if (ec != std::errc() || end != last || !std::isfinite(value)) return std::nullopt;
  return value;
}

QString FormatIniReal(double value) {
  if (!std::isfinite(value)) return QStringLiteral("0");
  constexpr double kExactInteger = 9007199254740992.0;  // 2^53
  if (value == std::trunc(value) && std::fabs(value) < kExactInteger) {
    return QString::number(static_cast<int64_t>(value));
  }
  char buffer[64];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return QString::fromLatin1(buffer, ec == std::errc() ? end - buffer : 0);
}

}  // namespace orve
