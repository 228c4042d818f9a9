// The row markup: the exact row shape with titles taken literally, the
// general tag reader for other texts, and the cutting of overlong lines.
#include <gtest/gtest.h>

#include <QApplication>

#include "widgets/MarkupRowPainter.h"
#include "widgets/MarkupText.h"

namespace orve {
namespace {

struct Run {
  const char* text;
  const char* colour;  // "" for none
  bool bold;
};

struct ParseCase {
  const char* name;
  const char* markup;
  std::vector<std::vector<Run>> lines;
};

std::string Describe(const std::vector<std::vector<Run>>& lines) {
  std::string s;
  for (const auto& line : lines) {
    s += "[";
    for (const Run& r : line) s += std::string("(") + r.text + "|" + r.colour + "|" + (r.bold ? "B" : "-") + ")";
    s += "]";
  }
  return s;
}

std::string Describe(const MarkupRow& row) {
  std::string s;
  for (const MarkupLine& line : row.lines) {
    s += "[";
    for (const MarkupRun& r : line)
      s += "(" + r.text.toStdString() + "|" + (r.colour.isValid() ? r.colour.name().toStdString() : "") + "|" +
           (r.bold ? "B" : "-") + ")";
    s += "]";
  }
  return s;
}

class ParseMarkupTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseMarkupTest, GivesTheLinesAndRuns) {
  const ParseCase& c = GetParam();
  EXPECT_EQ(Describe(ParseMarkup(QString::fromUtf8(c.markup))), Describe(c.lines)) << c.markup;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ParseMarkupTest,
    ::testing::Values(
        ParseCase{"RowShape", R"(<FONT color="#5CC8FF"><B>Artist - Title<BR>3:05</B></FONT>)",
                  {{{"Artist - Title", "#5cc8ff", true}}, {{"3:05", "#5cc8ff", true}}}},
        ParseCase{"LowerCaseTagsAndDigits", R"(<font color="#ffcc00"><b>a<br>0:00</b></font>)",
                  {{{"a", "#ffcc00", true}}, {{"0:00", "#ffcc00", true}}}},
        ParseCase{"TitleWithLessThan", R"(<FONT color="#102030"><B>a < b <c<BR>1:00</B></FONT>)",
                  {{{"a < b <c", "#102030", true}}, {{"1:00", "#102030", true}}}},
        ParseCase{"TitleWithBoldTag", R"(<FONT color="#102030"><B>x<b>y</b>z</B></FONT><BR>2:00</B></FONT>)",
                  {{{"x<b>y</b>z</B></FONT>", "#102030", true}}, {{"2:00", "#102030", true}}}},
        ParseCase{"TitleWithBreak", R"(<FONT color="#102030"><B>one<BR>two<BR>1:02:03</B></FONT>)",
                  {{{"one<BR>two", "#102030", true}}, {{"1:02:03", "#102030", true}}}},
        ParseCase{"EmptyTitle", R"(<FONT color="#000000"><B><BR>0:00</B></FONT>)",
                  {{{"", "#000000", true}}, {{"0:00", "#000000", true}}}},
        ParseCase{"EmptyText", "", {{}}},
        ParseCase{"PlainText", "just text", {{{"just text", "", false}}}},
        ParseCase{"FiveDigitColourIsText", R"(<FONT color="#12345"><B>t<BR>1</B></FONT>)",
                  {{{R"(<FONT color="#12345">)", "", false}, {"t", "", true}}, {{"1", "", true}}}},
        ParseCase{"NonHexColourIsText", R"(<FONT color="#12345G">x</FONT>)",
                  {{{R"(<FONT color="#12345G">x)", "", false}}}},
        ParseCase{"UnclosedTagIsText", "a <B b <BR", {{{"a <B b <BR", "", false}}}},
        ParseCase{"OtherSpellingIsText", R"(<FONT  color="#102030">x<br/>y)",
                  {{{R"(<FONT  color="#102030">x<br/>y)", "", false}}}},
        ParseCase{"GeneralTags", R"(plain<BR><FONT color="#102030">col</FONT> tail<B>!</B>)",
                  {{{"plain", "", false}}, {{"col", "#102030", false}, {" tail", "", false}, {"!", "", true}}}},
        ParseCase{"StrayClosingTagsAreIgnored", "</B></FONT>x", {{{"x", "", false}}}},
        ParseCase{"MissingCloseKeepsStyle", R"(<FONT color="#102030"><B>t<BR>1:00)",
                  {{{"t", "#102030", true}}, {{"1:00", "#102030", true}}}}),
    [](const ::testing::TestParamInfo<ParseCase>& p) { return std::string(p.param.name); });

TEST(ParseMarkupTest, KeepsNonLatinTitles) {
  const MarkupRow row = ParseMarkup(QStringLiteral("<FONT color=\"#5CC8FF\"><B>Ария - Беспечный ангел<BR>4:12</B></FONT>"));
  ASSERT_EQ(row.lines.size(), 2u);
  EXPECT_EQ(PlainText(row.lines[0]), QStringLiteral("Ария - Беспечный ангел"));
}

QFont TestFont() {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(11);
  return font;
}

QString Joined(const std::vector<MarkupRowPainter::Piece>& pieces) {
  QString s;
  for (const auto& p : pieces) s += p.text;
  return s;
}

qreal Right(const std::vector<MarkupRowPainter::Piece>& pieces) {
  return pieces.empty() ? 0 : pieces.back().x + pieces.back().width;
}

TEST(LayoutLineTest, AShortLineIsDrawnWhole) {
  const MarkupRowPainter painter(TestFont());
  const auto pieces = painter.LayoutLine({{QStringLiteral("Short"), QColor(), true}}, 200, false);
  EXPECT_EQ(Joined(pieces), QStringLiteral("Short"));
}

TEST(LayoutLineTest, AnOverlongLineIsCutWithAnEllipsisInsideTheWidth) {
  const MarkupRowPainter painter(TestFont());
  const QString title = QStringLiteral("A very long artist name - with an even longer title that cannot fit");
  const auto pieces = painter.LayoutLine({{title, QColor(), true}}, 120, false);
  const QString shown = Joined(pieces);
  EXPECT_TRUE(shown.endsWith(QChar(0x2026))) << shown.toStdString();
  EXPECT_TRUE(title.startsWith(shown.chopped(1))) << shown.toStdString();
  EXPECT_LE(Right(pieces), 120.0);
  EXPECT_GT(shown.size(), 5);
}

TEST(LayoutLineTest, RunsAfterTheCutAreLeftOut) {
  const MarkupRowPainter painter(TestFont());
  const MarkupLine line{{QStringLiteral("first part that is long"), QColor(), false},
                        {QStringLiteral("second"), QColor(Qt::red), true}};
  const auto pieces = painter.LayoutLine(line, 60, false);
  ASSERT_EQ(pieces.size(), 1u);
  EXPECT_TRUE(pieces[0].text.endsWith(QChar(0x2026)));
}

TEST(LayoutLineTest, RunsSitSideBySide) {
  const MarkupRowPainter painter(TestFont());
  const MarkupLine line{{QStringLiteral("ab"), QColor(), false}, {QStringLiteral("cd"), QColor(Qt::red), true}};
  const auto pieces = painter.LayoutLine(line, 300, false);
  ASSERT_EQ(pieces.size(), 2u);
  EXPECT_DOUBLE_EQ(pieces[1].x, pieces[0].width);
  EXPECT_TRUE(pieces[1].bold);
}

TEST(LayoutLineTest, AHiddenFollowingLineEndsTheLastShownLineInAnEllipsis) {
  const MarkupRowPainter painter(TestFont());
  const auto pieces = painter.LayoutLine({{QStringLiteral("5:00"), QColor(), true}}, 200, true);
  EXPECT_EQ(Joined(pieces), QStringLiteral("5:00") + QChar(0x2026));
}

}  // namespace
}  // namespace orve
