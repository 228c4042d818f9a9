// The docking rules and the windows' start layout, on rectangles.
#include <gtest/gtest.h>

#include <climits>

#include "app/Docking.h"
#include "app/StartLayout.h"
#include "support/QtPrinters.h"

namespace orve {
namespace {

const QRect kMain(400, 300, 304, 150);
const QSize kSatellite(304, 150);

TEST(Docking, ASatelliteDocksOnlyWhenItsEdgeLiesExactlyOnASide) {
  struct Case {
    QPoint at;
    DockRecord dock;
  } cases[] = {
      {{704, 320}, {.right = true, .dy = 20, .dx = 304}},
      {{705, 320}, {.dy = 20, .dx = 305}},  // one pixel off: not docked
      {{380, 150}, {.top = true, .dy = -150, .dx = -20}},
      {{380, 149}, {.dy = -151, .dx = -20}},
      {{96, 310}, {.left = true, .dy = 10, .dx = -304}},
      {{95, 310}, {.dy = 10, .dx = -305}},
      {{450, 450}, {.bottom = true, .dy = 150, .dx = 50}},
      {{450, 451}, {.dy = 151, .dx = 50}},
      {{704, 450}, {.right = true, .bottom = true, .dy = 150, .dx = 304}},  // touching a corner: two sides
  };
  for (const Case& c : cases) EXPECT_EQ(DetectDock(kMain, QRect(c.at, kSatellite)), c.dock) << c.at;
}

TEST(Docking, ADockedSatelliteFollowsTheMainWindowOnEachSide) {
  const QRect moved(100, 200, 304, 150);
  for (const QPoint at : {QPoint(704, 320), QPoint(380, 150), QPoint(96, 310), QPoint(450, 450), QPoint(704, 450)}) {
    const DockRecord dock = DetectDock(kMain, QRect(at, kSatellite));
    // Wherever the main window goes, the satellite keeps its place against it.
    EXPECT_EQ(FollowPosition(dock, moved, kSatellite, at), at - kMain.topLeft() + moved.topLeft()) << at;
  }
  // Not docked: it stays.
  EXPECT_EQ(FollowPosition(DetectDock(kMain, QRect(QPoint(705, 320), kSatellite)), moved, kSatellite, {705, 320}),
            QPoint(705, 320));
  // A satellite of another height docked on top keeps its bottom on the main window's top.
  const DockRecord onTop = DetectDock(kMain, QRect(400, 100, 304, 200));
  EXPECT_EQ(FollowPosition(onTop, moved, QSize(304, 200), {400, 100}), QPoint(100, 0));
}

const QList<Monitor> kScreen{{QRect(0, 0, 1024, 768), QRect(0, 0, 1024, 768)}};

TEST(StartLayout, AFirstRunShowsTheThreeWindowsDockedOneBelowTheOther) {
  const WindowLayout layout = StartLayout({}, kScreen);
  EXPECT_EQ(layout.main, QRect(360, 309, 304, 150));  // centred on the work area
  EXPECT_EQ(layout.equalizer, QRect(360, 459, 304, 150));
  EXPECT_EQ(layout.playlist, QRect(360, 609, 304, 150));  // the playlist's minimum size
  EXPECT_TRUE(DetectDock(layout.main, layout.equalizer).bottom);
  EXPECT_TRUE(DetectDock(layout.equalizer, layout.playlist).bottom);
  // A work area too low for the column: the main window rises until the
  // column fits, never above the work area.
  const WindowLayout low = StartLayout({}, {{QRect(0, 0, 800, 500), QRect(0, 40, 800, 460)}});
  EXPECT_EQ(low.main.topLeft(), QPoint(248, 50));
  EXPECT_EQ(low.playlist.bottom(), 499);
  StoredPlacement tallPlaylist;
  tallPlaylist.playlistSize = QSize(304, 600);
  EXPECT_EQ(StartLayout(tallPlaylist, kScreen).main.top(), 0);
}

TEST(StartLayout, StoredPositionsAreUsedExactlyAndOnlyTheAbsentArePlaced) {
  StoredPlacement stored;
  stored.main = QPoint(7, 8);
  stored.playlist = QPoint(40, 50);
  stored.playlistSize = QSize(320, 100);  // below the minimum height
  const WindowLayout layout = StartLayout(stored, kScreen);
  EXPECT_EQ(layout.main, QRect(7, 8, 304, 150));
  EXPECT_EQ(layout.equalizer, QRect(7, 158, 304, 150));  // absent: docked below the main window
  EXPECT_EQ(layout.playlist, QRect(40, 50, 320, 150));
}

TEST(StartLayout, WindowsStoredOnAnUnpluggedMonitorComeBackWithWhatIsDockedToThem) {
  StoredPlacement stored;
  stored.main = QPoint(1500, 200);  // on a second monitor that is gone
  stored.equalizer = QPoint(1804, 200);  // docked right of it
  stored.playlist = QPoint(1804, 350);   // below the equalizer
  stored.playlistSize = QSize(304, 150);
  const WindowLayout layout = StartLayout(stored, kScreen);
  // The three come back together, as far as the right edge lets them.
  EXPECT_EQ(layout.main, QRect(416, 200, 304, 150));
  EXPECT_EQ(layout.equalizer.topLeft(), QPoint(720, 200));
  EXPECT_EQ(layout.playlist.topLeft(), QPoint(720, 350));
  // A window that is on screen stays where it was stored.
  stored.equalizer = QPoint(10, 10);
  EXPECT_EQ(StartLayout(stored, kScreen).equalizer.topLeft(), QPoint(10, 10));
}

// Damaged stored values: a size beyond every monitor is cut to the largest
// work area, a position beyond any desktop comes back on the screen.
TEST(StartLayout, DamagedStoredValuesAreKeptToTheScreens) {
  StoredPlacement stored;
  stored.main = QPoint(INT_MAX, INT_MIN);
  stored.playlist = QPoint(0, 300);
  stored.playlistSize = QSize(60000, 60000);
  const QList<Monitor> two{{QRect(0, 0, 1024, 768), QRect(0, 0, 1024, 740)},
                           {QRect(1024, 0, 1920, 1080), QRect(1024, 0, 1920, 1040)}};
  const WindowLayout layout = StartLayout(stored, two);
  EXPECT_EQ(layout.playlist.size(), QSize(1920, 1040));
  EXPECT_GE(MonitorOf(layout.main, two), 0);
  EXPECT_TRUE(two[MonitorOf(layout.main, two)].geometry.intersects(layout.main)) << layout.main;
  stored.playlistSize = QSize(-5, INT_MAX);
  EXPECT_EQ(StartLayout(stored, kScreen).playlist.size(), QSize(304, 768));
}

}  // namespace
}  // namespace orve
