// The main window under the offscreen platform: start-up from a prepared
// config.ini, its commands, the seek bar, colour schemes, and what is
// written at the end.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTimer>
#include <csignal>
#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QTest>

#include "app/Application.h"
#include "app/Startup.h"
#include "app/MainWindow.h"
#include "appearance/ColourSchemeWindow.h"
#include "equalizer/EqualizerWindow.h"
#include "playlist/PlaylistWindow.h"
#include "settings/IniFile.h"
#include "settings/window/SettingsWindow.h"
#include "support/TempDir.h"
#include "support/Wait.h"
#include "widgets/ClickLabel.h"
#include "widgets/GlassButton.h"
#include "widgets/GradientBackground.h"
#include "widgets/MarkupListBox.h"
#include "widgets/TitleStrip.h"
#include "widgets/TrackBar.h"

namespace orve {
namespace {

const QString kFixtures = QStringLiteral(ORVE_FIXTURES_DIR "/audio/");

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qputenv("ORVE_HOME", home.path().toUtf8());
    qputenv("ORVE_AUDIO_OUTPUT", "null");
  }
  void TearDown() override {
    if (started) Shutdown(app);
  }
  void Start(const QByteArray& config = {}) {
    if (!config.isEmpty()) home.write("config.ini", config);
    app.State() = AppState();  // a fresh run
    ASSERT_TRUE(Startup(app, {}));
    started = true;
    main = app.Windows().main;
  }
  void End() {
    Shutdown(app);
    started = false;
  }
  MainWindow::Controls mainUi() const { return main->ControlsForTest(); }
  QColor Theme(ColourRole role) const { return app.State().Scheme.Colour(role); }
  QColor TextColour(QLabel* label) const { return label->palette().color(QPalette::WindowText); }
  void LoadFixture(const char* name = "sine_s16.wav") {
    TCore& engine = *app.State().Engine;
    ASSERT_TRUE(engine.AddEntry(kFixtures + name));
    engine.OpenEntry(engine.Paths.size() - 1);
  }

  Application& app = *Application::Instance();
  test::TempDir home;
  MainWindow* main = nullptr;
  bool started = false;
};

