#pragma once
// Colour schemes: "Themes/<name>.thd" in the program folder, one colour per
// line as RRGGBB (the first 14 lines are used; text after the sixth
// character is ignored). Colours are kept as red + 256*green + 65536*blue.

#include <QColor>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <array>
#include <optional>

namespace orve {

inline constexpr int kThemeColorCount = 14;

struct ColourScheme {
  std::array<quint32, kThemeColorCount> ThemeColors{};
  QString ItemColorText;     // first six characters of line 13, letter case kept
  QString CurrentColorText;  // the same of line 1
};

// The value of a two-digit hexadecimal text (either letter case); a text
// that is not exactly two hexadecimal digits gives 0.
int HexToInt(QStringView text);

// A scheme from the lines of a scheme file; nothing when fewer than 14 lines.
std::optional<ColourScheme> ParseColourScheme(const QStringList& lines);

// The full name of the scheme file `name` in the program folder.
QString ThemeFileName(const QString& appDir, const QString& name);

// Reads the scheme `name`. A missing, unreadable or short file gives the
// built-in colours of "blue" and one line on stderr.
ColourScheme LoadTheme(const QString& appDir, const QString& name);

// The colours of "blue", built into the program.
ColourScheme BuiltInColourScheme();

// The one conversion from a stored colour number to a QColor.
QColor ToQColor(quint32 colour);

// Copies the bundled schemes into appDir + "Themes/" when that folder does
// not exist yet. Returns false (and says why on stderr) when it cannot.
bool InstallBundledThemes(const QString& appDir);

}  // namespace orve
