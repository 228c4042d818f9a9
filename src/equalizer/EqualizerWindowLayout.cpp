// The equalizer window's controls, their places and their colours.
#include <QLabel>
#include <QMenu>

#include "equalizer/EqualizerWindow.h"
#include "session/AppState.h"
#include "widgets/ClickLabel.h"
#include "widgets/GlassButton.h"
#include "widgets/GradientBackground.h"
#include "widgets/MenuStyle.h"
#include "widgets/SkinColours.h"
#include "widgets/SkinnedWindow.h"
#include "widgets/TitleStrip.h"
#include "widgets/TrackBar.h"

namespace orve {
namespace {

// The panel's small bold face.
QFont SmallFont(const QFont& base) {
  QFont f = base;
  f.setPixelSize(9);
  f.setBold(true);
  return f;
}

constexpr int kBandLeft = 28;   // first band slider, in the panel
constexpr int kBandPitch = 15;  // from one band slider to the next
constexpr int kSwitchPitch = 20;

}  // namespace

void EqualizerWindow::BuildControls() {
  bodyBackground_ = new GradientBackground(this);
  bodyBackground_->setGeometry(0, 16, kWidth, kHeight - 16);
  titleStrip_ = new TitleStrip(QStringLiteral("Эквалайзер"), this);
  titleStrip_->setGeometry(0, 0, kWidth, 16);
  titleStrip_->SetCaptionGeometry(QRect(0, 0, kWidth, 15));
  titleStrip_->SetDragArea(QRect(QPoint(1, 1), QPoint(284, 15)));
  titleCaption_ = titleStrip_->Caption();
  closeButton_ = CreateSkinButton(QStringLiteral("X"), QRect(285, 0, 16, 16), this);
  BuildPanel();
  BuildBands();
  BuildEffectRow();
}

ClickLabel* EqualizerWindow::PanelLabel(const QRect& geometry, const QString& text, Qt::Alignment align) {
  auto* l = new ClickLabel(text, panel_);
  l->setGeometry(geometry);
  l->setFont(SmallFont(font()));
  l->setAlignment(align);
  return l;
}

TrackBar* EqualizerWindow::Slider(Qt::Orientation orientation, const QRect& geometry, int max, const QString& hint) {
  auto* t = new TrackBar(orientation, panel_);
  t->setGeometry(geometry);
  t->setRange(0, max);
  t->setToolTip(hint);
  return t;
}

void EqualizerWindow::BuildPanel() {
  panel_ = new QWidget(this);
  panel_->setGeometry(8, 22, 288, 120);
  panel_->setContextMenuPolicy(Qt::CustomContextMenu);
  bandField_ = new GradientBackground(panel_);
  bandField_->setGeometry(24, 2, 244, 77);
  const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
  maxGainLabel_ = PanelLabel({2, 2, 24, 12}, QStringLiteral("+15"), left);
  zeroGainLabel_ = PanelLabel({2, 34, 24, 12}, QStringLiteral("0"), left);
  minGainLabel_ = PanelLabel({2, 66, 24, 12}, QStringLiteral("-15"), left);
}

void EqualizerWindow::BuildBands() {
  for (int k = 1; k <= kEqBands; ++k) {
    const QRect place(kBandLeft + kBandPitch * (k - 1), 4, 11, 73);
    TrackBar* band = Slider(Qt::Vertical, place, kBandMax, QString::fromLatin1(EqBandTable[k - 1].hint));
    band->setValue(kEqZeroPosition);
    bands_[static_cast<size_t>(k - 1)] = band;
  }
}

void EqualizerWindow::BuildEffectRow() {
  for (int i = 0; i < kEffectCount; ++i) {
    const auto& row = equalizer::kEffectSwitches[static_cast<size_t>(i)];
    effectLetters_[static_cast<size_t>(i)] =
        PanelLabel({4 + kSwitchPitch * i, 80, 20, 12}, QString::fromUtf8(row.letter), Qt::AlignCenter);
    TrackBar* s = Slider(Qt::Vertical, {8 + kSwitchPitch * i, 93, 12, 25}, 1, QString::fromLatin1(row.hint));
    s->SetSwitchMode(true);
    effectSwitches_[static_cast<size_t>(i)] = s;
  }
  volumeCaption_ = PanelLabel({142, 80, 73, 12}, QStringLiteral("Громкость"), Qt::AlignCenter);
  sampleRateCaption_ = PanelLabel({215, 80, 73, 12}, QStringLiteral("SR"), Qt::AlignCenter);
  volumeSlider_ = Slider(Qt::Horizontal, {142, 96, 73, 15}, kVolumeMax, QStringLiteral("Громкость"));
  volumeSlider_->setValue(kVolumeMax);
  sampleRateSlider_ = Slider(Qt::Horizontal, {215, 96, 73, 15}, kSampleRateMax, QStringLiteral("Sample Rate"));
  sampleRateSlider_->SetTickStep(1000);
  sampleRateSlider_->SetShowTicks(true);
  sampleRateSlider_->setSingleStep(1000);
  sampleRateSlider_->setPageStep(1000);
}

void EqualizerWindow::BuildMenu() {
  presetMenu_ = new QMenu(this);
  rockPresetAction_ = presetMenu_->addAction(QStringLiteral("Rock"), this, [this] { ApplyPreset(equalizer::kRock); });
  popPresetAction_ = presetMenu_->addAction(QStringLiteral("Pop"), this, [this] { ApplyPreset(equalizer::kPop); });
  technoPresetAction_ =
      presetMenu_->addAction(QStringLiteral("Techno"), this, [this] { ApplyPreset(equalizer::kTechno); });
  dancePresetAction_ =
      presetMenu_->addAction(QStringLiteral("Dance"), this, [this] { ApplyPreset(equalizer::kDance); });
}

void EqualizerWindow::PaintThumbs() {
  const QColor thumb = state_.Scheme.Colour(ColourRole::Thumb);
  const auto paint = [&](TrackBar* t, int length, int thickness) {
    t->SetThumbSize(length, thickness);
    t->SetThumbColour(thumb);
    t->SetThumbOutlineColour(thumb);
  };
  paint(volumeSlider_, 10, 28);
  paint(sampleRateSlider_, 10, 28);
  for (TrackBar* t : bands_) paint(t, 8, 30);
  for (TrackBar* t : effectSwitches_) paint(t, 8, 30);
}

void EqualizerWindow::ApplyScheme() {
  const ColourScheme& s = state_.Scheme;
  using R = ColourRole;
  SetBackground(panel_, s.Colour(R::Panel));
  PaintGradient(bandField_, s.Colour(R::Panel), s.Colour(R::ButtonText));
  titleStrip_->SetColours(s.Colour(R::TitleStart), s.Colour(R::Highlight), s.Colour(R::ButtonText),
                          s.Colour(R::LabelText));
  PaintGradient(bodyBackground_, s.Colour(R::ButtonText), s.Colour(R::TitleStart));
  SetBackground(this, s.Colour(R::Window));
  for (QLabel* l : {static_cast<QLabel*>(maxGainLabel_), static_cast<QLabel*>(zeroGainLabel_),
                    static_cast<QLabel*>(minGainLabel_), volumeCaption_, sampleRateCaption_}) {
    SetTextColour(l, s.Colour(R::LabelText));
  }
  // A slider held by the mouse keeps its pressed colour through a reload.
  for (TrackBar* t : bands_) SetPressedColour(t, t->isSliderDown());
  SetPressedColour(volumeSlider_, volumeSlider_->isSliderDown());
  SetPressedColour(sampleRateSlider_, sampleRateSlider_->isSliderDown());
  PaintGlassButton(closeButton_, s.Colour(R::ButtonText), s.Colour(R::ButtonFace), s.Colour(R::ButtonGlow));
  PaintThumbs();
  StyleMenu(presetMenu_, s.Colour(R::Panel), s.Colour(R::Highlight), s.Colour(R::ButtonFace), s.Colour(R::ButtonText));
}

void EqualizerWindow::SetPressedColour(TrackBar* slider, bool pressed) {
  slider->SetTrackColour(state_.Scheme.Colour(pressed ? ColourRole::Highlight : ColourRole::LabelText));
}

void EqualizerWindow::SetLetterColour(Effect e, bool on) {
  SetTextColour(Letter(e), state_.Scheme.Colour(on ? ColourRole::LabelText : ColourRole::Panel));
}

}  // namespace orve
