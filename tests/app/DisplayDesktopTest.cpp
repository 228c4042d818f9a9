// The display's drawing timers on a real desktop (Xvfb and openbox,
// DesktopTestMain.cpp): they run only while the display can be seen, so a
// player on another desktop or minimised wakes for nothing it would draw.
#include <QProcess>
#include <QTimer>

#include "PlaylistFixture.h"

namespace orve::test {
namespace {

class DisplayDesktopTest : public PlaylistFixture {
 protected:
  void SetUp() override {
    if (!qEnvironmentVariableIsSet("ORVE_TEST_DESKTOP")) GTEST_SKIP() << "no Xvfb, openbox or xdotool";
    PlaylistFixture::SetUp();
    home.write("config.ini", "[core]\r\nsplash=0\r\n");
    Start();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main));
  }

  bool Drawing() { return mainUi().visualisationTimer->isActive() && mainUi().idleTimer->isActive(); }
  bool Resting() { return !mainUi().visualisationTimer->isActive() && !mainUi().idleTimer->isActive(); }

  void Xdotool(const char* command) {
    ASSERT_EQ(QProcess::execute("xdotool", {command, QString::number(main->winId())}), 0) << command;
  }
};

TEST_F(DisplayDesktopTest, TheDisplayRestsWhileItsWindowIsOffTheScreen) {
  EXPECT_TRUE(Drawing());
  // What a switch to another desktop does to the window: unmapped.
  Xdotool("windowunmap");
  ASSERT_TRUE(WaitUntil([&] { return Resting(); }, 5000));
  const int tick = app.State().LogoTick;
  QTest::qWait(200);
  EXPECT_EQ(app.State().LogoTick, tick);
  Xdotool("windowmap");
  ASSERT_TRUE(WaitUntil([&] { return Drawing(); }, 5000));
  ASSERT_TRUE(WaitUntil([&] { return app.State().LogoTick > tick; }, 5000));
}

TEST_F(DisplayDesktopTest, TheDisplayRestsWhileMinimisedOrHidden) {
  main->showMinimized();
  ASSERT_TRUE(WaitUntil([&] { return Resting(); }, 5000));
  main->showNormal();
  ASSERT_TRUE(WaitUntil([&] { return Drawing(); }, 5000));
  main->hide();
  EXPECT_TRUE(Resting());
  main->show();
  ASSERT_TRUE(WaitUntil([&] { return Drawing(); }, 5000));
}

}  // namespace
}  // namespace orve::test
