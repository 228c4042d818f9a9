// Names on the command line: "file:" URIs (a desktop's "Exec=orve %U") and
// playlist files, in the function and through the program itself.
#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QUrl>
#include <csignal>
#include <vector>

#include "settings/FileNames.h"
#include "support/TempDir.h"

namespace orve {
namespace {

const QString kFixtures = QStringLiteral(ORVE_FIXTURES_DIR "/audio/");

QStringList Names(const std::vector<QByteArray>& arguments) {
  std::vector<char*> argv{const_cast<char*>("orve")};
  for (const QByteArray& a : arguments) argv.push_back(const_cast<char*>(a.constData()));
  return CommandLineNames(static_cast<int>(argv.size()), argv.data());
}

TEST(CommandLineTest, FileUrisBecomeTheFilesTheyName) {
  EXPECT_EQ(CommandLineName("file:///home/u/My%20Music/a%23b.mp3"), "/home/u/My Music/a#b.mp3");
  EXPECT_EQ(CommandLineName("FILE://localhost/m/song.ogg"), "/m/song.ogg");
  EXPECT_EQ(CommandLineName("file:/m/song.ogg"), "/m/song.ogg");
  EXPECT_EQ(CommandLineName("file:///m/%D0%9A%D0%B8%D0%BD%D0%BE.mp3"), QString::fromUtf8("/m/Кино.mp3"));
  EXPECT_EQ(CommandLineName("file:///m/song.mp3?x=1#part"), "/m/song.mp3");
}

// Bytes that are not UTF-8 ("Песня" in Windows-1251, percent-encoded as a
// desktop sends them) keep their bytes, as a name from a shell does.
TEST(CommandLineTest, AUriOfANameThatIsNotUtf8KeepsItsBytes) {
  const QByteArray bytes = "/m/\xCF\xE5\xF1\xED\xFF.wav";
  EXPECT_EQ(CommandLineName("file:///m/%CF%E5%F1%ED%FF.wav"), DecodeFileName(bytes));
  EXPECT_EQ(EncodeFileName(CommandLineName("file:///m/%CF%E5%F1%ED%FF.wav")), bytes);
}

TEST(CommandLineTest, OtherArgumentsAreTheirOwnBytes) {
  EXPECT_EQ(CommandLineName("http://127.0.0.1:8000/radio"), "http://127.0.0.1:8000/radio");
  EXPECT_EQ(CommandLineName("song%20one.mp3"), "song%20one.mp3");
  EXPECT_EQ(CommandLineName("file://otherhost/m/a.mp3"), "file://otherhost/m/a.mp3");  // not this machine's
  EXPECT_EQ(CommandLineName("file:"), "file:");
  EXPECT_EQ(CommandLineName("file:relative.mp3"), "file:relative.mp3");
}

TEST(CommandLineTest, PlaylistFilesStandForTheirEntries) {
  test::TempDir dir;
  const QString mp3 = kFixtures + "cbr.mp3";
  const QString ogg = kFixtures + "vorbis.ogg";
  const QString m3u = dir.write("list.M3U", ("#EXTM3U\r\n#EXTINF:2,x\r\n" + mp3 + "\r\n" + dir.file("gone.mp3") + "\r\n").toUtf8());
  const QString pls = dir.write("radio.pls", ("[playlist]\nNumberOfEntries=3\nFile1=http://127.0.0.1:9/a\nTitle1=A\n"
                                              "file2 = " + ogg + "\nFile3=" + dir.file("gone.ogg") + "\nVersion=2\n")
                                                 .toUtf8());
  QDir(dir.path()).mkdir("folder.m3u");
  EXPECT_EQ(Names({QFile::encodeName(m3u), "http://127.0.0.1:9/b", QFile::encodeName(pls),
                   QFile::encodeName(dir.file("folder.m3u"))}),
            QStringList({mp3, "http://127.0.0.1:9/b", "http://127.0.0.1:9/a", ogg, dir.file("folder.m3u")}));
  EXPECT_EQ(Names({"file://" + QUrl::toPercentEncoding(m3u, "/")}), QStringList({mp3}));
  // A playlist file that is missing is a name like any other (the playlist drops it).
  EXPECT_EQ(Names({QFile::encodeName(dir.file("gone.m3u"))}), QStringList({dir.file("gone.m3u")}));
}

// The program started as a desktop starts it: a file's URI and an M3U file.
TEST(CommandLineTest, TheProgramPlaysWhatADesktopHandsOver) {
  test::TempDir home;
  test::TempDir music;
  const QString song = music.file("Моя песня.wav");
  ASSERT_TRUE(QFile::copy(kFixtures + "sine_s16.wav", song));
  const QString list = music.write("list.m3u", (kFixtures + "cbr.mp3\r\n").toUtf8());
  QProcess process;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("ORVE_HOME", home.path());
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("ORVE_AUDIO_OUTPUT", "null");
  process.setProcessEnvironment(env);
  process.start(ORVE_BINARY, {QString::fromLatin1("file://" + QUrl::toPercentEncoding(song, "/")), list});
  ASSERT_TRUE(process.waitForStarted(30000));
  // Default.pld is written a second after the playlist changes.
  const QByteArray expected = (song + "\r\n" + kFixtures + "cbr.mp3\r\n").toUtf8();
  for (int i = 0; i < 600 && test::ReadAll(home.file("Default.pld")) != expected; ++i) process.waitForFinished(50);
  ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
  ASSERT_TRUE(process.waitForFinished(30000));
  EXPECT_EQ(process.exitCode(), 0);
  EXPECT_EQ(test::ReadAll(home.file("Default.pld")), expected);
}

}  // namespace
}  // namespace orve
