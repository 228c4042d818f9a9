// The widgets on a screen of scale 2: the same paint code under a scale
// transform gives pictures of twice the pixels, with one-design-pixel edges
// two solid device pixels wide (no blur into the neighbours).
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include <QPainter>

#include "widgets/DrawingSurface.h"
#include "widgets/GlassButton.h"
#include "widgets/GradientBackground.h"
#include "widgets/MarkupListBox.h"
#include "widgets/TrackBar.h"

namespace orve {
namespace {

QImage Grab(QWidget& w) {
  w.show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
  const QPixmap pixmap = w.grab();
  EXPECT_DOUBLE_EQ(pixmap.devicePixelRatio(), 2.0);
  EXPECT_EQ(pixmap.size(), w.size() * 2);
  return pixmap.toImage();
}

TEST(HiDpiTest, TheApplicationRunsAtScaleTwo) { EXPECT_DOUBLE_EQ(qApp->devicePixelRatio(), 2.0); }

TEST(HiDpiTest, APanelFrameIsTwoSolidDevicePixels) {
  GradientBackground panel;
  const QColor frame(0xFF, 0x00, 0x00);
  panel.SetFrameColour(frame);
  panel.SetGradientStart(Qt::black);
  panel.SetGradientEnd(Qt::blue);
  panel.resize(60, 16);
  const QImage image = Grab(panel);
  for (int y : {6, 16, 26}) {
    EXPECT_EQ(image.pixelColor(0, y), frame);
    EXPECT_EQ(image.pixelColor(1, y), frame);
    EXPECT_EQ(image.pixelColor(2, y).red(), 0) << "the frame does not bleed inwards";
    EXPECT_EQ(image.pixelColor(119, y), frame);
    EXPECT_EQ(image.pixelColor(118, y), frame);
    EXPECT_EQ(image.pixelColor(117, y).red(), 0);
  }
  EXPECT_EQ(image.pixelColor(60, 1), frame);
  EXPECT_EQ(image.pixelColor(60, 2).red(), 0);
}

// The drawing surface's canvas holds device pixels: a one-pixel line drawn
// in design pixels is two solid device pixels, and the picture stays.
TEST(HiDpiTest, TheDrawingSurfaceIsCrisp) {
  DrawingSurface surface;
  surface.resize(216, 53);
  QImage& canvas = surface.Canvas();
  EXPECT_EQ(canvas.size(), QSize(432, 106));
  {
    QPainter p(&canvas);
    p.fillRect(QRect(0, 0, 216, 53), Qt::black);
    p.setPen(Qt::cyan);
    p.drawLine(0, 25, 215, 25);
  }
  const QImage image = Grab(surface);
  QList<int> rows;
  for (int y = 0; y < image.height(); ++y) {
    const QColor c = image.pixelColor(100, y);
    if (c != QColor(Qt::black)) {
      EXPECT_EQ(c, QColor(Qt::cyan)) << y;  // no blur
      rows << y;
    }
  }
  ASSERT_EQ(rows.size(), 2);
  EXPECT_EQ(rows[1], rows[0] + 1);
  EXPECT_NEAR(rows[0], 50, 1);
}

TEST(HiDpiTest, ASquareButtonEdgeIsTwoSolidDevicePixels) {
  GlassButton button(QStringLiteral("X"));
  button.resize(16, 16);
  const QImage image = Grab(button);
  const QColor edge = image.pixelColor(0, 16);
  EXPECT_EQ(image.pixelColor(1, 16), edge);
  EXPECT_NE(image.pixelColor(2, 16), edge);
  EXPECT_EQ(image.pixelColor(31, 16), edge);
  EXPECT_EQ(image.pixelColor(30, 16), edge);
}

TEST(HiDpiTest, TheThumbOutlineIsCrisp) {
  TrackBar bar;
  const QColor fill(0xFF, 0x20, 0x20), outline(0x20, 0xFF, 0x20);
  bar.setRange(0, 100);
  bar.setValue(50);
  bar.SetThumbSize(10, 28);
  bar.SetThumbColour(fill);
  bar.SetThumbOutlineColour(outline);
  bar.SetBackgroundColour(Qt::black);
  bar.resize(73, 15);
  const QImage image = Grab(bar);
  const QRect thumb = bar.ThumbRect().toRect();
  const int left = 2 * thumb.left(), y = 2 * thumb.center().y();
  EXPECT_EQ(image.pixelColor(left, y), outline);
  EXPECT_EQ(image.pixelColor(left + 1, y), outline);
  EXPECT_EQ(image.pixelColor(left + 2, y), fill);
  EXPECT_NE(image.pixelColor(left - 1, y), outline);
}

TEST(HiDpiTest, TheSelectionBorderIsCrisp) {
  MarkupListBox list;
  const QColor border(0xFF, 0x80, 0x00);
  list.SetSelectionBorderColour(border);
  list.resize(150, 80);
  list.AddItem(QStringLiteral("<FONT color=\"#FFFFFF\"><B>Title<BR>1:00</B></FONT>"));
  list.SetItemIndex(0);
  const QImage image = Grab(list);
  const QRect row = list.ItemRect(0);
  const int x = 2 * (row.right() - 20);
  EXPECT_EQ(image.pixelColor(x, 0), border);
  EXPECT_EQ(image.pixelColor(x, 1), border);
  EXPECT_NE(image.pixelColor(x, 2), border);
  EXPECT_EQ(image.pixelColor(x, 2 * row.bottom() + 1), border);
  EXPECT_EQ(image.pixelColor(x, 2 * row.bottom()), border);
}

}  // namespace
}  // namespace orve

int main(int argc, char** argv) {
  qputenv("QT_SCALE_FACTOR", "2");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
