#include "appearance/ColourScheme.h"

#include <gtest/gtest.h>

#include <QDir>

#include "support/TempDir.h"

namespace orve {
namespace {

QByteArray SchemeText(const QStringList& lines) {
  QByteArray text;
  for (const QString& l : lines) text += l.toUtf8() + "\r\n";
  return text;
}

QStringList Lines(int count, const QString& fill = "102030") { return QStringList(count, fill); }

TEST(ColourScheme, HexToInt) {
  struct Case {
    const char* text;
    int value;
  };
  const Case cases[] = {{"00", 0},  {"FF", 255}, {"ff", 255}, {"7f", 127}, {"A0", 160},
                        {"G0", 0},  {"0", 0},    {"", 0},     {"123", 0},  {" F", 0},
                        {"-1", 0},  {"0x", 0}};
  for (const auto& c : cases) EXPECT_EQ(HexToInt(QString::fromUtf8(c.text)), c.value) << c.text;
}

TEST(ColourScheme, ColourNumbersAndTexts) {
  QStringList lines = Lines(14);
  lines[0] = "FF0000";
  lines[1] = "00ff00 current";  // text after six digits is ignored
  lines[2] = "0000FF";
  lines[3] = "12";              // short line: the missing pairs give 0
  lines[4] = "zz8000";          // a pair that is not hexadecimal gives 0
  lines[13] = "ffcc00";
  lines.append("ignored fifteenth line");
  const auto scheme = ParseColourScheme(lines);
  ASSERT_TRUE(scheme);
  EXPECT_EQ(scheme->ThemeColors[0], 255u);
  EXPECT_EQ(scheme->ThemeColors[1], 65280u);
  EXPECT_EQ(scheme->ThemeColors[2], 16711680u);
  EXPECT_EQ(scheme->ThemeColors[3], 0x12u);
  EXPECT_EQ(scheme->ThemeColors[4], 0x80u * 256);
  EXPECT_EQ(scheme->ThemeColors[5], 0x10u + 0x20u * 256 + 0x30u * 65536);
  EXPECT_EQ(scheme->ItemColorText, "ffcc00");   // letter case kept
  EXPECT_EQ(scheme->CurrentColorText, "00ff00");
  EXPECT_EQ(ToQColor(scheme->ThemeColors[1]), QColor(0, 255, 0));
  EXPECT_EQ(ToQColor(scheme->ThemeColors[5]), QColor(0x10, 0x20, 0x30));
}

TEST(ColourScheme, LoadThemeReadsTheFile) {
  test::TempDir dir;
  QStringList lines = Lines(14);
  lines[13] = "AbCdEf";
  dir.write("Themes/mine.thd", SchemeText(lines));
  const auto scheme = LoadTheme(dir.path() + "/", "mine");
  EXPECT_EQ(scheme.ItemColorText, "AbCdEf");
  EXPECT_EQ(scheme.ThemeColors[0], 0x302010u);
}

TEST(ColourScheme, MissingOrShortFilesFallBackToBlue) {
  test::TempDir dir;
  const QString appDir = dir.path() + "/";
  dir.write("Themes/short.thd", SchemeText(Lines(13)));
  const ColourScheme blue = BuiltInColourScheme();
  EXPECT_NE(blue.ThemeColors[0], blue.ThemeColors[1]);
  EXPECT_EQ(blue.ItemColorText.size(), 6);
  for (const char* name : {"short", "gone"}) {
    const auto scheme = LoadTheme(appDir, name);
    EXPECT_EQ(scheme.ThemeColors, blue.ThemeColors) << name;
    EXPECT_EQ(scheme.ItemColorText, blue.ItemColorText) << name;
  }
}

TEST(ColourScheme, BundledSchemesAreCompleteAndInstalledOnce) {
  test::TempDir dir;
  const QString appDir = dir.path() + "/";
  ASSERT_TRUE(InstallBundledThemes(appDir));
  const QStringList installed = QDir(appDir + "Themes").entryList({"*.thd"}, QDir::Files);
  EXPECT_GE(installed.size(), 4);
  EXPECT_TRUE(installed.contains("blue.thd"));
  for (const QString& file : installed) {
    const QString name = file.chopped(4);
    const QByteArray text = test::ReadAll(appDir + "Themes/" + file);
    EXPECT_EQ(text.count("\r\n"), 14) << file.toStdString();
    const auto scheme = LoadTheme(appDir, name);
    // Ordinary and current rows must be readable on the list background.
    EXPECT_NE(scheme.ThemeColors[13], scheme.ThemeColors[0]) << file.toStdString();
    EXPECT_NE(scheme.ThemeColors[1], scheme.ThemeColors[0]) << file.toStdString();
  }
  // A folder that exists is the user's: nothing is copied into it again.
  QFile::remove(appDir + "Themes/graphite.thd");
  ASSERT_TRUE(InstallBundledThemes(appDir));
  EXPECT_FALSE(QFile::exists(appDir + "Themes/graphite.thd"));
}

}  // namespace
}  // namespace orve
