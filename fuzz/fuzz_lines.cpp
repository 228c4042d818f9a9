// Any bytes as a line file: lines never hold a line end or a NUL, and
// writing them with CR LF and reading them back gives the same lines.
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "settings/LineFile.h"
#include "settings/TextFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const QStringList lines = orve::SplitLines(orve::DecodeFileText(bytes));
  QString written;
  for (const QString& line : lines) {
    if (line.contains(u'\r') || line.contains(u'\n') || line.contains(QChar(0))) std::abort();
    written += line + QStringLiteral("\r\n");
  }
  if (orve::SplitLines(written) != lines) std::abort();
  return 0;
}