TEST_F(MainWindowTest, LayoutAndCaptions) {
  Start();
  EXPECT_EQ(main->size(), QSize(304, 150));
  EXPECT_TRUE(main->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(mainUi().titleCaption->text(), " ORVE 1.9");
  EXPECT_EQ(mainUi().timeLabel->text(), "0:00/0:00");
  EXPECT_EQ(mainUi().repeatButton->text(), "ПовВык");
  EXPECT_EQ(mainUi().equalizerButton->text(), "ЭквВык");
  EXPECT_EQ(mainUi().playlistButton->text(), "Пл Вык");
  EXPECT_EQ(mainUi().dynamicAddButton->text(), "ДД Вык");
  EXPECT_EQ(mainUi().playButton->geometry(), QRect(3, 19, 25, 15));
  EXPECT_EQ(mainUi().seekBar->geometry(), QRect(0, 131, 304, 16));
  EXPECT_EQ(mainUi().displayPanel->geometry(), QRect(34, 19, 215, 106));
  EXPECT_EQ(mainUi().seekBar->maximum(), 1);
  QStringList items;
  for (QAction* a : mainUi().mainMenu->actions()) {
    if (!a->isSeparator()) items.append(a->text());
  }
  EXPECT_EQ(items, QStringList({"Добавить", "Настройки", "Транспарантность", "База I-net радио", "Музыкальная база",
                                "Цветовая схема", "Автор", "Выход"}));
  items.clear();
  for (QAction* a : mainUi().addMenu->actions()) items.append(a->text());
  EXPECT_EQ(items, QStringList({"Файл(ы)", "Плейлист", "URL"}));
}

TEST_F(MainWindowTest, RepeatCyclesThroughItsCaptions) {
  Start();
  const QStringList expected{"ПовВсё", "ПовТрк", "ПовВык", "ПовВсё", "ПовТрк"};
  for (int i = 0; i < 5; ++i) {
    if (i % 2 == 0) {
      QTest::mouseClick(mainUi().repeatButton, Qt::LeftButton);
    } else {
      QTest::mouseClick(mainUi().repeatLabel, Qt::LeftButton);  // the label does the same
    }
    EXPECT_EQ(mainUi().repeatButton->text(), expected[i]);
    EXPECT_EQ(mainUi().repeatLabel->text(), expected[i]);
  }
  EXPECT_EQ(app.State().RepeatMode, RepeatModes::Track);
}

TEST_F(MainWindowTest, TogglesChangeCaptionsFlagsAndLabelColours) {
  Start();
  QSignalSpy playlist(main, &MainWindow::PlaylistToggled);
  QTest::mouseClick(mainUi().playlistButton, Qt::LeftButton);
  EXPECT_EQ(mainUi().playlistButton->text(), "Пл Вкл");
  EXPECT_TRUE(app.State().PlaylistShown);
  EXPECT_EQ(TextColour(mainUi().playlistLabel), Theme(ColourRole::Highlight));
  QTest::mouseClick(mainUi().playlistLabel, Qt::LeftButton);
  EXPECT_EQ(mainUi().playlistButton->text(), "Пл Вык");
  EXPECT_FALSE(app.State().PlaylistShown);
  EXPECT_EQ(TextColour(mainUi().playlistLabel), Theme(ColourRole::Panel));
  EXPECT_EQ(playlist.size(), 2);

  QTest::mouseClick(mainUi().equalizerLabel, Qt::LeftButton);
  EXPECT_EQ(mainUi().equalizerButton->text(), "ЭквВкл");
  EXPECT_TRUE(app.State().EqualizerShown);
  EXPECT_EQ(TextColour(mainUi().equalizerLabel), Theme(ColourRole::Highlight));

  QTest::mouseClick(mainUi().dynamicAddButton, Qt::LeftButton);
  EXPECT_EQ(mainUi().dynamicAddButton->text(), "ДД Вкл");
  EXPECT_TRUE(app.State().DynamicAdd);
  EXPECT_EQ(TextColour(mainUi().dynamicAddLabel), Theme(ColourRole::Highlight));
  QTest::mouseClick(mainUi().dynamicAddLabel, Qt::LeftButton);
  EXPECT_EQ(mainUi().dynamicAddButton->text(), "ДД Вык");
  EXPECT_EQ(TextColour(mainUi().dynamicAddLabel), Theme(ColourRole::Panel));
}

TEST_F(MainWindowTest, TransportButtonsInEveryPlayState) {
  Start();
  TCore& engine = *app.State().Engine;
  struct Case {
    quint8 from;
    GlassButton* MainWindow::Controls::*button;
    quint8 to;
  };
  const Case cases[] = {
      {kNothingLoaded, &MainWindow::Controls::playButton, kNothingLoaded},
      {kNothingLoaded, &MainWindow::Controls::stopButton, kNothingLoaded},
      {kOpened, &MainWindow::Controls::playButton, kPlaying},
      {kOpened, &MainWindow::Controls::pauseButton, kOpened},
      {kPlaying, &MainWindow::Controls::playButton, kPlaying},
      {kPlaying, &MainWindow::Controls::pauseButton, kPaused},
      {kPaused, &MainWindow::Controls::playButton, kPlaying},
      {kPaused, &MainWindow::Controls::stopButton, kStopped},
      {kStopped, &MainWindow::Controls::playButton, kPlaying},
      {kStopped, &MainWindow::Controls::pauseButton, kStopped},
  };
  for (const auto& c : cases) {
    engine.Shutdown();
    engine.Init(app.State().AppDir);
    engine.CurrentIndex = -1;
    if (c.from != kNothingLoaded) LoadFixture();
    if (c.from == kPlaying || c.from == kPaused) engine.Play();
    if (c.from == kPaused) engine.Pause();
    if (c.from == kStopped) engine.Stop();
    ASSERT_EQ(engine.PlayState, c.from);
    QTest::mouseClick(mainUi().*c.button, Qt::LeftButton);
    EXPECT_EQ(engine.PlayState, c.to) << int(c.from);
    // The button of the transport state carries the highlight, the others the caption colour
    // (states 0 and 1 recolour nothing).
    if (engine.PlayState < kPlaying) continue;
    EXPECT_EQ(mainUi().playButton->FontColour(), Theme(engine.PlayState == kPlaying ? ColourRole::Highlight : ColourRole::ButtonText)) << int(c.from);
    EXPECT_EQ(mainUi().pauseButton->FontColour(), Theme(engine.PlayState == kPaused ? ColourRole::Highlight : ColourRole::ButtonText)) << int(c.from);
    EXPECT_EQ(mainUi().stopButton->FontColour(), Theme(engine.PlayState == kStopped ? ColourRole::Highlight : ColourRole::ButtonText)) << int(c.from);
  }
}

TEST_F(MainWindowTest, SeekBarMapsClicksAndSeeksOnRelease) {
  Start();
  TrackBar* bar = mainUi().seekBar;
  struct Case {
    int maximum;
    int x;
    int position;
  };
  const Case cases[] = {
      {300, 0, 0},    {300, 152, 150},  {300, 303, 299},  // Max < W: x / (W / Max)
      {1000, 0, 0},   {1000, 152, 500}, {1000, 100, 329},  // Max >= W: x * (Max / W)
      {0, 150, 0},                                           // a stream: no division by zero
  };
  for (const auto& c : cases) {
    bar->setMaximum(c.maximum);
    bar->setValue(0);
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(c.x, 8));
    EXPECT_TRUE(app.State().SeekDragging);
    EXPECT_EQ(bar->TrackColour(), Theme(ColourRole::Highlight));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(c.x, 8));
    EXPECT_EQ(bar->value(), c.position) << c.maximum << " at " << c.x;
    EXPECT_FALSE(app.State().SeekDragging);
    EXPECT_EQ(bar->TrackColour(), Theme(ColourRole::LabelText));
  }
  // With a stream loaded the release seeks the channel.
  LoadFixture();
  bar->setMaximum(app.State().Engine->Length());
  QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(303, 8));
  EXPECT_EQ(bar->value(), 2);
  EXPECT_EQ(app.State().Engine->Position(), 2);
}

