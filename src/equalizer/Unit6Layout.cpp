// The equalizer window's controls, their places and their colours.

#include "app/AppState.h"
#include "equalizer/Presets.h"
#include "equalizer/Unit6.h"
#include "widgets/SkinColours.h"
#include "widgets/MenuStyle.h"

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

void TForm6::BuildControls() {
  RzBackground4 = new GradientBackground(this);
  RzBackground4->setGeometry(0, 16, kWidth, kHeight - 16);
  RzBackground3 = new GradientBackground(this);
  RzBackground3->setGeometry(0, 0, kWidth, 16);
  Label10 = CreateTitleCaption(this, QStringLiteral("Эквалайзер"), QRect(0, 0, kWidth, 15));
  AdvGlassButton9 = new GlassButton(QStringLiteral("X"), this);
  AdvGlassButton9->setGeometry(285, 0, 16, 16);
  QFont buttonFont = AdvGlassButton9->font();
  buttonFont.setPixelSize(10);
  buttonFont.setBold(true);
  AdvGlassButton9->setFont(buttonFont);
  BuildPanel();
  BuildBands();
  BuildEffectRow();
}

ClickLabel* TForm6::PanelLabel(const QRect& geometry, const QString& text, Qt::Alignment align) {
  auto* l = new ClickLabel(text, Panel1);
  l->setGeometry(geometry);
  l->setFont(SmallFont(font()));
  l->setAlignment(align);
  return l;
}

TrackBar* TForm6::Slider(Qt::Orientation orientation, const QRect& geometry, int max, const QString& hint) {
  auto* t = new TrackBar(orientation, Panel1);
  t->setGeometry(geometry);
  t->setRange(0, max);
  t->setToolTip(hint);
  return t;
}

void TForm6::BuildPanel() {
  Panel1 = new QWidget(this);
  Panel1->setGeometry(8, 22, 288, 120);
  Panel1->setContextMenuPolicy(Qt::CustomContextMenu);
  RzBackground1 = new GradientBackground(Panel1);
  RzBackground1->setGeometry(24, 2, 244, 77);
  const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
  Label1 = PanelLabel({2, 2, 24, 12}, QStringLiteral("+15"), left);
  Label2 = PanelLabel({2, 34, 24, 12}, QStringLiteral("0"), left);
  Label3 = PanelLabel({2, 66, 24, 12}, QStringLiteral("-15"), left);
}

void TForm6::BuildBands() {
  for (int k = 1; k <= kEqBands; ++k) {
    const QRect place(kBandLeft + kBandPitch * (k - 1), 4, 11, 73);
    TrackBar* band = Slider(Qt::Vertical, place, kBandMax, QString::fromLatin1(EqBandTable[k - 1].hint));
    band->setValue(kEqZeroPosition);
    Bands[static_cast<size_t>(k - 1)] = band;
  }
}

void TForm6::BuildEffectRow() {
  for (int i = 0; i < kEffectCount; ++i) {
    const auto& row = equalizer::kEffectSwitches[static_cast<size_t>(i)];
    Letters[static_cast<size_t>(i)] =
        PanelLabel({4 + kSwitchPitch * i, 80, 20, 12}, QString::fromUtf8(row.letter), Qt::AlignCenter);
    TrackBar* s = Slider(Qt::Vertical, {8 + kSwitchPitch * i, 93, 12, 25}, 1, QString::fromLatin1(row.hint));
    s->SetSwitchMode(true);
    Switches[static_cast<size_t>(i)] = s;
  }
  Label5 = PanelLabel({142, 80, 73, 12}, QStringLiteral("Громкость"), Qt::AlignCenter);
  Label6 = PanelLabel({215, 80, 73, 12}, QStringLiteral("SR"), Qt::AlignCenter);
  TrackBar1 = Slider(Qt::Horizontal, {142, 96, 73, 15}, kVolumeMax, QStringLiteral("Громкость"));
  TrackBar1->setValue(kVolumeMax);
  RzTrackBar170 = Slider(Qt::Horizontal, {215, 96, 73, 15}, kSampleRateMax, QStringLiteral("Sample Rate"));
  RzTrackBar170->SetTickStep(1000);
  RzTrackBar170->SetShowTicks(true);
  RzTrackBar170->setSingleStep(1000);
  RzTrackBar170->setPageStep(1000);
}

void TForm6::BuildMenu() {
  PopupMenu1 = new QMenu(this);
  Rock1 = PopupMenu1->addAction(QStringLiteral("Rock"), this, &TForm6::Rock1Click);
  Pop1 = PopupMenu1->addAction(QStringLiteral("Pop"), this, &TForm6::Pop1Click);
  echno1 = PopupMenu1->addAction(QStringLiteral("Techno"), this, &TForm6::echno1Click);
  Dance1 = PopupMenu1->addAction(QStringLiteral("Dance"), this, &TForm6::Dance1Click);
}

QColor TForm6::Colour(int index) const { return ToQColor(state_.Scheme.ThemeColors[static_cast<size_t>(index)]); }

void TForm6::PaintThumbs() {
  const QColor thumb = Colour(9);
  const auto paint = [&](TrackBar* t, int length, int thickness) {
    t->SetThumbSize(length, thickness);
    t->SetThumbColor(thumb);
    t->SetThumbOutlineColor(thumb);
  };
  paint(TrackBar1, 10, 28);
  paint(RzTrackBar170, 10, 28);
  for (TrackBar* t : Bands) paint(t, 8, 30);
  for (TrackBar* t : Switches) paint(t, 8, 30);
}

void TForm6::ApplyScheme() {
  SetBackground(Panel1, Colour(0));
  PaintGradient(RzBackground1, Colour(0), Colour(2));
  PaintGradient(RzBackground3, Colour(4), Colour(isActiveWindow() ? 1 : 2));
  PaintGradient(RzBackground4, Colour(2), Colour(4));
  SetBackground(this, Colour(5));
  for (QLabel* l : {static_cast<QLabel*>(Label1), static_cast<QLabel*>(Label2), static_cast<QLabel*>(Label3),
                    Label5, Label6, Label10}) {
    SetTextColour(l, Colour(3));
  }
  // A slider held by the mouse keeps its pressed colour through a reload.
  for (TrackBar* t : Bands) SetPressedColour(t, t->isSliderDown());
  SetPressedColour(TrackBar1, TrackBar1->isSliderDown());
  SetPressedColour(RzTrackBar170, RzTrackBar170->isSliderDown());
  PaintGlassButton(AdvGlassButton9, Colour(2), Colour(6), Colour(7));
  PaintThumbs();
  StyleMenu(PopupMenu1, Colour(0), Colour(1), Colour(6), Colour(2));
}

void TForm6::SetPressedColour(TrackBar* slider, bool pressed) { slider->SetTrackColor(Colour(pressed ? 1 : 3)); }

void TForm6::SetLetterColour(Effect e, bool on) { SetTextColour(Letter(e), Colour(on ? 3 : 0)); }

}  // namespace orve
