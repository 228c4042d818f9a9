// The glass button: its signals on the mouse, hovering, keyboard focus on
// request, and its face, glow and symbols as painted.
#include <gtest/gtest.h>

#include <QEnterEvent>
#include <QSignalSpy>
#include <QTest>

#include "widgets/GlassButton.h"

namespace orve {
namespace {

int Distance(const QColor& a, const QColor& b) {
  return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
}

class GlassButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host.resize(100, 60);
    button = new GlassButton(QStringLiteral("Пл Вык"), &host);
    button->setGeometry(10, 10, 45, 15);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    // The pointer may still be where an earlier test left it, and a window
    // shown under it gets an enter that only a move in and out again ends.
    for (QPoint p : {QPoint(21, 16), QPoint(22, 17), QPoint(95, 55)}) QTest::mouseMove(&host, p);
    ASSERT_FALSE(button->IsHovered());
  }

  QWidget host;
  GlassButton* button = nullptr;
};

TEST_F(GlassButtonTest, ALeftClickGivesPressedReleasedClicked) {
  QStringList events;
  QObject::connect(button, &GlassButton::pressed, [&] { events << "pressed"; });
  QObject::connect(button, &GlassButton::released, [&] { events << "released"; });
  QObject::connect(button, &GlassButton::clicked, [&] { events << "clicked"; });
  QTest::mouseClick(button, Qt::LeftButton, {}, {20, 7});
  EXPECT_EQ(events, (QStringList{"pressed", "released", "clicked"}));
}

TEST_F(GlassButtonTest, ReleasingOutsideIsNoClick) {
  QSignalSpy clicked(button, &GlassButton::clicked);
  QSignalSpy released(button, &GlassButton::released);
  QTest::mousePress(button, Qt::LeftButton, {}, {20, 7});
  EXPECT_TRUE(button->isDown());
  QMouseEvent move(QEvent::MouseMove, QPointF(80, 40), button->mapToGlobal(QPointF(80, 40)), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(button, &move);
  QTest::mouseRelease(button, Qt::LeftButton, {}, {80, 40});
  EXPECT_EQ(clicked.count(), 0);
  EXPECT_EQ(released.count(), 1);
}

TEST_F(GlassButtonTest, TheRightButtonDoesNotClick) {
  QSignalSpy clicked(button, &GlassButton::clicked);
  QTest::mouseClick(button, Qt::RightButton, {}, {20, 7});
  EXPECT_EQ(clicked.count(), 0);
}

TEST_F(GlassButtonTest, HoveringFollowsThePointer) {
  QSignalSpy hover(button, &GlassButton::hoverChanged);
  QTest::mouseMove(&host, {80, 50});
  EXPECT_FALSE(button->IsHovered());
  QTest::mouseMove(&host, {20, 15});
  EXPECT_TRUE(button->IsHovered());
  QTest::mouseMove(&host, {80, 50});
  EXPECT_FALSE(button->IsHovered());
  ASSERT_EQ(hover.count(), 2);
  EXPECT_TRUE(hover[0][0].toBool());
  EXPECT_FALSE(hover[1][0].toBool());
}

TEST_F(GlassButtonTest, HidingEndsTheHover) {
  QTest::mouseMove(&host, {20, 15});
  ASSERT_TRUE(button->IsHovered());
  button->hide();
  EXPECT_FALSE(button->IsHovered());
}

TEST_F(GlassButtonTest, FocusOnlyWhenAskedFor) {
  EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
  button->SetFocusable(true);
  EXPECT_EQ(button->focusPolicy(), Qt::StrongFocus);
  button->setFocus();
  QSignalSpy clicked(button, &GlassButton::clicked);
  QTest::keyClick(button, Qt::Key_Space);
  EXPECT_EQ(clicked.count(), 1);
  button->SetFocusable(false);
  EXPECT_FALSE(button->hasFocus());
}

TEST_F(GlassButtonTest, TheFaceIsPaintedInTheFaceColourAndTheEdgeDarker) {
  const QColor face(0x20, 0xA0, 0x40);
  button->SetFaceColour(face);
  button->setText(QString());
  const QImage image = button->grab().toImage();
  // Below the gloss the face shows its own colour.
  EXPECT_LT(Distance(image.pixelColor(22, 10), face), 60) << image.pixelColor(22, 10).name().toStdString();
  const QColor edge = image.pixelColor(0, 7);
  EXPECT_LT(edge.green(), face.green() / 2 + 10);
}

TEST_F(GlassButtonTest, TheGlowLightsTheLowerHalfWhileHovered) {
  const QColor glow(0xFF, 0xFF, 0x00);
  button->SetGlowColour(glow);
  button->setText(QString());
  const QColor before = button->grab().toImage().pixelColor(22, 12);
  QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
  QApplication::sendEvent(button, &enter);
  const QColor after = button->grab().toImage().pixelColor(22, 12);
  EXPECT_LT(Distance(after, glow), Distance(before, glow) - 100)
      << before.name().toStdString() << " " << after.name().toStdString();
}

TEST_F(GlassButtonTest, RoundedCornersShowTheParentBehind) {
  button->SetCornerRadius(7);
  QPixmap shot(host.size());
  shot.fill(Qt::magenta);
  host.setAutoFillBackground(false);
  button->render(&shot, QPoint(10, 10), QRegion(), QWidget::DrawChildren);
  const QImage image = shot.toImage();
  EXPECT_EQ(image.pixelColor(10, 10), QColor(Qt::magenta));
  EXPECT_NE(image.pixelColor(32, 17), QColor(Qt::magenta));
  button->SetCornerRadius(0);
  shot.fill(Qt::magenta);
  button->render(&shot, QPoint(10, 10), QRegion(), QWidget::DrawChildren);
  EXPECT_NE(shot.toImage().pixelColor(10, 10), QColor(Qt::magenta));
}

// Counts the pixels of the symbol's colour in the button's picture.
int SymbolPixels(GlassButton& b, const QColor& colour) {
  const QImage image = b.grab().toImage();
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += Distance(image.pixelColor(x, y), colour) < 40;
  return n;
}

TEST_F(GlassButtonTest, EverySymbolIsDrawnInTheFontColourAndEachDiffers) {
  const QColor red(0xFF, 0x00, 0x00);
  button->resize(25, 15);
  button->SetFontColour(red);
  button->setText(QString());
  EXPECT_EQ(SymbolPixels(*button, red), 0);
  QList<QImage> pictures;
  for (auto symbol : {GlassButton::Symbol::Play, GlassButton::Symbol::Pause, GlassButton::Symbol::Stop,
                      GlassButton::Symbol::ArrowUp, GlassButton::Symbol::Speaker}) {
    button->SetSymbol(symbol);
    EXPECT_GT(SymbolPixels(*button, red), 8) << int(symbol);
    const QImage picture = button->grab().toImage();
    EXPECT_FALSE(pictures.contains(picture)) << int(symbol);
    pictures << picture;
  }
}

}  // namespace
}  // namespace orve