TEST_F(MainWindowTest, StartupRestoresWhatTheLastRunSaved) {
  Start("[main]\r\ndinadd=1\r\nx=40\r\ny=30\r\nvis=1\r\ntrs=128\r\n[tech]\r\nrpt=1\r\nvol=40\r\n[vis]\r\nind=3\r\n");
  EXPECT_TRUE(app.State().DynamicAdd);
  EXPECT_EQ(mainUi().dynamicAddButton->text(), "ДД Вкл");
  EXPECT_EQ(TextColour(mainUi().dynamicAddLabel), Theme(ColourRole::Highlight));
  EXPECT_EQ(app.State().RepeatMode, RepeatModes::All);
  EXPECT_EQ(mainUi().repeatButton->text(), "ПовВсё");
  EXPECT_EQ(main->pos(), QPoint(40, 30));
  EXPECT_EQ(app.State().VisMode, 3);
  EXPECT_EQ(mainUi().playButton->CornerRadius(), 7);
  EXPECT_EQ(mainUi().closeButton->CornerRadius(), 0);
  EXPECT_EQ(mainUi().volumeLabel->text(), "Грм:40%");
  End();
  for (const char* rpt : {"3", "x"}) {  // anything else leaves repeat off
    Start(QByteArray("[tech]\r\nrpt=") + rpt + "\r\n");
    EXPECT_EQ(mainUi().repeatButton->text(), "ПовВык") << rpt;
    End();
  }
}

