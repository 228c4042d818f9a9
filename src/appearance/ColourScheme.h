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

// The fourteen slots of a scheme, named by what they colour.
enum class ColourRole : int {
  Panel = 0,          // panels, lists and edit fields; a label whose function is off
  Highlight = 1,      // a label whose function is on; list text; the active title strip's end;
                      // a pressed slider's track; the lit transport symbol
  ButtonText = 2,     // button captions and symbols; the inactive title strip's end; gradient ends
  LabelText = 3,      // titles and plain labels; sliders' tracks at rest
  TitleStart = 4,     // frame and gradient start of the title strips
  Window = 5,         // the windows' own colour
  ButtonFace = 6,     // glass button faces and inner borders; the playlist selection's end
  ButtonGlow = 7,     // glass button glow
  SpectrumTop = 8,    // the upper part of the spectrum bars
  Thumb = 9,          // slider thumbs
  Visualisation = 10, // spectrum bars, wave lines, the idle animation
  Spare11 = 11,       // read, not used
  Spare12 = 12,       // read, not used
  ListText = 13,      // the playlist's selection text away from the loaded entry
};

struct ColourScheme {
  std::array<quint32, kThemeColorCount> ThemeColors{};
  QString ItemColorText;     // first six characters of line 13, letter case kept
  QString CurrentColorText;  // the same of line 1

  // The colour of a slot, the one way the windows read the table.
  QColor Colour(ColourRole role) const;
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
