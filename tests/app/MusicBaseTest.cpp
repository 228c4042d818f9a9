// The music base in the running program: every adding road registers its
// files, its window plays titles, Shift+Insert plays a random one, and
// dynamic adding keeps the music going at the end of the last entry.
#include <QListWidget>
#include <QProcess>

#include "PlaylistFixture.h"
#include "library/MusicBase.h"
#include "library/MusicBaseWindow.h"
#include "library/RadioBaseWindow.h"
#include "settings/IniDocument.h"
#include "settings/TextFile.h"

namespace orve::test {
namespace {

class MusicBaseRunTest : public PlaylistFixture {
 protected:
  // An MP3 of `seconds` with ID3 tags, made by ffmpeg.
  QString Tagged(const QString& name, const QString& artist, const QString& title, double seconds = 1) {
    const QString path = home.file(name);
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-v", "error", "-y", "-f", "lavfi", "-i", QString("sine=frequency=440:duration=%1").arg(seconds),
                            "-metadata", "artist=" + artist, "-metadata", "title=" + title, "-id3v2_version", "3",
                            path});
    EXPECT_TRUE(ffmpeg.waitForFinished(60000));
    EXPECT_EQ(ffmpeg.exitCode(), 0) << ffmpeg.readAllStandardError().toStdString();
    return path;
  }
  // base.dbm as the file holds it, once the base has written what is pending.
  IniDocument Stored() {
    app.Base()->Flush();
    return IniDocument::Parse(QString::fromUtf8(ReadAll(home.file("base.dbm"))));
  }
  MusicBaseWindow* window() const { return app.Windows().musicBase; }
  QStringList Artists() const {
    QStringList items;
    const QListWidget* list = window()->ControlsForTest().artistList;
    for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
    return items;
  }
};

TEST_F(MusicBaseRunTest, EveryAddingRoadRegistersItsFiles) {
  const QString fromArgs = Tagged("args.mp3", "Аргументы", "Командная строка");
  const QString fromPld = Tagged("pld.mp3", "Сохранённый", "Плейлист");
  home.write("Default.pld", fromPld.toUtf8() + "\r\n");
  Start();  // Default.pld
  End();
  Start({fromArgs});
  window()->Open();
  const QString fromDialog = Tagged("dialog.mp3", "Диалог", "Открыть");
  emit main->FilesChosen({fromDialog});
  WaitAdded();
  const QString fromDrop = Tagged("drop.mp3", "", "");
  pls->AddDroppedFiles({fromDrop});
  WaitAdded();
  const QString fromM3u = Tagged("m3u.mp3", "Список", "M3U");
  pls->LoadPlaylistFile(home.write("list.m3u", "#EXTM3U\r\n" + fromM3u.toUtf8() + "\r\n"));
  WaitAdded();
  const IniDocument base = Stored();
  EXPECT_EQ(base.Value("Сохранённый", "Плейлист"), fromPld);
  EXPECT_EQ(base.Value("Аргументы", "Командная строка"), fromArgs);
  EXPECT_EQ(base.Value("Диалог", "Открыть"), fromDialog);
  EXPECT_EQ(base.Value("Unknow", "drop.mp3"), fromDrop);
  EXPECT_EQ(base.Value("Список", "M3U"), fromM3u);
  // Shown, the window followed every add.
  EXPECT_EQ_SOON(Artists().size(), 5, 5000);
  EXPECT_EQ(window()->windowTitle(), "Музыкальная база (Исполнителей:5/Песен:5)");
  // The file on disk: CR LF lines, one section per artist.
  EXPECT_TRUE(ReadAll(home.file("base.dbm")).contains("[Диалог]\r\nОткрыть=" + fromDialog.toUtf8() + "\r\n"));
}

TEST_F(MusicBaseRunTest, ATitleIsAddedAndStartedThenStartedWhereItIs) {
  const QString other = Tagged("other.mp3", "Other", "Song", 5);
  const QString song = Tagged("song.mp3", "Группа", "Песня", 5);
  Start({other});
  app.Base()->AddFile(song, "Группа", "Песня");
  app.Base()->Flush();
  QCoreApplication::processEvents();  // the window's follow-up of the add has run
  window()->Open();
  auto ui = window()->ControlsForTest();
  ui.artistList->setCurrentRow(static_cast<int>(Artists().indexOf("Группа")));
  ui.titleList->setCurrentRow(0);
  window()->PlaySelectedTitle();
  ASSERT_EQ(engine->Paths.size(), 2);
  EXPECT_EQ(engine->Paths[1], song);
  EXPECT_EQ(engine->CurrentIndex, 1);
  EXPECT_EQ(engine->PlayState, kPlaying);
  StartRow(0);
  window()->PlaySelectedTitle();
  EXPECT_EQ(engine->Paths.size(), 2);  // not a second copy
  EXPECT_EQ(engine->CurrentIndex, 1);
  EXPECT_EQ(engine->PlayState, kPlaying);
}

