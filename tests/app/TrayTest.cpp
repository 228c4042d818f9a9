// The tray icon on a real X server with a tray (Xvfb + trayer, started by
// scripts/test), and the fallback where the desktop has none.
#include <gtest/gtest.h>

#include <QFile>
#include <QSystemTrayIcon>
#include <QTimer>
#include <csignal>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QTest>

#include "app/Application.h"
#include "app/Startup.h"
#include "app/NowPlayingWindow.h"
#include "app/TrayIcon.h"
#include "playlist/PlaylistWindow.h"
#include "app/MainWindow.h"
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

bool RealTray() { return qEnvironmentVariableIsSet("ORVE_TEST_TRAY"); }

TEST(Tray, IconMenuMinimiseAndRestore) {
  if (!RealTray()) GTEST_SKIP() << "no X server with a tray (scripts/test starts Xvfb and trayer)";
  test::TempDir home;
  qputenv("ORVE_HOME", home.path().toUtf8());
  Application& app = *Application::Instance();
  // trayer docks the icon asynchronously; give it time to announce the tray.
  for (int i = 0; i < 100 && !QSystemTrayIcon::isSystemTrayAvailable(); ++i) QTest::qWait(100);
  ASSERT_TRUE(QSystemTrayIcon::isSystemTrayAvailable());
  ASSERT_TRUE(Startup(app, {}));
  MainWindow* main = app.Windows().main;
  ASSERT_NE(app.Windows().tray, nullptr);
  ASSERT_TRUE(app.Windows().tray->IsShown());
  EXPECT_EQ(app.Windows().tray->Icon()->toolTip(), "ORVE 1.9");
  EXPECT_EQ(app.Windows().tray->Icon()->contextMenu(), main->MainMenu());
  QTest::mouseClick(main->ControlsForTest().minimiseButton, Qt::LeftButton);  // "-"
  EXPECT_TRUE(app.State().TrayMinimised);
  EXPECT_FALSE(main->isVisible());
  emit app.Windows().tray->Icon()->activated(QSystemTrayIcon::DoubleClick);
  EXPECT_FALSE(app.State().TrayMinimised);
  EXPECT_TRUE(main->isVisible());
  Shutdown(app);
}

// In the tray the main window is hidden; SIGTERM still ends the run, and
// the shutdown writes config.ini.
TEST(Tray, SigtermEndsARunMinimisedToTheTray) {
  if (!RealTray()) GTEST_SKIP() << "no X server with a tray (scripts/test starts Xvfb and trayer)";
  test::TempDir home;
  qputenv("ORVE_HOME", home.path().toUtf8());
  Application& app = *Application::Instance();
  app.State() = AppState();
  for (int i = 0; i < 100 && !QSystemTrayIcon::isSystemTrayAvailable(); ++i) QTest::qWait(100);
  ASSERT_TRUE(Startup(app, {}));
  QTest::mouseClick(app.Windows().main->ControlsForTest().minimiseButton, Qt::LeftButton);  // "-"
  ASSERT_TRUE(app.State().TrayMinimised);
  EXPECT_TRUE(test::LoopEndsAfter([] { ::raise(SIGTERM); }));
  Shutdown(app);
  EXPECT_TRUE(QFile::exists(home.file("config.ini")));
}

// A left click on the icon shows or hides the now-playing window, only
// while the program is in the tray; coming back hides it, and the docked
// windows return as they were.
TEST(Tray, ALeftClickInTheTrayShowsWhatIsPlaying) {
  if (!RealTray()) GTEST_SKIP() << "no X server with a tray (scripts/test starts Xvfb and trayer)";
  test::TempDir home;
  qputenv("ORVE_HOME", home.path().toUtf8());
  home.write("config.ini", "[core]\r\nsplash=0\r\n[tech]\r\npls=1\r\n");
  Application& app = *Application::Instance();
  app.State() = AppState();
  for (int i = 0; i < 100 && !QSystemTrayIcon::isSystemTrayAvailable(); ++i) QTest::qWait(100);
  ASSERT_TRUE(Startup(app, {}));
  QSystemTrayIcon* icon = app.Windows().tray->Icon();
  NowPlayingWindow* nowPlaying = app.Windows().nowPlaying;
  emit icon->activated(QSystemTrayIcon::Trigger);
  EXPECT_FALSE(nowPlaying->isVisible());  // not in the tray: nothing
  QTest::mouseClick(app.Windows().main->ControlsForTest().minimiseButton, Qt::LeftButton);
  ASSERT_TRUE(app.State().TrayMinimised);
  EXPECT_FALSE(app.Windows().playlist->isVisible());  // every window leaves the screen
  emit icon->activated(QSystemTrayIcon::Trigger);
  EXPECT_TRUE(nowPlaying->isVisible());
  emit icon->activated(QSystemTrayIcon::Trigger);
  EXPECT_FALSE(nowPlaying->isVisible());
  emit icon->activated(QSystemTrayIcon::Trigger);
  emit icon->activated(QSystemTrayIcon::DoubleClick);  // restored
  EXPECT_FALSE(app.State().TrayMinimised);
  EXPECT_FALSE(nowPlaying->isVisible());
  EXPECT_TRUE(app.Windows().playlist->isVisible());
  Shutdown(app);
}

TEST(Tray, WithoutATrayTheWindowMinimisesNormally) {
  if (RealTray()) GTEST_SKIP() << "this run has a tray";
  test::TempDir home;
  qputenv("ORVE_HOME", home.path().toUtf8());
  Application& app = *Application::Instance();
  ASSERT_TRUE(Startup(app, {}));
  EXPECT_FALSE(app.Windows().tray->IsShown());
  QTest::mouseClick(app.Windows().main->ControlsForTest().minimiseButton, Qt::LeftButton);
  EXPECT_FALSE(app.State().TrayMinimised);
  Shutdown(app);
}

}  // namespace
}  // namespace orve
