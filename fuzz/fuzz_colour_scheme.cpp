// Any bytes as a colour scheme file (Themes/<name>.thd). A file of fourteen
// lines or more gives a scheme; a line that starts with six hexadecimal
// digits gives that colour; the colour texts are the lines' first six
// characters; and a scheme written out as RRGGBB lines reads back the same.
#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "appearance/ColourScheme.h"
#include "settings/LineFile.h"

using orve::fuzz::Check;

namespace {

bool StartsWithHexColour(const QString& line) {
  if (line.size() < 6) return false;
  for (int i = 0; i < 6; ++i) {
    const QChar c = line[i];
    if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'))) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static orve::fuzz::MemoryFile file;
  const QStringList lines = orve::ReadLineFile(QString::fromStdString(file.Hold(orve::fuzz::Bytes(data, size))));
  for (const QString& line : lines) {
    const int value = orve::HexToInt(QStringView(line).left(2));
    Check(value >= 0 && value <= 255);
  }

  const auto scheme = orve::ParseColourScheme(lines);
  Check(scheme.has_value() == (lines.size() >= orve::kThemeColorCount));
  if (!scheme) return 0;
  Check(scheme->ItemColorText == lines[13].left(6) && scheme->CurrentColorText == lines[1].left(6));
  QStringList written;
  for (int k = 0; k < orve::kThemeColorCount; ++k) {
    const quint32 stored = scheme->ThemeColors[k];
    Check(stored <= 0xFFFFFF);
    const QColor colour = scheme->Colour(static_cast<orve::ColourRole>(k));
    Check(colour == orve::ToQColor(stored));
    if (StartsWithHexColour(lines[k])) Check(colour.name() == QString(u'#') + lines[k].left(6).toLower());
    written.append(colour.name().mid(1).toUpper());
  }
  const auto again = orve::ParseColourScheme(written);
  Check(again && again->ThemeColors == scheme->ThemeColors);
  return 0;
}
