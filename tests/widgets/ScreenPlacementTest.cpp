// The rules that keep a frameless window on its monitor and snap it to the
// work area, on arrangements of monitors given as rectangles.
#include <gtest/gtest.h>

#include "support/QtPrinters.h"
#include "widgets/ScreenPlacement.h"

namespace orve {
namespace {

// A 1024 x 768 monitor with a 30-pixel panel at the top, and a 1280 x 1024
// monitor to its right with no panel.
const QList<Monitor> kTwoMonitors{{QRect(0, 0, 1024, 768), QRect(0, 30, 1024, 738)},
                                  {QRect(1024, 0, 1280, 1024), QRect(1024, 0, 1280, 1024)}};

TEST(ScreenPlacement, SnapsWithinFivePixelsOfEachEdgeAndNotAtSix) {
  const QRect area(0, 30, 1024, 738);
  struct Case {
    QPoint at;
    QPoint snapped;
  } cases[] = {
      {{5, 300}, {0, 300}},       {{6, 300}, {6, 300}},       {{-5, 300}, {0, 300}},
      {{715, 300}, {720, 300}},   {{714, 300}, {714, 300}},   {{725, 300}, {720, 300}},  // right: 1024 - 304
      {{400, 35}, {400, 30}},     {{400, 36}, {400, 36}},     {{400, 25}, {400, 30}},
      {{400, 613}, {400, 618}},   {{400, 612}, {400, 612}},   {{400, 623}, {400, 618}},  // bottom: 768 - 150
      {{3, 33}, {0, 30}},  // a corner snaps both ways
  };
  for (const Case& c : cases) EXPECT_EQ(SnapToEdges(QRect(c.at, QSize(304, 150)), area), c.snapped) << c.at;
}

TEST(ScreenPlacement, ADraggedWindowStaysOnItsMonitor) {
  struct Case {
    QPoint proposed;
    bool keepWhole;
    QPoint placed;
  } cases[] = {
      {{-50, -40}, false, {0, 0}},      // the top-left corner comes back (above the panel too)
      {{-50, -40}, true, {0, 0}},
      {{800, 700}, false, {800, 700}},  // a satellite may hang over the right and bottom
      {{800, 700}, true, {720, 618}},   // the main window may not
      {{500, 300}, true, {500, 300}},
      {{900, 300}, true, {900, 300}},   // mostly on the second monitor: inside its work area
      {{1500, -20}, false, {1500, 0}},  // on the second monitor, its own top
      {{1028, 400}, false, {1024, 400}},  // snapped to the second monitor's left edge
      {{1030, 400}, false, {1030, 400}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PlaceDragged(QRect(c.proposed, QSize(304, 150)), c.keepWhole, kTwoMonitors), c.placed)
        << c.proposed << " keepWhole " << c.keepWhole;
  }
  // No monitor at all: the window goes where it was taken.
  EXPECT_EQ(PlaceDragged(QRect(-50, -40, 304, 150), true, {}), QPoint(-50, -40));
}

TEST(ScreenPlacement, TheMonitorOfAWindowIsTheOneItOverlapsMostElseTheNearest) {
  EXPECT_EQ(MonitorOf(QRect(900, 100, 304, 150), kTwoMonitors), 1);  // 124 px on the first, 180 on the second
  EXPECT_EQ(MonitorOf(QRect(800, 100, 304, 150), kTwoMonitors), 0);
  EXPECT_EQ(MonitorOf(QRect(-900, 100, 304, 150), kTwoMonitors), 0);  // left of everything
  EXPECT_EQ(MonitorOf(QRect(3000, 900, 304, 150), kTwoMonitors), 1);  // right of the second
  EXPECT_EQ(MonitorOf(QRect(100, 900, 304, 150), kTwoMonitors), 0);   // below the first, nearer it
  EXPECT_EQ(MonitorOf(QRect(0, 0, 10, 10), {}), -1);
}

TEST(ScreenPlacement, AWindowOnNoMonitorIsBroughtOntoTheNearest) {
  struct Case {
    QPoint stored;
    QPoint placed;
  } cases[] = {
      {{2600, 300}, {2000, 300}},   // the second monitor's right part was unplugged
      {{-2000, -500}, {0, 30}},     // far up-left: into the first monitor's work area
      {{300, 900}, {300, 618}},      // below the first monitor, nearer it than the second
      {{100, 100}, {100, 100}},     // on screen: untouched
      {{-280, 100}, {0, 100}},      // 24 pixels showing: too little of the strip to take it by
      {{-272, 100}, {-272, 100}},   // 32 pixels: enough
  };
  for (const Case& c : cases) {
    EXPECT_EQ(OntoSomeMonitor(QRect(c.stored, QSize(304, 150)), kTwoMonitors), c.placed) << c.stored;
  }
}

}  // namespace
}  // namespace orve
