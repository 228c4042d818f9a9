// Any bytes as a line file: lines never hold a line end or a NUL, and
// writing them with CR LF and reading them back gives the same lines.
// Decoding goes line by line: a line is read the same whatever the lines
// around it hold (UTF-8 when it is UTF-8, Windows-1251 otherwise, one
// character per byte), and the text written back as UTF-8 reads the same.
#include <QString>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzSupport.h"
#include "base/TextCodec.h"
#include "settings/LineFile.h"
#include "settings/TextFile.h"

using orve::fuzz::Check;

namespace {

QString Decode(std::string_view bytes) {
  return orve::DecodeFileText(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

void CheckLineByLine(std::string_view bytes) {
  const QByteArrayView body = orve::WithoutByteOrderMarks(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
  const std::string_view raw(body.data(), static_cast<size_t>(body.size()));
  const QString text = Decode(raw);
  Check(orve::DecodeFileText(text.toUtf8()) == text);

  // Cut after the first and after the last line end: each part decodes as it
  // does in the whole (unless the second starts with a mark the decoder skips).
  for (const size_t end : {raw.find_first_of("\r\n"), raw.find_last_of("\r\n")}) {
    if (end == std::string_view::npos) break;
    const std::string_view head = raw.substr(0, end + 1);
    const std::string_view tail = raw.substr(end + 1);
    if (tail.starts_with("\xEF\xBB\xBF")) continue;
    Check(Decode(head) + Decode(tail) == text);
  }

  // A line that is not UTF-8: one character for each byte, ASCII as it is.
  const std::string_view first = raw.substr(0, raw.find_first_of("\r\n"));
  if (orve::IsValidUtf8(first)) return;
  const QString line = Decode(first);
  Check(line.size() == static_cast<qsizetype>(first.size()));
  for (size_t i = 0; i < first.size(); ++i) {
    const auto byte = static_cast<unsigned char>(first[i]);
    Check(byte < 0x80 ? line[qsizetype(i)] == QChar(byte) : line[qsizetype(i)].unicode() >= 0x80);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes = orve::fuzz::Bytes(data, size);
  const QStringList lines = orve::SplitLines(Decode(bytes));
  QString written;
  for (const QString& line : lines) {
    Check(!line.contains(u'\r') && !line.contains(u'\n') && !line.contains(QChar(0)));
    written += line + QStringLiteral("\r\n");
  }
  Check(orve::SplitLines(written) == lines);
  CheckLineByLine(bytes);
  return 0;
}
