#include "app/SplashWindow.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include "app/Application.h"
#include "app/Artwork.h"
#include "widgets/ScreenPlacement.h"
#include "widgets/SkinnedWindow.h"

namespace orve {
namespace {

constexpr int kInStep = 3;
constexpr int kInTicks = 85;    // 255 / 3
constexpr int kHoldTicks = 50;  // half a second at full
constexpr int kOutStep = 5;
constexpr int kOutTicks = 51;   // 255 / 5

}  // namespace

int SplashWindow::OpacityAt(int tick) {
  if (tick < kInTicks) return kInStep * tick;
  if (tick < kInTicks + kHoldTicks) return 255;
  const int out = tick - kInTicks - kHoldTicks;
  return out < kOutTicks ? 255 - kOutStep * out : -1;
}

SplashWindow::SplashWindow(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                          Qt::WindowDoesNotAcceptFocus) {
  setObjectName(QStringLiteral("splashWindow"));
  setAttribute(Qt::WA_DeleteOnClose);
  setAttribute(Qt::WA_QuitOnClose, false);
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFixedSize(kWidth, kHeight);
  setWindowOpacity(0);
  timer_ = new QTimer(this);
  timer_->setInterval(kTickMs);
  connect(timer_, &QTimer::timeout, this, &SplashWindow::Step);
}

void SplashWindow::Start() {
  move(CentredOnPrimary(size()));
  show();
  timer_->start();
}

void SplashWindow::Step() {
  ++tick_;
  const int opacity = OpacityAt(tick_);
  if (opacity < 0) {
    timer_->stop();
    close();
    return;
  }
  setWindowOpacity(opacity / 255.0);
}

void SplashWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  DrawArtwork(painter, rect(), QString::fromLatin1(kAppTitle));
  painter.setPen(Qt::white);
  QFont font = SkinFont();
  font.setPixelSize(11);
  painter.setFont(font);
  painter.drawText(QRect(8, kHeight - 22, kWidth - 16, 16), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("Звук, собранный для одного слушателя"));
}

void SplashWindow::mousePressEvent(QMouseEvent* event) {
  timer_->stop();
  close();
  event->accept();
}

}  // namespace orve
