#include "app/NowPlayingWindow.h"

#include <QLabel>

#include "appearance/ColourScheme.h"
#include "widgets/ElidedLabel.h"
#include "widgets/ProgressBar.h"
#include "widgets/ScreenPlacement.h"
#include "widgets/SkinColours.h"
#include "widgets/SkinnedWindow.h"

namespace orve {
namespace {

ElidedLabel* Line(int top, QWidget* parent) {
  auto* label = new ElidedLabel(parent);
  label->setGeometry(0, top, NowPlayingWindow::kWidth, 13);
  label->setAlignment(Qt::AlignCenter);
  QFont font = label->font();
  font.setBold(true);
  label->setFont(font);
  return label;
}

}  // namespace

NowPlayingWindow::NowPlayingWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus) {
  setObjectName(QStringLiteral("nowPlayingWindow"));
  setWindowTitle(QStringLiteral("ORVE"));
  setAttribute(Qt::WA_QuitOnClose, false);
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFixedSize(kWidth, kHeight);
  setFont(SkinFont());
  setWindowOpacity(200 / 255.0);
  titleLabel_ = Line(12, this);
  artistLabel_ = Line(31, this);
  positionBar_ = new ProgressBar(this);
  positionBar_->setGeometry(-1, 50, 305, 11);
  timeLabel_ = new QLabel(QString::fromLatin1(kTimeAtRest), this);
  timeLabel_->setGeometry(0, 67, kWidth, 13);
  timeLabel_->setAlignment(Qt::AlignCenter);
  QFont bold = timeLabel_->font();
  bold.setBold(true);
  timeLabel_->setFont(bold);
}

void NowPlayingWindow::ApplyScheme(const ColourScheme& scheme) {
  using R = ColourRole;
  SetBackground(this, scheme.Colour(R::Window));
  positionBar_->SetBackgroundColour(scheme.Colour(R::Window));
  for (int level = 0; level < ProgressBar::kLevels; ++level) {
    positionBar_->SetLevelColours(level, scheme.Colour(R::ButtonFace), scheme.Colour(R::ButtonFace));
  }
  for (QLabel* label : {static_cast<QLabel*>(titleLabel_), static_cast<QLabel*>(artistLabel_), timeLabel_}) {
    SetTextColour(label, scheme.Colour(R::Highlight));
  }
}

void NowPlayingWindow::ShowLines(const QString& title, const QString& middle) {
  titleLabel_->setText(title);
  titleLabel_->setToolTip(title);
  ShowMiddleLine(middle);
}

void NowPlayingWindow::ShowMiddleLine(const QString& text) {
  artistLabel_->setText(text);
  artistLabel_->setToolTip(text);
}

void NowPlayingWindow::ShowTime(const QString& text, int position, int length) {
  if (timeLabel_->text() != text) timeLabel_->setText(text);
  positionBar_->SetRange(0, std::max(0, length));
  positionBar_->SetValue(position);
}

void NowPlayingWindow::Clear() {
  ShowLines(QString(), QString());
  ShowTime(QString::fromLatin1(kTimeAtRest), 0, 0);
}

void NowPlayingWindow::Toggle() { setVisible(!isVisible()); }

void NowPlayingWindow::showEvent(QShowEvent* event) {
  // In the bottom-right corner of the primary monitor's work area.
  const QRect area = PrimaryWorkArea();
  if (!area.isEmpty()) move(area.left() + area.width() - kWidth, area.top() + area.height() - kHeight);
  QWidget::showEvent(event);
}

}  // namespace orve
