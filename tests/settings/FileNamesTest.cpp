// File names kept byte for byte, whatever their encoding.
#include "settings/FileNames.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QFile>

#include "settings/LineFile.h"
#include "support/TempDir.h"

namespace orve {
namespace {

// "Песня" as a Russian Windows system wrote it.
const QByteArray kCp1251 = "\xCF\xE5\xF1\xED\xFF";

TEST(FileNames, EveryByteStringComesBackAsItWent) {
  const QByteArray cases[] = {
      "/music/plain.mp3",
      "/music/\xD0\x9F\xD0\xB5\xD1\x81\xD0\xBD\xD1\x8F.mp3",  // UTF-8 Cyrillic
      "/music/" + kCp1251 + ".mp3",
      "/m/\xF0\x9F\x8E\xB5 and \xE9t\xE9",  // a 4-byte character, then Latin-1 bytes
      "\xC0\xAF \xED\xB3\x80 \x80 \xF4\x90\x80\x80 \xE0\x80",  // overlong, surrogate, lone, too high, cut
      "\xEF\xBB\xBF\xEF\xBB\xBF/a.mp3",  // byte-order marks where a name starts
      "\xFF\xEF\xBB\xBF.mp3",             // and after a held byte
      "",
  };
  for (const QByteArray& bytes : cases) {
    const QString name = DecodeFileName(bytes);
    EXPECT_EQ(EncodeFileName(name), bytes) << bytes.toStdString();
  }
  EXPECT_EQ(DecodeFileName("/music/\xD0\x9F.mp3"), QString::fromUtf8("/music/П.mp3"));
  EXPECT_TRUE(QtCanName(DecodeFileName("/music/\xD0\x9F.mp3")));
  EXPECT_FALSE(QtCanName(DecodeFileName(kCp1251)));
  // Shown to the user, the held bytes read as Windows-1251.
  EXPECT_EQ(DisplayFileName(DecodeFileName("/m/" + kCp1251 + ".mp3")), QString::fromUtf8("/m/Песня.mp3"));
}

TEST(FileNames, AFileWhoseNameIsNotUtf8IsFoundAndKept) {
  test::TempDir dir;
  const QByteArray folder = QFile::encodeName(dir.path());
  const QByteArray bytes = folder + "/" + kCp1251 + ".wav";
  const int fd = ::open(bytes.constData(), O_CREAT | O_WRONLY, 0644);
  ASSERT_GE(fd, 0);
  ::close(fd);
  const QString name = DecodeFileName(bytes);
  EXPECT_TRUE(IsRegularFile(name));
  EXPECT_FALSE(IsFolder(name));
  EXPECT_TRUE(IsFolder(DecodeFileName(folder)));
  // Qt's decoding, as a dialog or a drop hands it over, leads back to the file.
  const QString fromQt = QFile::decodeName(bytes);
  ASSERT_NE(fromQt, name);
  EXPECT_EQ(ResolveFileName(fromQt), name);
  EXPECT_EQ(ResolveFileName(dir.path() + "/none\xEF\xBF\xBD.wav"), dir.path() + "/none\xEF\xBF\xBD.wav");
  // Path line files keep it byte for byte, next to UTF-8 lines.
  const QString list = dir.file("list.m3u");
  WritePathLines(list, {"#EXTM3U", name, QString::fromUtf8("/m/Кино.mp3")});
  EXPECT_EQ(test::ReadAll(list), "#EXTM3U\r\n" + bytes + "\r\n/m/\xD0\x9A\xD0\xB8\xD0\xBD\xD0\xBE.mp3\r\n");
  EXPECT_EQ(ReadPathLines(list), QStringList({"#EXTM3U", name, QString::fromUtf8("/m/Кино.mp3")}));
  // Relative names are taken from the working folder, whatever its bytes.
  const QString before = QDir::currentPath();
  ASSERT_EQ(::chdir(folder.constData()), 0);
  EXPECT_EQ(AbsoluteFileName(DecodeFileName(kCp1251 + ".wav")), name);
  QDir::setCurrent(before);
}

}  // namespace
}  // namespace orve
