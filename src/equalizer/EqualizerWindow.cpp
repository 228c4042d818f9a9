#include "equalizer/EqualizerWindow.h"

#include <QCloseEvent>
#include <QMenu>

#include "session/AppState.h"
#include "widgets/ClickLabel.h"
#include "widgets/GlassButton.h"
#include "widgets/SkinnedWindow.h"
#include "widgets/TrackBar.h"

namespace orve {

EqualizerWindow::EqualizerWindow(AppState& state, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), state_(state) {
  setObjectName(QStringLiteral("equalizerWindow"));
  setWindowTitle(QStringLiteral("Эквалайзер"));
  setFixedSize(kWidth, kHeight);
  // Closing the equalizer only hides it; the program ends with the main window.
  setAttribute(Qt::WA_QuitOnClose, false);
  setFont(SkinFont());
  BuildControls();
  BuildMenu();
  Connect();
  for (int k = 1; k <= kEqBands; ++k) state_.Engine->SetBandPosition(k, Band(k)->value());
}

void EqualizerWindow::Connect() {
  for (int k = 1; k <= kEqBands; ++k) {
    TrackBar* band = Band(k);
    connect(band, &QAbstractSlider::valueChanged, this, [this, k] { BandChange(k); });
    connect(band, &QAbstractSlider::sliderPressed, this, [this, band] { BandPressed(band); });
    connect(band, &QAbstractSlider::sliderReleased, this, [this, band] { BandReleased(band); });
  }
  for (int i = 0; i < kEffectCount; ++i) {
    const auto e = static_cast<Effect>(i);
    connect(Switch(e), &QAbstractSlider::valueChanged, this, [this, e] { SwitchChange(e); });
  }
  connect(volumeSlider_, &QAbstractSlider::valueChanged, this, &EqualizerWindow::ApplyVolume);
  connect(volumeSlider_, &QAbstractSlider::sliderPressed, this, &EqualizerWindow::OnVolumePressed);
  connect(volumeSlider_, &QAbstractSlider::sliderReleased, this, &EqualizerWindow::OnVolumeReleased);
  connect(sampleRateSlider_, &QAbstractSlider::valueChanged, this, &EqualizerWindow::ApplySampleRate);
  connect(sampleRateSlider_, &QAbstractSlider::sliderPressed, this,
          [this] { SetPressedColour(sampleRateSlider_, true); });
  connect(sampleRateSlider_, &QAbstractSlider::sliderReleased, this,
          [this] { SetPressedColour(sampleRateSlider_, false); });
  connect(maxGainLabel_, &ClickLabel::doubleClicked, this, &EqualizerWindow::SetAllBandsToMax);
  connect(zeroGainLabel_, &ClickLabel::doubleClicked, this, &EqualizerWindow::ResetBands);
  connect(minGainLabel_, &ClickLabel::doubleClicked, this, &EqualizerWindow::SetAllBandsToMin);
  connect(closeButton_, &QAbstractButton::clicked, this, &EqualizerWindow::Dismiss);
  connect(panel_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { presetMenu_->popup(panel_->mapToGlobal(at)); });
}

EqualizerWindow::Controls EqualizerWindow::ControlsForTest() const {
  return {titleStrip_,      titleCaption_,     closeButton_,     panel_,           maxGainLabel_,
          zeroGainLabel_,   minGainLabel_,     bands_,           effectLetters_,   effectSwitches_,
          volumeCaption_,   sampleRateCaption_, volumeSlider_,   sampleRateSlider_, presetMenu_,
          rockPresetAction_, popPresetAction_, technoPresetAction_, dancePresetAction_};
}

void EqualizerWindow::BandChange(int k) { state_.Engine->SetBandPosition(k, Band(k)->value()); }

void EqualizerWindow::BandPressed(TrackBar* band) {
  SetPressedColour(band, true);
  state_.EqDragging = true;
}

void EqualizerWindow::BandReleased(TrackBar* band) {
  SetPressedColour(band, false);
  state_.EqDragging = false;
}

quint8 EqualizerWindow::Volume() const { return static_cast<quint8>(volumeSlider_->value()); }

int EqualizerWindow::SampleRate() const { return sampleRateSlider_->value(); }

void EqualizerWindow::SendAttributes() { state_.Engine->SetAttributes(Volume(), SampleRate()); }

void EqualizerWindow::ApplyVolume() {
  SendAttributes();
  emit VolumeTextChanged(QStringLiteral("Грм:%1%").arg(volumeSlider_->value()));
}

void EqualizerWindow::StepVolume(int delta) {
  const int next = volumeSlider_->value() + delta;
  if (next >= volumeSlider_->minimum() && next <= volumeSlider_->maximum()) {
    const QSignalBlocker quiet(volumeSlider_);  // the change step runs once, below
    volumeSlider_->setValue(next);
  }
  ApplyVolume();
  volumeSlider_->update();
}

void EqualizerWindow::OnVolumePressed() {
  SetPressedColour(volumeSlider_, true);
  emit VolumeLabelHighlighted(true);
}

void EqualizerWindow::OnVolumeReleased() {
  SetPressedColour(volumeSlider_, false);
  emit VolumeLabelHighlighted(false);
}

void EqualizerWindow::ApplySampleRate() { SendAttributes(); }

// Every band is re-sent afterwards, whether its position changed or not.
void EqualizerWindow::ApplyPreset(const equalizer::BandPositions& positions) {
  for (int k = 1; k <= kEqBands; ++k) Band(k)->setValue(positions[static_cast<size_t>(k - 1)]);
  for (int k = 1; k <= kEqBands; ++k) state_.Engine->SetBandGain(k);
}

void EqualizerWindow::SetAllBands(int position) {
  equalizer::BandPositions all;
  all.fill(position);
  ApplyPreset(all);
}

void EqualizerWindow::SetAllBandsToMax() { SetAllBands(kBandMax); }
void EqualizerWindow::ResetBands() { SetAllBands(kEqZeroPosition); }
void EqualizerWindow::SetAllBandsToMin() { SetAllBands(0); }

void EqualizerWindow::Dismiss() {
  state_.EqualizerShown = false;
  hide();
  emit Closed();
}

void EqualizerWindow::SetKeyHandler(QObject* filter) {
  std::vector<TrackBar*> sliders(bands_.begin(), bands_.end());
  sliders.insert(sliders.end(), effectSwitches_.begin(), effectSwitches_.end());
  sliders.push_back(volumeSlider_);
  sliders.push_back(sampleRateSlider_);
  for (TrackBar* s : sliders) {
    if (keyHandler_) s->removeEventFilter(keyHandler_);
    if (filter) s->installEventFilter(filter);
  }
  keyHandler_ = filter;
}

// A close from any side (a key of the desktop, close()) is the "X" button:
// the window only hides, and the main window's toggle follows.
void EqualizerWindow::closeEvent(QCloseEvent* event) {
  // At exit the windows are torn down, not closed by the user: the shown
  // state must reach the file as it is.
  if (state_.Exiting) {
    event->accept();
    return;
  }
  event->ignore();
  Dismiss();
}

}  // namespace orve
