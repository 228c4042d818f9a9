#include "settings/LineFile.h"

#include <gtest/gtest.h>

#include <QFile>

#include "settings/FileError.h"
#include "support/TempDir.h"

namespace orve {
namespace {

TEST(LineFile, SplitsAtEveryKindOfLineEnd) {
  struct Case {
    QString text;
    QStringList lines;
  };
  const Case cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\n", {"a"}},
      {"a\r\nb", {"a", "b"}},
      {"a\rb\nc\r\nd", {"a", "b", "c", "d"}},
      {"a\n\rb", {"a", "", "b"}},      // LF then a lone CR: two line ends
      {"\r\n\r\n", {"", ""}},
      {"  spaced  \r\n", {"  spaced  "}},  // kept exactly
      {QString("a\r\nb") + QChar(0) + "c\r\nd", {"a", "b"}},  // NUL ends the text
      {QString(QChar(0)) + "x", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitLines(c.text), c.lines) << c.text.toStdString();
}

TEST(LineFile, WritesCrLfAfterEveryLineAndReadsBack) {
  test::TempDir dir;
  const QString name = dir.file("Default.pld");
  const QStringList lines{"/music/Кино - Группа крови.mp3", "http://127.0.0.1:8000/stream", ""};
  WriteLineFile(name, lines);
  EXPECT_EQ(test::ReadAll(name),
            QString("/music/Кино - Группа крови.mp3\r\nhttp://127.0.0.1:8000/stream\r\n\r\n").toUtf8());
  EXPECT_EQ(ReadLineFile(name), lines);
  WriteLineFile(name, {});
  EXPECT_EQ(QFile(name).size(), 0);
}

TEST(LineFile, ReadsWindows1251AndMissingFiles) {
  test::TempDir dir;
  const QString name = dir.write("old.m3u", "#EXTM3U\r\nC:\\\xCC\xF3\xE7\xFB\xEA\xE0\\a.mp3\n");
  EXPECT_EQ(ReadLineFile(name), QStringList({"#EXTM3U", "C:\\Музыка\\a.mp3"}));
  bool exists = true;
  EXPECT_TRUE(ReadLineFile(dir.file("none.pld"), &exists).isEmpty());
  EXPECT_FALSE(exists);
}

// Each line in its own encoding: one old line among UTF-8 ones (whatever
// ends the lines) does not turn the UTF-8 ones into Windows-1251 nonsense.
TEST(LineFile, EachLineIsDecodedByItself) {
  test::TempDir dir;
  const QString name = dir.write("mixed.thd",
                                 "\xEF\xBB\xBF\xD0\x9A\xD0\xB8\xD0\xBD\xD0\xBE\r\n"
                                 "\xCC\xF3\xE7\xFB\xEA\xE0\r"
                                 "\xD0\x9A\xD0\xB8\xD0\xBD\xD0\xBE\n"
                                 "\xE0");
  EXPECT_EQ(ReadLineFile(name), QStringList({"Кино", "Музыка", "Кино", "а"}));
  // A mark at the start of a later line is a character of that line, as
  // it is when every line is UTF-8.
  const QString marked = dir.write("marked.thd", "a\r\n\xEF\xBB\xBF" "b\r\n\xFF");
  EXPECT_EQ(ReadLineFile(marked), QStringList({"a", QChar(0xFEFF) + QString("b"), "я"}));
}

TEST(LineFile, WriteIntoAMissingFolderFails) {
  test::TempDir dir;
  const QString name = dir.file("no/such/folder/list.m3u");
  try {
    WriteLineFile(name, {"#EXTM3U"});
    FAIL() << "no error";
  } catch (const FileError& e) {
    EXPECT_EQ(e.message(), "Unable to write to " + name);
  }
}

}  // namespace
}  // namespace orve