TEST_F(MainWindowTest, ShutdownWritesTheStateOfTheRun) {
  Start("[cm]\r\nid=5\r\npos=7\r\n");
  main->move(12, 34);
  QTest::mouseClick(mainUi().repeatButton, Qt::LeftButton);   // repeat all
  QTest::mouseClick(mainUi().repeatButton, Qt::LeftButton);   // repeat track
  QTest::mouseClick(mainUi().dynamicAddButton, Qt::LeftButton);  // dynamic adding on
  QTest::mouseClick(mainUi().playlistButton, Qt::LeftButton);   // playlist shown
  app.State().VisMode = 2;
  End();
  IniFile config(home.file("config.ini"));
  EXPECT_EQ(config.Read(config::tech::kRepeat), 2);
  EXPECT_TRUE(config.Read(config::main::kDynamicAdd));
  EXPECT_TRUE(config.Read(config::tech::kPlaylistShown));
  EXPECT_EQ(config.Read(config::main::kX), 12);
  EXPECT_EQ(config.Read(config::main::kY), 34);
  EXPECT_EQ(config.Read(config::vis::kMode), 2);
  EXPECT_EQ(config.Read(config::main::kOpacity), 255);
  EXPECT_EQ(config.Read(config::cm::kIndex), 5);  // resume off: the old values stay
  EXPECT_EQ(config.Read(config::cm::kPosition), 7);

  Start("[cm]\r\nstatus=1\r\n");
  mainUi().seekBar->setMaximum(100);
  mainUi().seekBar->setValue(42);
  End();
  IniFile again(home.file("config.ini"));
  EXPECT_EQ(again.Read(config::cm::kIndex), -1);
  EXPECT_EQ(again.Read(config::cm::kPosition), 42);
  EXPECT_EQ(again.Read(config::tech::kRepeat), 0);
}

// Hidden in the tray the main window is not the last window to close:
// SIGTERM (like "Выход") must still end the event loop, so the whole
// shutdown runs.
TEST_F(MainWindowTest, AnExitWhileHiddenInTheTrayEndsTheEventLoop) {
  Start();
  main->hide();  // what "-" does where the desktop has a tray
  EXPECT_TRUE(test::LoopEndsAfter([] { ::raise(SIGTERM); }));
  EXPECT_TRUE(app.State().Exiting);
}

// Qt's own dialogs and buttons speak the program's language.
TEST_F(MainWindowTest, QtsOwnDialogsAreRussian) {
  Start();
  QFileDialog* dialog = mainUi().openFilesDialog;
  dialog->open();
  EXPECT_EQ(dialog->labelText(QFileDialog::Accept), "&Открыть");
  EXPECT_EQ(dialog->labelText(QFileDialog::Reject), "Отмена");
  EXPECT_EQ(dialog->labelText(QFileDialog::FileType), "Типы файлов:");
  dialog->reject();
}

TEST_F(MainWindowTest, ColourSchemeWindowPicksAndReloads) {
  Start();
  home.write("Themes/readme.txt", "not a scheme");
  auto* schemes = main->findChild<ColourSchemeWindow*>();
  ASSERT_NE(schemes, nullptr);
  schemes->show();
  QStringList names;
  for (int i = 0; i < schemes->ControlsForTest().schemeList->count(); ++i) names.append(schemes->ControlsForTest().schemeList->item(i)->text());
  EXPECT_EQ(names, QStringList({"blue", "crimson", "emerald", "graphite"}));
  app.State().LogoTick = 17;
  schemes->ControlsForTest().schemeList->setCurrentRow(3);
  QTest::keyClick(schemes->ControlsForTest().schemeList, Qt::Key_Return);
  EXPECT_FALSE(schemes->isVisible());
  EXPECT_EQ(IniFile(home.file("config.ini")).Read(config::themes::kName), "graphite");
  const ColourScheme graphite = LoadTheme(home.path() + "/", "graphite");
  EXPECT_EQ(app.State().Scheme.ThemeColors, graphite.ThemeColors);
  EXPECT_EQ(main->palette().color(QPalette::Window), Theme(ColourRole::Window));
  EXPECT_EQ(mainUi().displayPanel->palette().color(QPalette::Window), Theme(ColourRole::Panel));
  EXPECT_EQ(mainUi().openFilesButton->FaceColour(), Theme(ColourRole::ButtonFace));
  EXPECT_EQ(mainUi().openFilesButton->GlowColour(), Theme(ColourRole::ButtonGlow));
  EXPECT_EQ(TextColour(mainUi().titleCaption), Theme(ColourRole::LabelText));
  EXPECT_EQ(mainUi().seekBar->ThumbColour(), Theme(ColourRole::Thumb));
  EXPECT_EQ(mainUi().bodyBackground->GradientEnd(), Theme(ColourRole::TitleStart));
  EXPECT_EQ(app.State().LogoTick, 0);
}

