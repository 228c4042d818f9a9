// The track bar: the pointer-to-position mapping (the seek bar's click rule),
// both orientations, the switch form, the order of its signals, wheel and
// keys, and the thumb as painted.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include "widgets/TrackBar.h"
#include "widgets/TrackMapping.h"

namespace orve {
namespace {

struct MapCase {
  const char* name;
  int offset, extent, minimum, maximum, expected;
};

class TrackPositionTest : public ::testing::TestWithParam<MapCase> {};

TEST_P(TrackPositionTest, MapsTheOffsetToAPosition) {
  const MapCase& c = GetParam();
  EXPECT_EQ(TrackPositionAt(c.offset, c.extent, c.minimum, c.maximum), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TrackPositionTest,
    ::testing::Values(
        // The seek bar: 304 pixels, a track of 300 seconds (range below the width).
        MapCase{"SeekLeftEnd", 0, 304, 0, 300, 0}, MapCase{"SeekMiddle", 152, 304, 0, 300, 150},
        MapCase{"SeekRightEnd", 303, 304, 0, 300, 299},  // 303 * 300 / 304 = 299.01
        MapCase{"SeekPastTheEnd", 400, 304, 0, 300, 300}, MapCase{"SeekBeforeTheStart", -5, 304, 0, 300, 0},
        // Range above the width: a long track, several seconds per pixel.
        MapCase{"LongTrack", 10, 304, 0, 3600, 118},  // 10 * 3600 / 304 = 118.42
        // Halves go to the even neighbour: 1 / (4 / 2) = 0.5 and 3 / 2 = 1.5.
        MapCase{"HalfDown", 1, 4, 0, 2, 0}, MapCase{"HalfUp", 3, 4, 0, 2, 2},
        // A stream of unknown length has the range 0..0.
        MapCase{"EmptyRange", 100, 304, 0, 0, 0}, MapCase{"EmptyTrack", 5, 0, 0, 10, 0},
        // A range that does not start at 0.
        MapCase{"OffsetRange", 5, 10, 10, 20, 15}, MapCase{"NegativeRange", 0, 31, -15, 15, -15}),
    [](const ::testing::TestParamInfo<MapCase>& p) { return std::string(p.param.name); });

TEST(ThumbCentreTest, TheThumbStaysOnTheTrack) {
  EXPECT_DOUBLE_EQ(ThumbCentreAt(0, 100, 10, 0, 50), 5.0);
  EXPECT_DOUBLE_EQ(ThumbCentreAt(50, 100, 10, 0, 50), 95.0);
  EXPECT_DOUBLE_EQ(ThumbCentreAt(25, 100, 10, 0, 50), 50.0);
  EXPECT_DOUBLE_EQ(ThumbCentreAt(7, 100, 10, 0, 0), 5.0);
}

// Records the signals in the order they come.
struct SignalLog {
  explicit SignalLog(TrackBar& bar) {
    QObject::connect(&bar, &TrackBar::sliderPressed, [this] { events << "press"; });
    QObject::connect(&bar, &TrackBar::valueChanged, [this](int v) { events << QStringLiteral("change %1").arg(v); });
    QObject::connect(&bar, &TrackBar::sliderReleased, [this] { events << "release"; });
  }
  QStringList events;
};

class TrackBarTest : public ::testing::Test {
 protected:
  void Show(TrackBar& bar, QSize size) {
    bar.resize(size);
    bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
  }
  void Move(TrackBar& bar, QPoint to) {
    QMouseEvent move(QEvent::MouseMove, QPointF(to), bar.mapToGlobal(QPointF(to)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&bar, &move);
  }
};

struct ClickCase {
  const char* name;
  Qt::Orientation orientation;
  QSize size;
  int maximum;
  QPoint at;
  int expected;
};

class TrackBarClickTest : public TrackBarTest, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(TrackBarClickTest, AClickMovesToThePositionUnderThePointer) {
  const ClickCase& c = GetParam();
  TrackBar bar(c.orientation);
  bar.setRange(0, c.maximum);
  Show(bar, c.size);
  QTest::mouseClick(&bar, Qt::LeftButton, {}, c.at);
  EXPECT_EQ(bar.value(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TrackBarClickTest,
    ::testing::Values(
        ClickCase{"SeekLeft", Qt::Horizontal, {304, 16}, 300, {0, 8}, 0},
        ClickCase{"SeekMiddle", Qt::Horizontal, {304, 16}, 300, {152, 8}, 150},
        ClickCase{"SeekRight", Qt::Horizontal, {304, 16}, 300, {303, 8}, 299},
        ClickCase{"SeekStream", Qt::Horizontal, {304, 16}, 0, {200, 8}, 0},
        // An equalizer band: 73 pixels high, 0..30, the top is the maximum.
        ClickCase{"BandBottom", Qt::Vertical, {11, 73}, 30, {5, 72}, 0},
        ClickCase{"BandTop", Qt::Vertical, {11, 73}, 30, {5, 0}, 30},       // 72 * 30 / 73 = 29.6
        ClickCase{"BandMiddle", Qt::Vertical, {11, 73}, 30, {5, 36}, 15}),  // 36 * 30 / 73 = 14.8
    [](const ::testing::TestParamInfo<ClickCase>& p) { return std::string(p.param.name); });

TEST_F(TrackBarTest, SignalsComeAsPressChangeRelease) {
  TrackBar bar;
  bar.setRange(0, 300);
  Show(bar, {304, 16});
  SignalLog log(bar);
  QTest::mousePress(&bar, Qt::LeftButton, {}, {100, 8});
  Move(bar, {120, 8});
  QTest::mouseRelease(&bar, Qt::LeftButton, {}, {120, 8});
  EXPECT_EQ(log.events, (QStringList{"press", "change 99", "change 118", "release"}));
}

TEST_F(TrackBarTest, ADragFollowsThePointerAndReachesTheEndsPastTheBar) {
  TrackBar bar;
  bar.setRange(0, 300);
  Show(bar, {304, 16});
  QTest::mousePress(&bar, Qt::LeftButton, {}, {10, 8});
  Move(bar, {500, 8});
  EXPECT_EQ(bar.value(), 300);
  Move(bar, {-40, 8});
  EXPECT_EQ(bar.value(), 0);
  QTest::mouseRelease(&bar, Qt::LeftButton, {}, {-40, 8});
  Move(bar, {200, 8});
  EXPECT_EQ(bar.value(), 0) << "no following once released";
}

TEST_F(TrackBarTest, ClickingWhereTheValueAlreadyIsReportsNoChange) {
  TrackBar bar;
  bar.setRange(0, 300);
  Show(bar, {304, 16});
  SignalLog log(bar);
  QTest::mouseClick(&bar, Qt::LeftButton, {}, {0, 8});
  EXPECT_EQ(log.events, (QStringList{"press", "release"}));
}

TEST_F(TrackBarTest, OtherButtonsDoNothing) {
  TrackBar bar;
  bar.setRange(0, 300);
  Show(bar, {304, 16});
  SignalLog log(bar);
  QTest::mouseClick(&bar, Qt::RightButton, {}, {150, 8});
  EXPECT_TRUE(log.events.isEmpty());
  EXPECT_EQ(bar.value(), 0);
}

TEST_F(TrackBarTest, TheSwitchFlipsOnEachPress) {
  TrackBar bar(Qt::Vertical);
  bar.SetSwitchMode(true);
  Show(bar, {12, 25});
  EXPECT_EQ(bar.maximum(), 1);
  SignalLog log(bar);
  QTest::mouseClick(&bar, Qt::LeftButton, {}, {6, 20});
  EXPECT_EQ(bar.value(), 1);
  QTest::mouseClick(&bar, Qt::LeftButton, {}, {6, 2});
  EXPECT_EQ(bar.value(), 0);
  EXPECT_EQ(log.events, (QStringList{"press", "change 1", "release", "press", "change 0", "release"}));
}

TEST_F(TrackBarTest, KeysStepLikeASlider) {
  TrackBar bar(Qt::Vertical);
  bar.setRange(0, 30);
  bar.setValue(15);
  bar.setPageStep(5);
  Show(bar, {11, 73});
  QTest::keyClick(&bar, Qt::Key_Up);
  EXPECT_EQ(bar.value(), 16);
  QTest::keyClick(&bar, Qt::Key_PageDown);
  EXPECT_EQ(bar.value(), 11);
  QTest::keyClick(&bar, Qt::Key_End);
  EXPECT_EQ(bar.value(), 30);
}

TEST_F(TrackBarTest, TheWheelSteps) {
  TrackBar bar;
  bar.setRange(0, 100);
  bar.setValue(50);
  Show(bar, {73, 15});
  QWheelEvent wheel(QPointF(5, 5), bar.mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(&bar, &wheel);
  EXPECT_EQ(bar.value(), 50 + QApplication::wheelScrollLines());
}

TEST_F(TrackBarTest, TheThumbIsCutToTheBarAndSitsAtItsValue) {
  TrackBar bar;
  bar.setRange(0, 300);
  bar.SetThumbSize(10, 56);
  Show(bar, {304, 16});
  EXPECT_EQ(bar.ThumbRect(), QRectF(0, 0, 10, 16));
  bar.setValue(300);
  EXPECT_EQ(bar.ThumbRect(), QRectF(294, 0, 10, 16));
}

TEST_F(TrackBarTest, AVerticalThumbRisesWithTheValue) {
  TrackBar bar(Qt::Vertical);
  bar.setRange(0, 30);
  bar.SetThumbSize(8, 30);
  Show(bar, {11, 73});
  bar.setValue(0);
  EXPECT_EQ(bar.ThumbRect(), QRectF(0, 65, 11, 8));
  bar.setValue(30);
  EXPECT_EQ(bar.ThumbRect(), QRectF(0, 0, 11, 8));
}

TEST_F(TrackBarTest, TheThumbIsPaintedInItsFillColourAtItsPlace) {
  const QColor fill(0xFF, 0x20, 0x20), outline(0x20, 0xFF, 0x20), track(0x20, 0x20, 0xFF);
  TrackBar bar;
  bar.setRange(0, 300);
  bar.setValue(150);
  bar.SetThumbSize(10, 56);
  bar.SetThumbColour(fill);
  bar.SetThumbOutlineColour(outline);
  bar.SetTrackColour(track);
  bar.SetBackgroundColour(Qt::black);
  Show(bar, {304, 16});
  const QImage image = bar.grab().toImage();
  const QRect thumb = bar.ThumbRect().toRect();
  EXPECT_EQ(image.pixelColor(thumb.center().x(), thumb.center().y()), fill);
  EXPECT_EQ(image.pixelColor(thumb.left(), thumb.center().y()), outline);
  EXPECT_EQ(image.pixelColor(thumb.right(), thumb.center().y()), outline);
  EXPECT_NE(image.pixelColor(thumb.left() - 1, thumb.center().y()), outline);
  // Left of the thumb the groove shows the track colour (blue dominates).
  const QColor groove = image.pixelColor(60, 8);
  EXPECT_GT(groove.blue(), 2 * groove.red()) << groove.name().toStdString();
}

}  // namespace
}  // namespace orve
