// Docking, snapping, keeping on screen and the first-run layout on a real
// desktop (Xvfb and openbox, DesktopTestMain.cpp), driven by the real
// pointer through xdotool.
#include <QProcess>
#include <QSlider>

#include "PlaylistFixture.h"
#include "appearance/TransparencyWindow.h"
#include "widgets/ScreenPlacement.h"

namespace orve::test {
namespace {

class DockingDesktopTest : public PlaylistFixture {
 protected:
  void SetUp() override {
    if (!qEnvironmentVariableIsSet("ORVE_TEST_DESKTOP")) GTEST_SKIP() << "no Xvfb, openbox or xdotool";
    PlaylistFixture::SetUp();
  }

  // Starts the program with `config` and waits until its shown windows are
  // on the screen; no splash over them to take the pointer's clicks.
  void StartWith(const QByteArray& config) {
    home.write("config.ini", "[core]\r\nsplash=0\r\n" + config);
    Start();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main));
    if (pls->isVisible()) {
      ASSERT_TRUE(QTest::qWaitForWindowExposed(pls));
    }
    if (eq->isVisible()) {
      ASSERT_TRUE(QTest::qWaitForWindowExposed(eq));
    }
    Pointer({"mousemove", "1010", "750"});  // out of every window's way
  }

  static void Pointer(const QStringList& arguments) {
    ASSERT_EQ(QProcess::execute("xdotool", arguments), 0) << arguments.join(' ').toStdString();
  }

  // A press at `from`, the pointer moved to `to` in a few steps, released.
  static void Drag(QPoint from, QPoint to) {
    Pointer({"mousemove", QString::number(from.x()), QString::number(from.y())});
    Pointer({"mousedown", "1"});
    for (int step = 1; step <= 3; ++step) {
      const QPoint at = from + (to - from) * step / 3;
      Pointer({"mousemove", QString::number(at.x()), QString::number(at.y())});
    }
    Pointer({"mouseup", "1"});
  }

  static void Click(const QWidget* control) {
    const QPoint at = control->mapToGlobal(control->rect().center());
    Pointer({"mousemove", QString::number(at.x()), QString::number(at.y())});
    Pointer({"click", "1"});
  }

  // Where the pointer takes each window by its strip.
  QPoint MainStrip() const { return main->pos() + QPoint(150, 8); }
  QPoint EqualizerStrip() const { return eq->pos() + QPoint(150, 8); }
};

TEST_F(DockingDesktopTest, AFirstRunShowsAColumnWithEveryToggleInReach) {
  StartWith({});
  const QRect area = Monitors().front().workArea;
  EXPECT_EQ(main->frameGeometry(), QRect(area.left() + (area.width() - 304) / 2, area.top() + (area.height() - 150) / 2, 304, 150));
  // The playlist toggle, clicked twice, shows the playlist and hides it
  // again: the playlist does not open over it.
  Click(mainUi().playlistButton);
  EXPECT_EQ_SOON(pls->isVisible(), true, 5000);
  Click(mainUi().equalizerButton);
  EXPECT_EQ_SOON(eq->isVisible(), true, 5000);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(pls));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(eq));
  EXPECT_EQ(eq->frameGeometry(), QRect(main->x(), main->y() + 150, 304, 150));
  EXPECT_EQ(pls->frameGeometry(), QRect(main->x(), main->y() + 300, 304, 150));
  Click(mainUi().playlistButton);
  EXPECT_EQ_SOON(pls->isVisible(), false, 5000);
  EXPECT_EQ(mainUi().playlistButton->text(), "Пл Вык");
  // The column travels as one: the equalizer docked below the main
  // window, the playlist below the equalizer.
  const QPoint before = main->pos();
  Drag(MainStrip(), MainStrip() + QPoint(-60, -40));
  EXPECT_EQ_SOON(main->pos(), before + QPoint(-60, -40), 5000);
  EXPECT_EQ_SOON(eq->pos(), main->pos() + QPoint(0, 150), 5000);
  EXPECT_EQ_SOON(pls->pos(), main->pos() + QPoint(0, 300), 5000);
}

TEST_F(DockingDesktopTest, ADockedSatelliteFollowsTheMainWindowOnEachSideAndOnePixelOffDoesNot) {
  // The equalizer on one side of the main window (at 360, 300), the
  // playlist one pixel away from another.
  struct Case {
    const char* side;
    QPoint equalizer;
    QPoint playlist;
  } cases[] = {
      {"right", {664, 320}, {381, 451}},
      {"top", {380, 150}, {665, 400}},
      {"left", {56, 310}, {381, 451}},
      {"bottom", {340, 450}, {665, 400}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.side);
    StartWith(QStringLiteral("[main]\r\nx=360\r\ny=300\r\n[eq]\r\nx=%1\r\ny=%2\r\nstatus=1\r\n"
                             "[pls]\r\nx=%3\r\ny=%4\r\nxd=304\r\nyd=150\r\n[tech]\r\npls=1\r\n")
                  .arg(c.equalizer.x()).arg(c.equalizer.y()).arg(c.playlist.x()).arg(c.playlist.y())
                  .toUtf8());
    EXPECT_EQ(eq->pos(), c.equalizer);
    Drag(MainStrip(), MainStrip() + QPoint(37, -23));
    EXPECT_EQ_SOON(main->pos(), QPoint(397, 277), 5000);
    EXPECT_EQ_SOON(eq->pos(), c.equalizer + QPoint(37, -23), 5000);
    EXPECT_EQ(pls->pos(), c.playlist);
    End();
  }
}