TEST_F(MusicBaseRunTest, ShiftInsertPlaysARandomTitle) {
  const QString song = Tagged("song.mp3", "Группа", "Песня", 5);
  Start();
  QTest::keyClick(plsUi().entryList, Qt::Key_Insert, Qt::ShiftModifier);  // an empty base: nothing
  EXPECT_TRUE(engine->Paths.isEmpty());
  app.Base()->AddFile(song, "Группа", "Песня");
  QTest::keyClick(eqUi().bands[3], Qt::Key_Insert, Qt::ShiftModifier);  // the same in the equalizer window
  ASSERT_EQ(engine->Paths.size(), 1);
  EXPECT_EQ(engine->PlayState, kPlaying);
  EXPECT_EQ(engine->CurrentIndex, 0);
}

// Tags the INI form cannot hold as they are reach the base and come back whole.
TEST_F(MusicBaseRunTest, AwkwardTagsComeBackWhole) {
  const QString path = Tagged("awkward.mp3", "[AC=DC]", "x = y; z");
  Start();
  Add({path});
  const IniDocument stored = Stored();
  EXPECT_EQ(stored.Value("[AC=DC]", "x %3D y; z"), path);
  window()->Open();
  EXPECT_EQ(Artists(), QStringList({"[AC=DC]"}));
  auto ui = window()->ControlsForTest();
  ui.artistList->setCurrentRow(0);
  ASSERT_EQ(ui.titleList->count(), 1);
  EXPECT_EQ(ui.titleList->item(0)->text(), "x = y; z");
  ui.titleList->setCurrentRow(0);
  window()->PlaySelectedTitle();
  EXPECT_EQ(engine->CurrentIndex, 0);  // found where it is
  EXPECT_EQ(engine->PlayState, kPlaying);
}

TEST_F(MusicBaseRunTest, KeysBAndIOpenTheBasesInAnyLayoutAndCase) {
  Start();
  QWidget* list = plsUi().entryList;
  // The key as each layout reports it: its letter and the text it types.
  const auto press = [&](int key, const QString& text) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(list, &event);
  };
  const std::vector<std::pair<int, QString>> keys{{Qt::Key_B, "b"}, {Qt::Key_B, "B"}, {0x418, "и"}, {0x418, "И"}};
  for (const auto& [key, text] : keys) {
    window()->hide();
    press(key, text);
    EXPECT_TRUE(window()->isVisible()) << text.toStdString();
  }
  press(0x428, "ш");
  EXPECT_TRUE(app.Windows().radioBase->isVisible());
  app.Windows().radioBase->hide();
  press(Qt::Key_I, "I");
  EXPECT_TRUE(app.Windows().radioBase->isVisible());
}

// The last entry's last 30 seconds bring one random title of the base, not
// started; "ПовВсё" then plays it.
TEST_F(MusicBaseRunTest, DynamicAddingAppendsNearTheEndOfTheLastEntry) {
  const QString first = Tagged("first.mp3", "A", "First", 2);
  const QString next = Tagged("next.mp3", "B", "Next", 2);
  Start({first});
  app.Base()->AddFile(next, "B", "Next");
  app.State().DynamicAdd = true;
  app.State().RepeatMode = RepeatModes::All;
  StartRow(0);
  EXPECT_EQ_SOON(engine->Paths.size(), 2, 5000);
  EXPECT_EQ(engine->Paths.value(1), next);
  EXPECT_EQ(pls->SelectedIndex(), 0);
  EXPECT_EQ_SOON(engine->CurrentIndex, 1, 10000);
  EXPECT_EQ(engine->PlayState, kPlaying);
}

TEST_F(MusicBaseRunTest, DynamicAddingWithNothingToAddAppendsNothing) {
  const QString only = Tagged("only.mp3", "A", "Only", 3);
  Start({only});  // the base holds only the playing entry
  app.State().DynamicAdd = true;
  StartRow(0);
  ASSERT_TRUE(WaitUntil([&] { return app.State().DynamicAddBusy; }, 5000));
  QTest::qWait(1000);
  EXPECT_EQ(engine->Paths.size(), 1);
}

}  // namespace
}  // namespace orve::test
