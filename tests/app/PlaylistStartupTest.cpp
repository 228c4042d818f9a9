// How the playlist is filled at start-up (command line or Default.pld, then
// the cassette resume) and how Default.pld is kept.
#include <sys/inotify.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <atomic>
#include <chrono>
#include <fstream>
#include <string_view>
#include <thread>

#include "PlaylistFixture.h"
#include "settings/FileNames.h"
#include "settings/IniFile.h"

namespace orve::test {
namespace {

class PlaylistStartupTest : public PlaylistFixture {
 protected:
  QString Pld() const { return home.file("Default.pld"); }
};

TEST_F(PlaylistStartupTest, DefaultPlaylistKeepsFilesAndStreamsInOrder) {
  const QString file = kFixtures + "cbr.mp3";
  home.write("Default.pld", (file + "\r\n" + home.file("gone.mp3") + "\nhttp://127.0.0.1:9/radio\r\n\r\n").toUtf8());
  Start();
  EXPECT_EQ(engine->Paths, QStringList({file, "http://127.0.0.1:9/radio"}));
  EXPECT_EQ(engine->Titles, QStringList({"Исполнитель - Песня", "http://127.0.0.1:9/radio"}));
  EXPECT_EQ(engine->CurrentIndex, 0);  // the first file became current, nothing started
  EXPECT_EQ(engine->PlayState, kNothingLoaded);
  End();
  EXPECT_EQ(ReadAll(Pld()), (file + "\r\nhttp://127.0.0.1:9/radio\r\n").toUtf8());
}

TEST_F(PlaylistStartupTest, CommandLineAddsAcceptedNamesAndStartsTheFirst) {
  home.write("Default.pld", (kFixtures + "cbr.mp3\r\n").toUtf8());
  const QString text = home.write("readme.txt", "x");
  Start({text, kFixtures + "vorbis.ogg", kFixtures + "tagged.wma"});
  EXPECT_EQ(engine->Paths, QStringList({kFixtures + "vorbis.ogg", kFixtures + "tagged.wma"}));
  EXPECT_EQ(engine->CurrentIndex, 0);
  EXPECT_EQ(engine->PlayState, kPlaying);
  EXPECT_EQ(pls->SelectedIndex(), 0);
  End();
  // Default.pld now holds the parameters only.
  EXPECT_EQ(ReadAll(Pld()), (kFixtures + "vorbis.ogg\r\n" + kFixtures + "tagged.wma\r\n").toUtf8());
}

// The first argument plays as soon as it is measured: a slow file after
// it (a network mount, a long scan) does not hold the music back.
TEST_F(PlaylistStartupTest, TheFirstArgumentPlaysBeforeTheRestIsMeasured) {
  Start();  // nothing saved: no worker has started, so the measure can be replaced
  std::atomic<bool> released{false};
  pls->Adder().SetMeasure([&released](const QString& path) {
    while (path.endsWith("late.wav") && !released) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return TCore::MeasureEntry(path);
  });
  const QString song = home.write("song.wav", SineWav(2, 440));
  const QString late = home.write("late.wav", SineWav(1, 440));
  pls->StartupLoader({song, late}, {});
  EXPECT_TRUE(WaitUntil([&] { return engine->PlayState == kPlaying; }, 20000));
  EXPECT_EQ(engine->Paths, QStringList({song}));
  EXPECT_EQ(engine->CurrentIndex, 0);
  released = true;
  WaitAdded();
  EXPECT_EQ(engine->Paths, QStringList({song, late}));
  EXPECT_EQ(engine->CurrentIndex, 0);
}

// A folder, a text and a CD track are refused: the run goes on as one
// without arguments, and the saved playlist is kept.
TEST_F(PlaylistStartupTest, CommandLineWithNothingAcceptedKeepsTheSavedPlaylist) {
  const QByteArray saved = (kFixtures + "cbr.mp3\r\n").toUtf8();
  home.write("Default.pld", saved);
  QDir(home.path()).mkdir("Album");
  Start({home.write("a.txt", "x"), home.write("b.cda", "x"), home.file("Album")});
  EXPECT_EQ(engine->Paths, QStringList({kFixtures + "cbr.mp3"}));
  EXPECT_EQ(engine->PlayState, kNothingLoaded);
  End();
  EXPECT_EQ(ReadAll(Pld()), saved);
}

// A file named in Windows-1251 on this disk plays, shows its name readable,
// and keeps its bytes in Default.pld, from the command line and from the
// open dialog (which hands Qt's lossy decoding of the name over).
TEST_F(PlaylistStartupTest, AFileNameThatIsNotUtf8KeepsItsBytes) {
  const QByteArray bytes = QFile::encodeName(home.path()) + "/\xCF\xE5\xF1\xED\xFF.wav";  // "Песня.wav"
  {
    std::ofstream out(bytes.constData(), std::ios::binary);
    const QByteArray wav = SineWav(1, 440);
    out.write(wav.constData(), wav.size());
  }
  const QString name = DecodeFileName(bytes);
  Start({name});
  EXPECT_EQ(engine->Paths, QStringList({name}));
  EXPECT_EQ(engine->Titles, QStringList({QString::fromUtf8("Песня")}));
  EXPECT_EQ(engine->PlayState, kPlaying);
  EXPECT_NE(engine->Handle(), audio::kNoHandle);
  EXPECT_GT(engine->Library()->Length(engine->Handle()), 0);
  End();
  EXPECT_EQ(ReadAll(Pld()), bytes + "\r\n");
  Start();
  EXPECT_EQ(engine->Paths, QStringList({name}));
  pls->ClearPlaylist();
  emit mainUi().openFilesDialog->filesSelected({QFile::decodeName(bytes)});
  WaitAdded();
  EXPECT_EQ(engine->Paths, QStringList({name}));
}

TEST_F(PlaylistStartupTest, RelativeNamesAreKeptAsFullPaths) {
  QFile::copy(kFixtures + "sine_s16.wav", home.file("here.wav"));
  const QString before = QDir::currentPath();
  QDir::setCurrent(home.path());
  Start({"here.wav"});
  QDir::setCurrent(before);
  EXPECT_EQ(engine->Paths, QStringList({QFileInfo(home.file("here.wav")).absoluteFilePath()}));
}

TEST_F(PlaylistStartupTest, DefaultPlaylistFollowsEveryChangeShortly) {
  Start();
  Add({kFixtures + "cbr.mp3"});
  pls->AddStream("http://127.0.0.1:9/r");
  EXPECT_EQ_SOON(ReadAll(Pld()), (kFixtures + "cbr.mp3\r\nhttp://127.0.0.1:9/r\r\n").toUtf8(), 10000);
  pls->ClearPlaylist();
  EXPECT_EQ_SOON(ReadAll(Pld()), QByteArray(), 10000);
}

TEST_F(PlaylistStartupTest, AnUnreadableDefaultPlaylistIsReportedAndKept) {
  QDir(home.path()).mkdir("Default.pld");  // exists, but no file can be read from it
  NextMessageBox box;
  Start();
  EXPECT_FALSE(box.text.isEmpty());
  EXPECT_TRUE(engine->Paths.isEmpty());
  Add({kFixtures + "cbr.mp3"});
  End();
  EXPECT_TRUE(QFileInfo(Pld()).isDir());  // not replaced by this run's list
}

// A line break in a file name would make two lines of Default.pld (two
// wrong entries at the next start): such a file is refused with a message,
// and the rest of the add goes on.
TEST_F(PlaylistStartupTest, ANameWithALineBreakIsRefusedWithAMessage) {
  const QString broken = home.write("two\nlines.wav", SineWav(1, 440));
  const QString song = home.write("song.wav", SineWav(1, 440));
  NextMessageBox box;
  Start({broken, song});
  EXPECT_EQ(engine->Paths, QStringList({song}));
  ASSERT_TRUE(WaitUntil([&] { return !box.text.isEmpty(); }, 10000));
  EXPECT_TRUE(box.text.startsWith("Имя файла содержит перевод строки")) << box.text.toStdString();
  EXPECT_TRUE(box.text.contains("two↵lines.wav")) << box.text.toStdString();
  End();
  EXPECT_EQ(ReadAll(Pld()), (song + "\r\n").toUtf8());
}

TEST_F(PlaylistStartupTest, CassetteResumesTheSavedEntryWhereItStood) {
  QFile::copy(kFixtures + "sine_s16.wav", home.file("a.wav"));
  home.write("b.wav", SineWav(6, 440));
  home.write("Default.pld", (home.file("a.wav") + "\r\n" + home.file("b.wav") + "\r\n").toUtf8());
  home.write("config.ini", "[cm]\r\nstatus=1\r\nid=1\r\npos=4\r\n");
  Start();
  EXPECT_EQ(engine->CurrentIndex, 1);
  EXPECT_EQ(engine->PlayState, kPlaying);
  EXPECT_GE(engine->Position(), 4);
  EXPECT_EQ(mainUi().seekBar->maximum(), 6);
  End();
  IniFile config(home.file("config.ini"));
  EXPECT_EQ(config.Read(config::cm::kIndex), 1);
  EXPECT_GE(config.Read(config::cm::kPosition), 4);

  // An index beyond the playlist starts nothing.
  home.write("config.ini", "[cm]\r\nstatus=1\r\nid=7\r\npos=4\r\n");
  Start();
  EXPECT_EQ(engine->PlayState, kNothingLoaded);
  End();
  // Cassette mode off: nothing starts, and the saved place is not touched.
  home.write("config.ini", "[cm]\r\nstatus=0\r\nid=1\r\npos=4\r\n");
  Start();
  EXPECT_EQ(engine->PlayState, kNothingLoaded);
  End();
  EXPECT_EQ(IniFile(home.file("config.ini")).Read(config::cm::kIndex), 1);
}

// Saves cut off by a kill -9 leave their temporary files behind: each of
// the program's files has its leftovers cleared at the next start.
TEST_F(PlaylistStartupTest, LeftoversOfKilledSavesGoAtTheNextStart) {
  const QDateTime old = QDateTime::currentDateTime().addSecs(-3600);
  const QStringList leftovers = {"config.ini.Ab12Cd", "Default.pld.xY34zW", "base.dbm.Q1w2E3", "rbase.dbm.zzzzzz"};
  for (const QString& name : leftovers) {
    QFile f(home.write(name, "x"));
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(old, QFileDevice::FileModificationTime));
  }
  Start();
  for (const QString& name : leftovers) EXPECT_FALSE(QFile::exists(home.file(name))) << name.toStdString();
}

TEST_F(PlaylistStartupTest, WindowStateIsRestoredAndWritten) {
  home.write("config.ini",
             "[pls]\r\nx=40\r\ny=50\r\nxd=320\r\nyd=400\r\n[tech]\r\npls=1\r\nrpt=1\r\n[main]\r\nx=7\r\ny=8\r\n");
  Start();
  EXPECT_EQ(pls->geometry(), QRect(40, 50, 320, 400));
  EXPECT_TRUE(pls->isVisible());
  EXPECT_EQ(mainUi().playlistButton->text(), "Пл Вкл");
  EXPECT_EQ(mainUi().repeatButton->text(), "ПовВсё");
  EXPECT_EQ(main->pos(), QPoint(7, 8));
  pls->resize(330, 410);
  mainUi().repeatButton->click();  // all -> track
  // The exit's keys (the equalizer's and the windows') reach the disk in one
  // safe save: the file is replaced once.
  const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  ASSERT_GE(watch, 0);
  ASSERT_GE(inotify_add_watch(watch, QFile::encodeName(home.path()).constData(), IN_MOVED_TO), 0);
  End();
  int replaced = 0;
  alignas(inotify_event) char events[16384];
  for (ssize_t n; (n = ::read(watch, events, sizeof events)) > 0;) {
    for (char* p = events; p < events + n;) {
      const auto* e = reinterpret_cast<const inotify_event*>(p);
      if (e->len > 0 && std::string_view(e->name) == "config.ini") ++replaced;
      p += sizeof(inotify_event) + e->len;
    }
  }
  ::close(watch);
  EXPECT_EQ(replaced, 1);
  IniFile config(home.file("config.ini"));
  EXPECT_EQ(config.Read(config::pls::kWidth), 330);
  EXPECT_EQ(config.Read(config::pls::kHeight), 410);
  EXPECT_EQ(config.Read(config::tech::kRepeat), 2);
  EXPECT_TRUE(config.Read(config::tech::kPlaylistShown));

  home.write("config.ini", "[tech]\r\nrpt=9\r\n");  // no such mode: repeat stays off
  Start();
  EXPECT_EQ(app.State().RepeatMode, RepeatModes::Off);
  EXPECT_EQ(pls->size(), QSize(304, 150));  // no stored size: the minimum
  EXPECT_FALSE(pls->isVisible());
}

}  // namespace
}  // namespace orve::test