TEST_F(DockingDesktopTest, ASatelliteDraggedAwayUndocksAndDocksAgainWhereItTouches) {
  StartWith("[main]\r\nx=300\r\ny=200\r\n[eq]\r\nx=300\r\ny=350\r\nstatus=1\r\n");
  Drag(EqualizerStrip(), EqualizerStrip() + QPoint(40, 30));
  EXPECT_EQ_SOON(eq->pos(), QPoint(340, 380), 5000);
  EXPECT_FALSE(app.State().EqualizerDock.Docked());
  Drag(MainStrip(), MainStrip() + QPoint(-50, 0));
  EXPECT_EQ_SOON(main->pos(), QPoint(250, 200), 5000);
  EXPECT_EQ(eq->pos(), QPoint(340, 380));
  // Against the main window's right edge, exactly: docked again.
  Drag(EqualizerStrip(), EqualizerStrip() + QPoint(554 - 340, 210 - 380));
  EXPECT_EQ_SOON(eq->pos(), QPoint(554, 210), 5000);
  EXPECT_TRUE(app.State().EqualizerDock.right);
  Drag(MainStrip(), MainStrip() + QPoint(10, 10));
  EXPECT_EQ_SOON(eq->pos(), QPoint(564, 220), 5000);
}

TEST_F(DockingDesktopTest, AWindowSnapsToTheWorkAreaWithinFivePixelsAndNotAtSix) {
  StartWith("[main]\r\nx=300\r\ny=200\r\n");
  const QRect area = Monitors().front().workArea;
  Drag(MainStrip(), MainStrip() + QPoint(area.left() + 5 - 300, area.top() + 6 - 200));
  EXPECT_EQ_SOON(main->pos(), QPoint(area.left(), area.top() + 6), 5000);
  Drag(MainStrip(), MainStrip() + QPoint(6, -6 + 5));
  EXPECT_EQ_SOON(main->pos(), QPoint(area.left() + 6, area.top()), 5000);
  // The right and bottom edges; the main window cannot leave the work area there.
  const QPoint corner(area.right() + 1 - 304, area.bottom() + 1 - 150);
  Drag(MainStrip(), MainStrip() + corner - main->pos() + QPoint(-4, -5));
  EXPECT_EQ_SOON(main->pos(), corner, 5000);
  Drag(MainStrip(), MainStrip() + QPoint(-100, -100));
  Drag(MainStrip(), MainStrip() + QPoint(300, 300));
  EXPECT_EQ_SOON(main->pos(), corner, 5000);
}

TEST_F(DockingDesktopTest, AWindowPartlyOffTheTopLeftComesBackWhenThePointerIsOverIt) {
  StartWith("[pls]\r\nx=200\r\ny=200\r\n[tech]\r\npls=1\r\n");
  pls->move(-50, -30);  // as a keyboard move by the window manager would
  EXPECT_EQ_SOON(pls->pos(), QPoint(-50, -30), 5000);
  Pointer({"mousemove", "100", "60"});
  EXPECT_EQ_SOON(pls->pos(), QPoint(0, 0), 5000);
}

TEST_F(DockingDesktopTest, ThePlaylistsSizingCornerStopsAtTheWorkArea) {
  StartWith("[pls]\r\nx=600\r\ny=500\r\nxd=304\r\nyd=150\r\n[tech]\r\npls=1\r\n");
  const QRect area = Monitors().front().workArea;
  const QPoint grip = pls->pos() + QPoint(304 - 5, 150 - 5);
  Drag(grip, QPoint(area.right(), area.bottom()));
  EXPECT_EQ_SOON(pls->frameGeometry().bottomRight(), area.bottomRight(), 5000);
  // Made smaller, it still keeps its minimum.
  const QPoint corner = pls->pos() + QPoint(pls->width() - 5, pls->height() - 5);
  Drag(corner, corner - QPoint(400, 400));
  EXPECT_EQ_SOON(pls->size(), QSize(304, 150), 5000);
}

TEST_F(DockingDesktopTest, AStoredPositionOffEveryScreenIsBroughtBack) {
  StartWith("[main]\r\nx=3000\r\ny=2000\r\n");
  const QRect area = Monitors().front().workArea;
  EXPECT_TRUE(area.contains(main->frameGeometry())) << main->frameGeometry();
}

TEST_F(DockingDesktopTest, WithoutACompositorTheTransparencyWindowSaysSo) {
  StartWith({});
  TransparencyWindow* window = app.Windows().transparency;
  window->Open();
  EXPECT_TRUE(window->ControlsForTest().noCompositorNote->isVisible());
  window->ControlsForTest().sliders[0]->setValue(128);
  EXPECT_NEAR(main->windowOpacity(), 128 / 255.0, 0.001);
}

}  // namespace
}  // namespace orve::test
