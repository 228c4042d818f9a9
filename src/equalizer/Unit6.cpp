#include "equalizer/Unit6.h"

#include <QCloseEvent>
#include <QEvent>
#include <QMouseEvent>
#include <QWindow>

#include "app/AppState.h"
#include "equalizer/Presets.h"

namespace orve {

TForm6::TForm6(AppState& state, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), state_(state) {
  setObjectName(QStringLiteral("Form6"));
  setWindowTitle(QStringLiteral("Эквалайзер"));
  setFixedSize(kWidth, kHeight);
  // Closing the equalizer only hides it; the program ends with the main window.
  setAttribute(Qt::WA_QuitOnClose, false);
  QFont skinFont(QStringLiteral("Calibri"));  // fontconfig gives its metric twin Carlito
  skinFont.setPixelSize(12);
  setFont(skinFont);
  BuildControls();
  BuildMenu();
  Connect();
  state_.Engine->BandPosition = [this](int band) { return Band(band)->value(); };
}

TForm6::~TForm6() {
  // The engine outlives the window: it must not ask a destroyed slider.
  if (state_.Engine) state_.Engine->BandPosition = nullptr;
}

void TForm6::Connect() {
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
  connect(TrackBar1, &QAbstractSlider::valueChanged, this, &TForm6::TrackBar1Change);
  connect(TrackBar1, &QAbstractSlider::sliderPressed, this, &TForm6::TrackBar1MouseDown);
  connect(TrackBar1, &QAbstractSlider::sliderReleased, this, &TForm6::TrackBar1MouseUp);
  connect(RzTrackBar170, &QAbstractSlider::valueChanged, this, &TForm6::RzTrackBar170Change);
  connect(RzTrackBar170, &QAbstractSlider::sliderPressed, this, [this] { SetPressedColour(RzTrackBar170, true); });
  connect(RzTrackBar170, &QAbstractSlider::sliderReleased, this, [this] { SetPressedColour(RzTrackBar170, false); });
  connect(Label1, &ClickLabel::doubleClicked, this, &TForm6::Label1DblClick);
  connect(Label2, &ClickLabel::doubleClicked, this, &TForm6::Label2DblClick);
  connect(Label3, &ClickLabel::doubleClicked, this, &TForm6::Label3DblClick);
  connect(AdvGlassButton9, &QAbstractButton::clicked, this, &TForm6::AdvGlassButton9Click);
  connect(Panel1, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { PopupMenu1->popup(Panel1->mapToGlobal(at)); });
}

void TForm6::BandChange(int k) { state_.Engine->SetBandGain(k); }

void TForm6::BandPressed(TrackBar* band) {
  SetPressedColour(band, true);
  state_.EqDragging = true;
}

void TForm6::BandReleased(TrackBar* band) {
  SetPressedColour(band, false);
  state_.EqDragging = false;
}

void TForm6::SendAttributes() {
  state_.Engine->SetAttributes(static_cast<quint8>(TrackBar1->value()), RzTrackBar170->value());
}

void TForm6::TrackBar1Change() {
  SendAttributes();
  emit VolumeTextChanged(QStringLiteral("Грм:%1%").arg(TrackBar1->value()));
}

void TForm6::TrackBar1MouseDown() {
  SetPressedColour(TrackBar1, true);
  emit VolumeLabelHighlighted(true);
}

void TForm6::TrackBar1MouseUp() {
  SetPressedColour(TrackBar1, false);
  emit VolumeLabelHighlighted(false);
}

void TForm6::RzTrackBar170Change() { SendAttributes(); }

// Every band is re-sent afterwards, whether its position changed or not.
void TForm6::SetBandPositions(const std::array<int, kEqBands>& positions) {
  for (int k = 1; k <= kEqBands; ++k) Band(k)->setValue(positions[static_cast<size_t>(k - 1)]);
  for (int k = 1; k <= kEqBands; ++k) state_.Engine->SetBandGain(k);
}

void TForm6::SetAllBands(int position) {
  std::array<int, kEqBands> all;
  all.fill(position);
  SetBandPositions(all);
}

void TForm6::Rock1Click() { SetBandPositions(equalizer::kRock); }
void TForm6::Pop1Click() { SetBandPositions(equalizer::kPop); }
void TForm6::echno1Click() { SetBandPositions(equalizer::kTechno); }
void TForm6::Dance1Click() { SetBandPositions(equalizer::kDance); }
void TForm6::Label1DblClick() { SetAllBands(kBandMax); }
void TForm6::Label2DblClick() { SetAllBands(kEqZeroPosition); }
void TForm6::Label3DblClick() { SetAllBands(0); }

void TForm6::AdvGlassButton9Click() {
  state_.EqualizerShown = false;
  hide();
  emit Closed();
}

void TForm6::SetKeyHandler(QObject* filter) {
  std::vector<TrackBar*> sliders(Bands.begin(), Bands.end());
  sliders.insert(sliders.end(), Switches.begin(), Switches.end());
  sliders.push_back(TrackBar1);
  sliders.push_back(RzTrackBar170);
  for (TrackBar* s : sliders) {
    if (keyHandler_) s->removeEventFilter(keyHandler_);
    if (filter) s->installEventFilter(filter);
  }
  keyHandler_ = filter;
}

void TForm6::SetTitleActive(bool active) {
  RzBackground3->SetGradientEnd(Colour(active ? 1 : 2));
  AdvGlassButton9->update();
}

void TForm6::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange) SetTitleActive(isActiveWindow());
  QWidget::changeEvent(event);
}

// A close from any side (a key of the desktop, close()) is the "X" button:
// the window only hides, and the main window's toggle follows.
void TForm6::closeEvent(QCloseEvent* event) {
  // At exit the windows are torn down, not closed by the user: the shown
  // state must reach the file as it is.
  if (state_.Exiting) {
    event->accept();
    return;
  }
  event->ignore();
  AdvGlassButton9Click();
}

void TForm6::mousePressEvent(QMouseEvent* event) {
  // The title strip left of the "X" button drags the window.
  const QPoint at = event->position().toPoint();
  if (event->button() == Qt::LeftButton && at.x() > 0 && at.x() < AdvGlassButton9->x() && at.y() > 0 &&
      at.y() < RzBackground3->height() && windowHandle() != nullptr) {
    windowHandle()->startSystemMove();
  }
  QWidget::mousePressEvent(event);
}

}  // namespace orve
