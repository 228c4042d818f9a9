// The playlist window's commands on a running program: removing, clearing,
// deleting from disk, dragging, the list's keys, the context menu, drops
// and the playlist files.
#include <QDir>
#include <QFile>
#include <functional>
#include <sys/stat.h>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QSignalSpy>

#include "PlaylistFixture.h"
#include "appearance/ColourSchemeWindow.h"
#include "playlist/InfoWindow.h"
#include "playlist/SearchWindow.h"
#include "playlist/UrlWindow.h"
#include "settings/LineFile.h"

namespace orve::test {
namespace {

class PlaylistWindowTest : public PlaylistFixture {
 protected:
  // Entries A, B, C (short silent files) with `current` started and then stopped.
  void ThreeEntries(int current = -1) {
    QFile::remove(home.file("Default.pld"));  // each run starts from an empty playlist
    Start();
    pls->show();
    Add({home.write("A.wav", SineWav(1, 0)), home.write("B.wav", SineWav(1, 0)), home.write("C.wav", SineWav(1, 0))});
    if (current >= 0) StartRow(current);
  }
  QStringList Titles() const { return engine->Titles; }
  void Drag(int from, const QList<int>& over) {
    QTest::mousePress(plsUi().entryList->viewport(), Qt::LeftButton, {}, plsUi().entryList->ItemRect(from).center());
    for (int row : over) {
      const QPoint at = row < 0 ? QPoint(5, plsUi().entryList->viewport()->height() - 2)
                                : plsUi().entryList->ItemRect(row).center();
      QMouseEvent move(QEvent::MouseMove, at, plsUi().entryList->viewport()->mapToGlobal(at), Qt::NoButton,
                       Qt::LeftButton, Qt::NoModifier);
      QCoreApplication::sendEvent(plsUi().entryList->viewport(), &move);
    }
    QTest::mouseRelease(plsUi().entryList->viewport(), Qt::LeftButton, {}, plsUi().entryList->ItemRect(0).center());
  }
};

TEST_F(PlaylistWindowTest, RemovalKeepsTheCurrentEntryOrStepsBack) {
  // Removing A keeps B current (now index 0).
  ThreeEntries(1);
  pls->SelectIndex(0);
  pls->RemoveSelected();
  EXPECT_EQ(Titles(), QStringList({"B", "C"}));
  EXPECT_EQ(engine->CurrentIndex, 0);
  EXPECT_EQ(engine->PlayState, kPlaying);
  End();

  // Removing B itself stops playback, selects C and points at A, not drawn as current.
  ThreeEntries(1);
  pls->SelectIndex(1);
  pls->RemoveSelected();
  EXPECT_EQ(Titles(), QStringList({"A", "C"}));
  EXPECT_EQ(engine->PlayState, kStopped);
  EXPECT_EQ(pls->SelectedIndex(), 1);
  EXPECT_EQ(engine->CurrentIndex, 0);
  EXPECT_FALSE(DrawnCurrent(0));
  EXPECT_EQ(mainUi().timeLabel->text(), "0:00/0:00");
  EXPECT_TRUE(mainUi().bitRateLabel->text().isEmpty());
  EXPECT_TRUE(app.State().NowTitle.isEmpty());
}

TEST_F(PlaylistWindowTest, RemovingTheOnlyEntryEmptiesEverything) {
  Start();
  Add({home.write("only.wav", SineWav(3, 0))});
  StartRow(0);
  pls->RemoveSelected();
  EXPECT_TRUE(engine->Paths.isEmpty());
  EXPECT_EQ(engine->CurrentIndex, -1);
  EXPECT_EQ(engine->PlayState, kNothingLoaded);
  EXPECT_EQ(engine->TotalSeconds, 0);
  EXPECT_EQ(plsUi().timeLabel->text(), "0:00/0:00");
  EXPECT_EQ(mainUi().timeLabel->text(), "0:00/0:00");
  pls->RemoveSelected();  // nothing selected: nothing happens
  EXPECT_TRUE(pls->Consistent());
}

// Clearing, removing the only entry and deleting the playing file from disk
// all leave nothing loaded; the engine says so, and no transport symbol
// stays lit.
TEST_F(PlaylistWindowTest, AnEntryThatGoesLeavesNoTransportSymbolLit) {
  const struct {
    const char* name;
    std::function<void()> run;
  } cases[] = {
      {"clear", [&] { ThreeEntries(2); pls->ClearPlaylist(); }},
      {"the only entry",
       [&] {
         Start();
         Add({home.write("only.wav", SineWav(3, 0))});
         StartRow(0);
         pls->RemoveSelected();
       }},
      {"deleted from disk", [&] { ThreeEntries(2); pls->DeleteFromDisk(); }},
  };
  for (const auto& c : cases) {
    c.run();
    EXPECT_EQ(engine->PlayState, kNothingLoaded) << c.name;
    const QColor unlit = app.State().Scheme.Colour(ColourRole::ButtonText);
    for (GlassButton* b : {mainUi().playButton, mainUi().pauseButton, mainUi().stopButton}) {
      EXPECT_EQ(b->FontColour(), unlit) << c.name;
    }
    End();
  }
}

TEST_F(PlaylistWindowTest, StreamsFromTheUrlWindowLeaveNoCurrentEntry) {
  Start();
  pls->AddStream("http://127.0.0.1:9/a");
  pls->AddStream("http://127.0.0.1:9/b");
  EXPECT_EQ(engine->CurrentIndex, -1);
  EXPECT_EQ(pls->RowText(0), "<FONT color=\"#" + app.State().Scheme.ItemColorText + "\"><B>http://127.0.0.1:9/a<BR>0:00</B></FONT>");
  pls->SelectIndex(0);
  pls->RemoveSelected();
  EXPECT_EQ(engine->CurrentIndex, -1);
  StartRow(0);
  EXPECT_EQ(engine->CurrentIndex, 0);
  EXPECT_EQ(engine->PlayState, kPlaying);
  // A stream shows no bit rate and no length; the seek bar cannot move.
  EXPECT_EQ(mainUi().timeLabel->text(), "0:00/0:00");
  EXPECT_TRUE(mainUi().bitRateLabel->text().isEmpty());
  EXPECT_EQ(mainUi().seekBar->maximum(), 0);
}

TEST_F(PlaylistWindowTest, ClearAlsoEndsAnAddUnderWay) {
  Start();
  QStringList many;
  for (int i = 0; i < 2000; ++i) many << kFixtures + "cbr.mp3";  // long enough to be caught under way
  pls->AddFiles(many);
  ASSERT_TRUE(WaitUntil([&] { return plsUi().titleCaption->text().startsWith("Добавление"); }, 30000));
  EXPECT_TRUE(mainUi().titleCaption->text().startsWith(" Добавление"));
  pls->ClearPlaylist();
  EXPECT_FALSE(pls->Adding());
  EXPECT_EQ(plsUi().titleCaption->text(), "Плэйлист");
  EXPECT_EQ(mainUi().titleCaption->text(), " ORVE 1.9");
  QTest::qWait(200);
  EXPECT_EQ(plsUi().entryList->Count(), 0);
  EXPECT_TRUE(pls->Consistent());
}

TEST_F(PlaylistWindowTest, ClearStopsAndResetsTheTimes) {
  ThreeEntries(2);
  pls->ClearPlaylist();
  EXPECT_EQ(engine->PlayState, kNothingLoaded);
  EXPECT_EQ(engine->CurrentIndex, -1);
  EXPECT_EQ(plsUi().entryList->Count(), 0);
  EXPECT_EQ(engine->TotalSeconds, 0);
  EXPECT_EQ(plsUi().timeLabel->text(), "0:00/0:00");
  EXPECT_EQ(mainUi().timeLabel->text(), "0:00/0:00");
}

TEST_F(PlaylistWindowTest, DraggingFollowsThePointerAndKeepsTheCurrentEntry) {
  // Slowly from 0 over 1 and 2: the order is 1, 2, 0; entry 1 was current and stays found.
  ThreeEntries(1);
  Drag(0, {1, 2});
  EXPECT_EQ(Titles(), QStringList({"B", "C", "A"}));
  EXPECT_EQ(engine->CurrentIndex, 0);
  EXPECT_TRUE(DrawnCurrent(0));
  EXPECT_TRUE(pls->Consistent());
  End();

  // Skipping rows exchanges the two directly.
  ThreeEntries(0);
  Drag(0, {2});
  EXPECT_EQ(Titles(), QStringList({"C", "B", "A"}));
  EXPECT_EQ(engine->CurrentIndex, 2);  // the dragged entry was the current one
  End();

  // Below the last entry counts as entry 0 (a window tall enough for room there).
  ThreeEntries();
  pls->resize(pls->width(), 300);
  Drag(1, {-1});
  EXPECT_EQ(Titles(), QStringList({"B", "A", "C"}));
}

// The row the program selects (a start, auto-advance round the end of the
// list) is scrolled into view.
TEST_F(PlaylistWindowTest, WhatTheProgramSelectsIsScrolledIntoView) {
  Start();
  pls->show();
  QStringList files;
  for (int i = 0; i < 30; ++i) files << home.write(QString("%1.wav").arg(i), SineWav(0.3, 0));
  Add(files);
  const MarkupListBox* list = plsUi().entryList;
  const auto visible = [&](int row) { return list->viewport()->rect().contains(list->ItemRect(row)); };
  ASSERT_TRUE(visible(0));
  ASSERT_FALSE(visible(28));
  app.State().RepeatMode = RepeatModes::All;
  StartRow(28);
  EXPECT_TRUE(visible(28));
  ASSERT_TRUE(WaitUntil([&] { return engine->CurrentIndex == 0; }, 30000));
  EXPECT_TRUE(visible(0));
}

TEST_F(PlaylistWindowTest, RightClickSelectsAndOpensTheContextMenuByItsRule) {
  Start();
  Add({kFixtures + "sine_s16.wav"});
  pls->AddStream("http://127.0.0.1:9/radio");
  pls->show();
  QWidget* view = plsUi().entryList->viewport();
  QTest::mouseClick(view, Qt::RightButton, {}, plsUi().entryList->ItemRect(1).center());
  EXPECT_EQ(pls->SelectedIndex(), 1);
  ASSERT_TRUE(WaitUntil([&] { return plsUi().contextMenu->isVisible(); }));
  EXPECT_FALSE(plsUi().convertMenu->menuAction()->isEnabled());  // streams are not converted
  plsUi().contextMenu->hide();
  QTest::mouseClick(view, Qt::RightButton, {}, plsUi().entryList->ItemRect(0).center());
  ASSERT_TRUE(WaitUntil([&] { return plsUi().contextMenu->isVisible(); }));
  EXPECT_TRUE(plsUi().convertMenu->menuAction()->isEnabled());
  plsUi().contextMenu->hide();
  // Below the last entry: no selection, no menu.
  QTest::mouseClick(view, Qt::RightButton, {}, QPoint(5, view->height() - 2));
  EXPECT_EQ(pls->SelectedIndex(), -1);
  QTest::qWait(50);
  EXPECT_FALSE(plsUi().contextMenu->isVisible());
}

TEST_F(PlaylistWindowTest, ListKeys) {
  ThreeEntries();
  pls->show();
  QWidget* list = plsUi().entryList;
  pls->SelectIndex(0);
  QTest::keyClick(list, Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_EQ(pls->SelectedIndex(), 0);
  QTest::keyClick(list, Qt::Key_PageDown);
  EXPECT_EQ(pls->SelectedIndex(), 0);
  QTest::keyClick(list, Qt::Key_End);
  EXPECT_EQ(pls->SelectedIndex(), 2);
  QTest::keyClick(list, Qt::Key_Up);
  EXPECT_EQ(pls->SelectedIndex(), 1);
  QTest::keyClick(list, Qt::Key_Return);
  EXPECT_EQ(engine->CurrentIndex, 1);
  EXPECT_EQ(engine->PlayState, kPlaying);
  // The selection shows in the "current" colour on the current entry only.
  const ColourScheme& scheme = app.State().Scheme;
  EXPECT_EQ(plsUi().entryList->SelectionTextColour(), scheme.Colour(ColourRole::Highlight));
  QTest::keyClick(list, Qt::Key_Home);
  EXPECT_EQ(plsUi().entryList->SelectionTextColour(), scheme.Colour(ColourRole::ListText));
  // Space is the shared table's: it pauses, and the list does not act on it.
  QTest::keyClick(list, Qt::Key_Space);
  EXPECT_EQ(engine->PlayState, kPaused);
  QSignalSpy search(pls, &PlaylistWindow::SearchRequested);
  QTest::keyClick(list, Qt::Key_J);
  QTest::keyClick(list, Qt::Key_J, Qt::ShiftModifier);
  EXPECT_EQ(search.count(), 2);
  QTest::keyClick(list, Qt::Key_Delete);
  EXPECT_EQ(Titles(), QStringList({"B", "C"}));
}

TEST_F(PlaylistWindowTest, DeleteFromDiskMovesTheFileToTheTrashWithoutAsking) {
  Start();
  const QString a = home.write("a.wav", SineWav(3, 0));
  const QString b = home.write("b.wav", SineWav(3, 0));
  Add({a, b});
  pls->AddStream("http://127.0.0.1:9/r");
  StartRow(1);
  QTest::keyClick(plsUi().entryList, Qt::Key_Delete, Qt::ShiftModifier);
  EXPECT_FALSE(QFile::exists(b));
  EXPECT_TRUE(QFile::exists(home.file("data/Trash/files/b.wav")));  // recoverable
  EXPECT_TRUE(QFile::exists(home.file("data/Trash/info/b.wav.trashinfo")));
  EXPECT_EQ(engine->PlayState, kNothingLoaded);
  EXPECT_EQ(engine->Paths, QStringList({a, "http://127.0.0.1:9/r"}));
  pls->SelectIndex(1);
  pls->DeleteFromDisk();  // a stream: the entry goes, nothing on disk
  EXPECT_EQ(engine->Paths, QStringList({a}));
  EXPECT_TRUE(QFile::exists(a));
}

TEST_F(PlaylistWindowTest, DropsTakeOnlyAcceptedFilesAtTheEnd) {
  Start();
  QDir(home.path()).mkdir("folder.mp3");
  const QString text = home.write("notes.txt", "x");
  const QString cd = home.write("Track01.cda", "x");
  const QString mp3 = kFixtures + "cbr.mp3";
  for (QWidget* target : {static_cast<QWidget*>(main), static_cast<QWidget*>(pls)}) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(home.file("folder.mp3")), QUrl::fromLocalFile(text), QUrl::fromLocalFile(cd),
                  QUrl::fromLocalFile(mp3)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    WaitAdded();
  }
  EXPECT_EQ(engine->Paths, QStringList({mp3, mp3}));
  EXPECT_EQ(engine->Kinds, QStringList({"1", "1"}));
}

TEST_F(PlaylistWindowTest, OpenDialogOffersOneFilterAndManyFiles) {
  Start();
  EXPECT_EQ(mainUi().openFilesDialog->nameFilters(),
            QStringList({"Mp3, Mp2, Mp1, Wave, Ogg, Opus, FLAC, Aiff, AAC, MP4, M4A, WMA, Audio CD "
                         "(*.MP3 *.MP2 *.MP1 *.OGG *.OGA *.OPUS *.FLAC *.WAV *.AIFF *.Wave *.MP4 *.M4A *.AAC *.WMA "
                         "*.CDA)"}));
  EXPECT_EQ(mainUi().openFilesDialog->fileMode(), QFileDialog::ExistingFiles);
  EXPECT_TRUE(mainUi().openFilesDialog->filter() & QDir::Hidden);
  // What the dialog returns is added as it stands, audio-CD tracks and doubles included.
  const QString cd = home.write("Track01.cda", "x");
  emit mainUi().openFilesDialog->filesSelected({kFixtures + "vorbis.ogg", cd, kFixtures + "vorbis.ogg"});
  WaitAdded();
  EXPECT_EQ(engine->Titles, QStringList({"Тест - Огг", "Track01", "Тест - Огг"}));
  EXPECT_EQ(engine->PlayState, kNothingLoaded);  // nothing starts
}

// M4A, Ogg Opus, FLAC and Vorbis in .oga come in by every road, with their
// tags and true lengths.
TEST_F(PlaylistWindowTest, TheFormatsUsersHaveComeInByEveryRoad) {
  const QStringList files{kFixtures + "tagged.m4a", kFixtures + "tagged.opus", kFixtures + "tagged.flac",
                          kFixtures + "tagged.oga"};
  const QStringList lines = files;
  const struct {
    const char* road;
    std::function<void()> add;
  } roads[] = {
      {"open dialog", [&] { Start(); emit mainUi().openFilesDialog->filesSelected(files); }},
      {"command line", [&] { Start(files); }},
      {"Default.pld", [&] { home.write("Default.pld", (files.join("\r\n") + "\r\n").toUtf8()); Start(); }},
      {"M3U", [&] {
         Start();
         pls->LoadPlaylistFile(home.write("list.m3u", ("#EXTM3U\r\n" + files.join("\r\n")).toUtf8()));
       }},
      {"drop", [&] {
         Start();
         QMimeData data;
         QList<QUrl> urls;
         for (const QString& f : files) urls << QUrl::fromLocalFile(f);
         data.setUrls(urls);
         QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
         QCoreApplication::sendEvent(main, &enter);
         QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
         QCoreApplication::sendEvent(main, &drop);
       }},
  };
  for (const auto& r : roads) {
    QFile::remove(home.file("Default.pld"));
    r.add();
    WaitAdded();
    EXPECT_EQ(engine->Paths, files) << r.road;
    EXPECT_EQ(engine->Kinds, QStringList({"2", "1", "1", "1"})) << r.road;
    EXPECT_EQ(engine->Titles, QStringList({"M4A Artist - M4A Title", "Opus Artist - Opus Title",
                                           "FLAC Artist - FLAC Title", "OGA Artist - OGA Title"}))
        << r.road;
    EXPECT_EQ(engine->Durations, QStringList({"2", "0", "0", "2"})) << r.road;  // 0.5 s rounds to even
    End();
  }
}

// A named pipe would hold its reader in open() until a writer comes, and
// /dev/urandom never ends: they are entries that are never read, so adding
// them finishes, starting them fails at once, and the program ends.
TEST_F(PlaylistWindowTest, PipesAndDevicesAreNeverRead) {
  const QString pipe = home.file("pipe.mp3");
  ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
  const QString random = home.file("random.mp3");
  ASSERT_TRUE(QFile::link("/dev/urandom", random));
  const QString song = home.write("song.wav", SineWav(2, 440));
  Start({pipe, random, song});
  EXPECT_EQ(engine->Paths, QStringList({pipe, random, song}));
  EXPECT_EQ(engine->Durations, QStringList({"0", "0", "2"}));
  StartRow(1);
  EXPECT_EQ(engine->Handle(), audio::kNoHandle);  // failed, as a missing file does
  StartRow(2);
  EXPECT_EQ(engine->PlayState, kPlaying);
  EXPECT_NE(engine->Handle(), audio::kNoHandle);
  End();
}

TEST_F(PlaylistWindowTest, M3uFilesRoundTrip) {
  Start();
  Add({kFixtures + "cbr.mp3", kFixtures + "vorbis.ogg"});
  pls->AddStream("http://127.0.0.1:9/r");
  const QString m3u = home.file("list.m3u");
  pls->SavePlaylistFile(m3u);
  EXPECT_EQ(ReadAll(m3u), QString("#EXTM3U\r\n" + kFixtures + "cbr.mp3\r\n" + kFixtures + "vorbis.ogg\r\n" +
                                  "http://127.0.0.1:9/r\r\n").toUtf8());
  pls->LoadPlaylistFile(m3u);  // appended; the address never passes the file test
  WaitAdded();
  EXPECT_EQ(engine->Paths.size(), 5);
  EXPECT_EQ(engine->Paths.mid(3), QStringList({kFixtures + "cbr.mp3", kFixtures + "vorbis.ogg"}));
  pls->ClearPlaylist();
  pls->SavePlaylistFile(m3u);
  EXPECT_EQ(ReadAll(m3u), "#EXTM3U\r\n");
}

TEST_F(PlaylistWindowTest, SearchStartsTheChosenEntryAndInformationShowsTags) {
  ThreeEntries();
  QTest::keyClick(plsUi().entryList, Qt::Key_J);
  SearchWindow* search = app.Windows().search;
  ASSERT_TRUE(search->isVisible());
  QTest::keyClicks(search->ControlsForTest().searchEdit, "c");
  ASSERT_EQ(search->ControlsForTest().resultList->count(), 1);
  search->ControlsForTest().resultList->setCurrentRow(0);
  QTest::keyClick(search->ControlsForTest().resultList, Qt::Key_Return);
  EXPECT_FALSE(search->isVisible());
  EXPECT_EQ(engine->CurrentIndex, 2);
  EXPECT_EQ(engine->PlayState, kPlaying);

  Add({kFixtures + "cbr.mp3"});
  pls->SelectIndex(3);
  plsUi().infoAction->trigger();
  InfoWindow* info = app.Windows().info;
  ASSERT_TRUE(info->isVisible());
  EXPECT_EQ(info->ControlsForTest().pathEdit->text(), kFixtures + "cbr.mp3");
  EXPECT_EQ(info->ControlsForTest().titleEdit->text(), "Песня");
  info->close();
}

TEST_F(PlaylistWindowTest, UrlWindowAddsAStreamEntry) {
  Start();
  plsUi().addUrlAction->trigger();
  UrlWindow* url = app.Windows().url;
  ASSERT_TRUE(url->isVisible());
  url->ControlsForTest().addressEdit->setText("http://127.0.0.1:9/station");
  QTest::mouseClick(url->ControlsForTest().addButton, Qt::LeftButton);
  EXPECT_EQ(engine->Paths, QStringList({"http://127.0.0.1:9/station"}));
  EXPECT_EQ(engine->Kinds, QStringList({"4"}));
  EXPECT_EQ(engine->CurrentIndex, -1);
  EXPECT_EQ(plsUi().entryList->Count(), 1);
}

TEST_F(PlaylistWindowTest, EscapeClosesTheSmallWindows) {
  Start();
  const WindowSet& w = app.Windows();
  const struct {
    QWidget* window;
    QWidget* keys;  // where the keyboard is when the window opens
    std::function<void()> open;
  } cases[] = {
      {w.url, w.url->ControlsForTest().addressEdit, [&] { w.url->Open(); }},
      {w.info, w.info, [&] { w.info->ShowFor(kFixtures + "cbr.mp3"); }},
      {w.search, w.search->ControlsForTest().searchEdit, [&] { w.search->Open(); }},
      {w.schemes, w.schemes->ControlsForTest().schemeList, [&] { w.schemes->show(); }},
  };
  for (const auto& c : cases) {
    c.open();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(c.window)) << c.window->objectName().toStdString();
    QTest::keyClick(c.keys, Qt::Key_Escape);
    EXPECT_FALSE(c.window->isVisible()) << c.window->objectName().toStdString();
  }
}

TEST_F(PlaylistWindowTest, ButtonsOpenTheirMenusUnderThemAndXHides) {
  Start();
  pls->move(100, 100);
  pls->show();
  QTest::mouseClick(plsUi().removeButton, Qt::LeftButton);
  ASSERT_TRUE(WaitUntil([&] { return plsUi().removeMenu->isVisible(); }));
  EXPECT_EQ(plsUi().removeMenu->pos(), QPoint(pls->x() + 40, pls->y() + 19 + 20));
  plsUi().removeMenu->hide();
  pls->resize(400, 300);
  EXPECT_EQ(plsUi().closeButton->x(), 400 - 19);
  app.State().PlaylistShown = true;
  QTest::mouseClick(plsUi().closeButton, Qt::LeftButton);
  EXPECT_FALSE(pls->isVisible());
  EXPECT_FALSE(app.State().PlaylistShown);
  EXPECT_EQ(mainUi().playlistButton->text(), "Пл Вык");
}

}  // namespace
}  // namespace orve::test
