// The gradient panel, the title strip, the progress bar with its levels, the
// menu colours and the clickable label.
#include <gtest/gtest.h>

#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include "widgets/ClickLabel.h"
#include "widgets/FitLabel.h"
#include "widgets/GradientBackground.h"
#include "widgets/MenuStyle.h"
#include "widgets/ProgressBar.h"
#include "widgets/TitleStrip.h"

namespace orve {
namespace {

int Distance(const QColor& a, const QColor& b) {
  return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
}

TEST(GradientBackgroundTest, AFrameAroundAVerticalGradient) {
  GradientBackground panel;
  const QColor frame(0xFF, 0x00, 0x00), start(0x00, 0x00, 0x00), end(0x00, 0x00, 0xFF);
  panel.SetFrameColour(frame);
  panel.SetGradientStart(start);
  panel.SetGradientEnd(end);
  panel.resize(60, 40);
  const QImage image = panel.grab().toImage();
  for (QPoint p : {QPoint(0, 0), QPoint(59, 0), QPoint(0, 39), QPoint(59, 39), QPoint(30, 0), QPoint(0, 20)})
    EXPECT_EQ(image.pixelColor(p), frame) << p.x() << "," << p.y();
  EXPECT_LT(Distance(image.pixelColor(30, 1), start), 15);
  EXPECT_LT(Distance(image.pixelColor(30, 38), end), 15);
  EXPECT_EQ(image.pixelColor(5, 20), image.pixelColor(50, 20)) << "no change across";
  EXPECT_LT(image.pixelColor(30, 10).blue(), image.pixelColor(30, 30).blue());
}

TEST(GradientBackgroundTest, MousePressesReachTheParent) {
  QWidget parent;
  auto* panel = new GradientBackground(&parent);
  panel->resize(50, 16);
  parent.resize(60, 30);
  parent.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), panel->mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(panel, &press);
  EXPECT_FALSE(press.isAccepted());
}

// A frameless window is moved by its strip: presses there stop at the strip,
// and the window's own double-click (the playlist's right-edge rule) only
// sees presses elsewhere.
TEST(TitleStripTest, TakesThePressesOnItAndColoursByActivation) {
  QWidget window;
  window.resize(100, 60);
  auto* strip = new TitleStrip(QStringLiteral("Плэйлист"), &window);
  strip->setGeometry(0, 0, 100, 16);
  strip->SetCaptionGeometry(QRect(0, 0, 100, 15));
  const QColor start(0x10, 0x20, 0x30), active(0xFF, 0, 0), inactive(0, 0xFF, 0), caption(0, 0, 0xFF);
  strip->SetColours(start, active, inactive, caption);
  EXPECT_EQ(strip->Caption()->text(), "Плэйлист");
  EXPECT_EQ(strip->Caption()->geometry(), QRect(0, 0, 100, 15));
  EXPECT_EQ(strip->Caption()->palette().color(QPalette::WindowText), caption);
  EXPECT_EQ(strip->FrameColour(), start);
  EXPECT_EQ(strip->GradientStart(), start);
  EXPECT_EQ(strip->GradientEnd(), inactive);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), strip->mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(strip, &press);
  EXPECT_TRUE(press.isAccepted());
  window.activateWindow();
  if (!QTest::qWaitForWindowActive(&window, 5000)) GTEST_SKIP() << "no window activation on this platform";
  EXPECT_EQ(strip->GradientEnd(), active);
}

// The main window's 62-pixel labels with the texts that did not fit: drawn
// narrower from the left edge to the right one, none of it cut.
TEST(FitLabelTest, NarrowsTextThatDoesNotFitAndLeavesTheRest) {
  for (const char* text : {"0:03/1:04:59", "1411 КБит/с", "Переподключение…", "0:00/3:25"}) {
    FitLabel label(QString::fromUtf8(text));
    QFont font = label.font();
    font.setBold(true);
    font.setPixelSize(13);
    label.setFont(font);
    label.resize(62, 15);
    QPalette p = label.palette();
    p.setColor(QPalette::Window, Qt::black);
    p.setColor(QPalette::WindowText, Qt::white);
    label.setPalette(p);
    label.setAutoFillBackground(true);
    const int advance = label.fontMetrics().horizontalAdvance(label.text());
    const double scale = label.HorizontalScale();
    if (advance <= 62) {
      EXPECT_EQ(scale, 1.0) << text;
      continue;
    }
    EXPECT_LE(advance * scale, 62.0) << text;
    const QImage image = label.grab().toImage();
    int lastInk = -1;
    for (int x = 0; x < image.width(); ++x) {
      for (int y = 0; y < image.height(); ++y) {
        if (image.pixelColor(x, y).lightness() > 100) lastInk = x;
      }
    }
    EXPECT_GT(lastInk, 62 * 3 / 4) << text << ": the text reaches across";
    EXPECT_LT(lastInk, 62) << text;
  }
}

class ProgressBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    bar.resize(102, 6);
    bar.SetBackgroundColour(background);
    bar.SetLevelThresholds(25, 50, 75);
    for (int i = 0; i < ProgressBar::kLevels; ++i) bar.SetLevelColours(i, levels[i], levels[i]);
  }
  QColor At(int x) { return bar.grab().toImage().pixelColor(x, 4); }

  ProgressBar bar;
  const QColor background{0x10, 0x10, 0x10};
  const QColor levels[4] = {QColor(0xFF, 0, 0), QColor(0, 0xFF, 0), QColor(0, 0, 0xFF), QColor(0xFF, 0xFF, 0)};
};

TEST_F(ProgressBarTest, EmptyShowsOnlyTheBackground) {
  bar.SetValue(0);
  EXPECT_EQ(At(50), background);
}

TEST_F(ProgressBarTest, EachSpanOfAFullBarHasItsLevelColour) {
  bar.SetValue(100);
  // The inner 100 pixels: level k from 25k to 25(k + 1).
  for (int k = 0; k < 4; ++k) EXPECT_EQ(At(1 + 25 * k + 12), levels[k]) << k;
}

TEST_F(ProgressBarTest, TheFillEndsAtTheValue) {
  bar.SetValue(40);
  EXPECT_EQ(At(1 + 30), levels[1]);
  EXPECT_EQ(At(1 + 45), background);
}

TEST_F(ProgressBarTest, ValuesAreClampedAndLevelsFollowTheThresholds) {
  bar.SetValue(500);
  EXPECT_EQ(bar.Value(), 100);
  bar.SetRange(10, 20);
  EXPECT_EQ(bar.Value(), 20);
  EXPECT_EQ(bar.LevelAt(0), 0);
  EXPECT_EQ(bar.LevelAt(24.9), 0);
  EXPECT_EQ(bar.LevelAt(25), 1);
  EXPECT_EQ(bar.LevelAt(99), 3);
}

TEST(StyleMenuTest, TheMenuAndItsSubMenusTakeTheColours) {
  QMenu menu;
  menu.addAction(QStringLiteral("Настройки"));
  QMenu* sub = menu.addMenu(QStringLiteral("Добавить"));
  sub->addAction(QStringLiteral("URL"));
  const QColor background(0x0B, 0x18, 0x30);
  StyleMenu(&menu, background, QColor(0x5C, 0xC8, 0xFF), QColor(0x2C, 0x64, 0xA6));
  EXPECT_TRUE(menu.styleSheet().contains(QStringLiteral("#0b1830")));
  EXPECT_EQ(sub->styleSheet(), menu.styleSheet());
  menu.ensurePolished();
  menu.resize(menu.sizeHint());
  const QImage image = menu.grab().toImage();
  EXPECT_EQ(image.pixelColor(image.width() - 5, image.height() / 2), background);
}

TEST(ClickLabelTest, AClickAndADoubleClick) {
  ClickLabel label(QStringLiteral("Плэйлист"));
  label.resize(62, 15);
  QSignalSpy clicked(&label, &ClickLabel::clicked);
  QSignalSpy doubled(&label, &ClickLabel::doubleClicked);
  QTest::mouseClick(&label, Qt::LeftButton, {}, {10, 7});
  EXPECT_EQ(clicked.count(), 1);
  // A double click: press, release, double-click press, release.
  QTest::mouseClick(&label, Qt::LeftButton, {}, {10, 7});
  QTest::mouseDClick(&label, Qt::LeftButton, {}, {10, 7});
  QTest::mouseRelease(&label, Qt::LeftButton, {}, {10, 7});
  EXPECT_EQ(clicked.count(), 2);
  EXPECT_EQ(doubled.count(), 1);
}

TEST(ClickLabelTest, ReleasingElsewhereOrWithTheRightButtonIsNoClick) {
  ClickLabel label(QStringLiteral("Дин.Доб."));
  label.resize(52, 15);
  QSignalSpy clicked(&label, &ClickLabel::clicked);
  QTest::mousePress(&label, Qt::LeftButton, {}, {10, 7});
  QTest::mouseRelease(&label, Qt::LeftButton, {}, {100, 7});
  QTest::mouseClick(&label, Qt::RightButton, {}, {10, 7});
  EXPECT_EQ(clicked.count(), 0);
}

}  // namespace
}  // namespace orve