// "Настройки" opens the settings window; what it applies reaches the other
// windows, and its folders caption the playlist's conversion slots.
TEST_F(MainWindowTest, TheSettingsWindowReachesTheOtherWindows) {
  home.write("config.ini", "[folder]\r\ncount=1\r\n0=/srv/out/\r\n1=/\r\n");
  Start();
  SettingsWindow* settings = app.Windows().settings;
  ASSERT_NE(settings, nullptr);
  EXPECT_EQ(app.State().DestFolder, "/srv/out/");
  const PlaylistWindow::Controls plsUi = app.Windows().playlist->ControlsForTest();
  const auto folderSlots = plsUi.folderSlots;
  const QStringList formats{"Wave", "Ogg", "Mp3", "Aac"};
  for (size_t f = 0; f < folderSlots.size(); ++f) {
    EXPECT_EQ(plsUi.convertFormatMenus[f]->title(), formats[static_cast<qsizetype>(f)]);
    EXPECT_EQ(folderSlots[f][0]->text(), "/srv/out/");
    EXPECT_EQ(folderSlots[f][1]->text(), "/");
    for (int i = 2; i < 10; ++i) EXPECT_EQ(folderSlots[f][static_cast<size_t>(i)]->text(), QString("Path %1").arg(i + 1));
    // Only the slots of configured folders can be chosen.
    for (size_t i = 0; i < folderSlots[f].size(); ++i) EXPECT_EQ(folderSlots[f][i]->isEnabled(), i < 2) << i;
  }
  QAction* item = nullptr;
  for (QAction* a : mainUi().mainMenu->actions()) {
    if (a->text() == "Настройки") item = a;
  }
  ASSERT_NE(item, nullptr);
  item->trigger();
  EXPECT_TRUE(settings->isVisible());
  settings->ControlsForTest().roundButtonsCheck->setChecked(true);
  settings->Apply();
  EXPECT_EQ(mainUi().playButton->CornerRadius(), 7);
  EXPECT_EQ(plsUi.addButton->CornerRadius(), 7);
  settings->Cancel();
  EXPECT_EQ(mainUi().playButton->CornerRadius(), 0);
  EXPECT_EQ(plsUi.addButton->CornerRadius(), 0);
  EXPECT_FALSE(settings->isVisible());
}

}  // namespace
}  // namespace orve

namespace orve {
namespace {

TEST_F(MainWindowTest, TheEqualizerWindowFollowsItsToggleAndReportsBack) {
  Start("[eq]\r\nstatus=1\r\n[tech]\r\nvol=55\r\n");
  EqualizerWindow* eq = app.Windows().equalizer;
  ASSERT_NE(eq, nullptr);
  EXPECT_TRUE(eq->isVisible());
  EXPECT_EQ(mainUi().equalizerButton->text(), "ЭквВкл");
  EXPECT_EQ(TextColour(mainUi().equalizerLabel), Theme(ColourRole::Highlight));
  EXPECT_EQ(mainUi().volumeLabel->text(), "Грм:55%");
  QTest::mouseClick(mainUi().equalizerButton, Qt::LeftButton);
  EXPECT_FALSE(eq->isVisible());
  QTest::mouseClick(mainUi().equalizerLabel, Qt::LeftButton);
  EXPECT_TRUE(eq->isVisible());
  QTest::mouseClick(eq->ControlsForTest().closeButton, Qt::LeftButton);  // its own "X"
  EXPECT_FALSE(eq->isVisible());
  EXPECT_FALSE(app.State().EqualizerShown);
  EXPECT_EQ(mainUi().equalizerButton->text(), "ЭквВык");
  EXPECT_EQ(TextColour(mainUi().equalizerLabel), Theme(ColourRole::Panel));
  eq->ControlsForTest().volumeSlider->setValue(40);
  EXPECT_EQ(mainUi().volumeLabel->text(), "Грм:40%");
  End();
  IniFile config(home.file("config.ini"));
  EXPECT_EQ(config.Read(config::tech::kVolume), 40);
  EXPECT_FALSE(config.Read(config::eq::kShown));
}

}  // namespace
}  // namespace orve
