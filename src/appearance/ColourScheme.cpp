#include "appearance/ColourScheme.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "settings/FileError.h"
#include "settings/LineFile.h"

namespace orve {
namespace {

constexpr char kBundledFolder[] = ":/themes/";
constexpr char kBuiltInName[] = "blue";

int HexDigit(QChar c) {
  const char16_t u = c.unicode();
  if (u >= u'0' && u <= u'9') return u - u'0';
  if (u >= u'a' && u <= u'f') return u - u'a' + 10;
  if (u >= u'A' && u <= u'F') return u - u'A' + 10;
  return -1;
}

}  // namespace

int HexToInt(QStringView text) {
  if (text.size() != 2) return 0;
  const int high = HexDigit(text[0]);
  const int low = HexDigit(text[1]);
  if (high < 0 || low < 0) return 0;
  return high * 16 + low;
}

std::optional<ColourScheme> ParseColourScheme(const QStringList& lines) {
  if (lines.size() < kThemeColorCount) return std::nullopt;
  ColourScheme scheme;
  for (int k = 0; k < kThemeColorCount; ++k) {
    const QStringView line(lines[k]);
    const auto part = [&](int from) { return HexToInt(line.mid(from, 2)) & 0xFF; };
    const quint32 red = part(0);
    const quint32 green = part(2);
    const quint32 blue = part(4);
    scheme.ThemeColors[k] = red + 256 * green + 65536 * blue;
  }
  scheme.ItemColorText = lines[13].left(6);
  scheme.CurrentColorText = lines[1].left(6);
  return scheme;
}

QString ThemeFileName(const QString& appDir, const QString& name) {
  return appDir + QStringLiteral("Themes/") + name + QStringLiteral(".thd");
}

ColourScheme BuiltInColourScheme() {
  const auto scheme = ParseColourScheme(ReadLineFile(kBundledFolder + QString(kBuiltInName) + ".thd"));
  Q_ASSERT(scheme);  // compiled into the program
  return scheme.value_or(ColourScheme{});
}

ColourScheme LoadTheme(const QString& appDir, const QString& name) {
  const QString fileName = ThemeFileName(appDir, name);
  QString problem;
  try {
    bool exists = false;
    const QStringList lines = ReadLineFile(fileName, &exists);
    if (auto scheme = ParseColourScheme(lines)) return *scheme;
    problem = exists ? QStringLiteral("has fewer than %1 lines").arg(kThemeColorCount)
                     : QStringLiteral("is missing");
  } catch (const FileError& e) {
    problem = e.message();
  }
  qWarning("orve: colour scheme %s %s; using the built-in \"%s\" colours",
           qUtf8Printable(QDir::toNativeSeparators(fileName)), qUtf8Printable(problem), kBuiltInName);
  return BuiltInColourScheme();
}

QColor ToQColor(quint32 colour) {
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

QColor ColourScheme::Colour(ColourRole role) const { return ToQColor(ThemeColors[static_cast<size_t>(role)]); }

bool InstallBundledThemes(const QString& appDir) {
  const QString target = appDir + QStringLiteral("Themes/");
  if (QFileInfo::exists(target)) return true;
  if (!QDir().mkpath(target)) {
    qWarning("orve: cannot create %s", qUtf8Printable(target));
    return false;
  }
  bool ok = true;
  const QDir bundled(kBundledFolder);
  for (const QString& file : bundled.entryList({QStringLiteral("*.thd")}, QDir::Files)) {
    const QString to = target + file;
    if (!QFile::copy(bundled.filePath(file), to)) {
      qWarning("orve: cannot copy the colour scheme %s", qUtf8Printable(to));
      ok = false;
      continue;
    }
    // Resource files are read-only; the user's copies are theirs to edit.
    QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
  }
  return ok;
}

}  // namespace orve
