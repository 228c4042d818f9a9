// The tray icon on a real X server with a tray (Xvfb + trayer, started by
// scripts/test), and the fallback where the desktop has none.
#include <gtest/gtest.h>

#include <QSystemTrayIcon>
#include <QTest>

#include "app/Application.h"
#include "app/Startup.h"
#include "app/TrayIcon.h"
#include "app/Unit1.h"
#include "support/TempDir.h"

namespace orve {
namespace {

bool RealTray() { return qEnvironmentVariableIsSet("ORVE_TEST_TRAY"); }

TEST(Tray, IconMenuMinimiseAndRestore) {
  if (!RealTray()) GTEST_SKIP() << "no X server with a tray (scripts/test starts Xvfb and trayer)";
  test::TempDir home;
  qputenv("ORVE_HOME", home.path().toUtf8());
  TApplication& app = *TApplication::Instance();
  // trayer docks the icon asynchronously; give it time to announce the tray.
  for (int i = 0; i < 100 && !QSystemTrayIcon::isSystemTrayAvailable(); ++i) QTest::qWait(100);
  ASSERT_TRUE(QSystemTrayIcon::isSystemTrayAvailable());
  ASSERT_TRUE(Startup(app, {}));
  TForm1* main = app.MainWindow();
  ASSERT_NE(app.Tray(), nullptr);
  ASSERT_TRUE(app.Tray()->IsShown());
  EXPECT_EQ(app.Tray()->Icon()->toolTip(), "ORVE 1.9");
  EXPECT_EQ(app.Tray()->Icon()->contextMenu(), main->AdvPopupMenu2);
  QTest::mouseClick(main->AdvGlassButton10, Qt::LeftButton);  // "-"
  EXPECT_TRUE(app.State().TrayMinimised);
  EXPECT_FALSE(main->isVisible());
  emit app.Tray()->Icon()->activated(QSystemTrayIcon::DoubleClick);
  EXPECT_FALSE(app.State().TrayMinimised);
  EXPECT_TRUE(main->isVisible());
  Shutdown(app);
}

TEST(Tray, WithoutATrayTheWindowMinimisesNormally) {
  if (RealTray()) GTEST_SKIP() << "this run has a tray";
  test::TempDir home;
  qputenv("ORVE_HOME", home.path().toUtf8());
  TApplication& app = *TApplication::Instance();
  ASSERT_TRUE(Startup(app, {}));
  EXPECT_FALSE(app.Tray()->IsShown());
  QTest::mouseClick(app.MainWindow()->AdvGlassButton10, Qt::LeftButton);
  EXPECT_FALSE(app.State().TrayMinimised);
  Shutdown(app);
}

}  // namespace
}  // namespace orve
