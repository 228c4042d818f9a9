#include "app/Unit1.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QWindow>

#include "app/Application.h"
#include "app/StartEntry.h"
#include "app/TrayIcon.h"
#include "engine/TimeText.h"
#include "playlist/Unit11.h"
#include "playlist/Unit14.h"
#include "playlist/Unit2.h"
#include "playlist/Unit8.h"
#include "appearance/ColourScheme.h"
#include "equalizer/Unit6.h"
#include "widgets/MenuStyle.h"
#include "widgets/SkinColours.h"

namespace orve {
namespace {

constexpr char kTimeAtRest[] = "0:00/0:00";
constexpr char kOpenFilter[] =
    "Mp3, Mp2, Mp1, Wave, Ogg, Aiff, AAC, MP4, WMA, Audio CD "
    "(*.MP3 *.MP2 *.MP1 *.OGG *.WAV *.AIFF *.Wave *.MP4 *.AAC *.WMA *.CDA)";

QString RepeatCaption(RepeatModes mode) {
  switch (mode) {
    case RepeatModes::All: return QStringLiteral("ПовВсё");
    case RepeatModes::Track: return QStringLiteral("ПовТрк");
    case RepeatModes::Off: break;
  }
  return QStringLiteral("ПовВык");
}

}  // namespace

TForm1::TForm1(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), state_(TApplication::Instance()->State()) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QString::fromLatin1(kAppTitle));
  setFixedSize(kWidth, kHeight);
  setAttribute(Qt::WA_QuitOnClose, true);
  setAcceptDrops(true);
  // The skin is laid out for a narrow face; fontconfig gives Carlito for it.
  QFont skinFont(QStringLiteral("Calibri"));
  skinFont.setPixelSize(12);
  setFont(skinFont);
  BuildControls();
  BuildMenu();
  Connect();
  ApplyScheme();
}

GlassButton* TForm1::Button(int left, int top, int width, int height, const QString& caption) {
  auto* b = new GlassButton(caption, this);
  b->setGeometry(left, top, width, height);
  QFont f = b->font();
  f.setPixelSize(10);
  f.setBold(true);
  b->setFont(f);
  return b;
}

ClickLabel* TForm1::PanelLabel(int left, int top, int width, const QString& text) {
  auto* l = new ClickLabel(text, Panel1);
  l->setGeometry(left, top, width, 15);
  return l;
}

void TForm1::BuildControls() {
  RzBackground2 = new GradientBackground(this);
  RzBackground2->setGeometry(0, 0, kWidth, kHeight);
  RzBackground1 = new GradientBackground(this);
  RzBackground1->setGeometry(3, 0, 298, 16);
  Label10 = CreateTitleCaption(this, QStringLiteral(" ORVE 1.9"), QRect(25, 0, 238, 13));

  AdvGlassButton11 = Button(3, 0, 16, 16, {});
  AdvGlassButton11->SetSymbol(GlassButton::Symbol::Speaker);
  AdvGlassButton10 = Button(269, 0, 16, 16, QStringLiteral("-"));
  AdvGlassButton9 = Button(285, 0, 16, 16, QStringLiteral("X"));
  AdvGlassButton1 = Button(3, 19, 25, 15, {});
  AdvGlassButton1->SetSymbol(GlassButton::Symbol::Play);
  AdvGlassButton2 = Button(3, 39, 25, 15, {});
  AdvGlassButton2->SetSymbol(GlassButton::Symbol::Pause);
  AdvGlassButton3 = Button(3, 59, 25, 15, {});
  AdvGlassButton3->SetSymbol(GlassButton::Symbol::Stop);
  AdvGlassButton4 = Button(3, 79, 25, 15, {});
  AdvGlassButton4->SetSymbol(GlassButton::Symbol::ArrowUp);
  AdvGlassButton5 = Button(255, 19, 45, 15, QStringLiteral("ПовВык"));
  AdvGlassButton6 = Button(255, 39, 45, 15, QStringLiteral("ЭквВык"));
  AdvGlassButton7 = Button(255, 59, 45, 15, QStringLiteral("Пл Вык"));
  AdvGlassButton12 = Button(255, 79, 45, 15, QStringLiteral("ДД Вык"));
  AdvGlassButton8 = Button(269, 99, 17, 15, QStringLiteral("?"));

  Panel1 = new QWidget(this);
  Panel1->setGeometry(34, 19, 215, 106);
  Image1 = new QWidget(Panel1);
  Image1->setGeometry(-1, 0, 216, 53);
  QFont panelFont = font();
  panelFont.setBold(true);
  panelFont.setPixelSize(13);
  Panel1->setFont(panelFont);
  Label9 = new QLabel(Panel1);
  Label9->setGeometry(6, 59, 62, 15);
  Label3 = new QLabel(Panel1);
  Label3->setGeometry(6, 74, 62, 15);
  Label2 = new QLabel(QString::fromLatin1(kTimeAtRest), Panel1);
  Label2->setGeometry(6, 91, 62, 15);
  Label4 = PanelLabel(87, 59, 62, QStringLiteral("ПовВык"));
  Label5 = PanelLabel(87, 74, 74, QStringLiteral("Эквалайзер"));
  Label1 = PanelLabel(87, 89, 62, QStringLiteral("Плэйлист"));
  Label6 = PanelLabel(160, 89, 52, QStringLiteral("Дин.Доб."));

  RzTrackBar1 = new TrackBar(Qt::Horizontal, this);
  RzTrackBar1->setGeometry(0, 131, 304, 16);
  RzTrackBar1->setRange(0, 1);
  RzTrackBar1->setFocusPolicy(Qt::StrongFocus);

  OpenDialog1 = new QFileDialog(this);
  OpenDialog1->setFileMode(QFileDialog::ExistingFiles);
  // Qt's own dialog: it matches the patterns in any letter case and lists hidden files.
  OpenDialog1->setOption(QFileDialog::DontUseNativeDialog);
  OpenDialog1->setFilter(OpenDialog1->filter() | QDir::Hidden);
  OpenDialog1->setNameFilter(QString::fromUtf8(kOpenFilter));
  Timer3 = new QTimer(this);
  Timer3->setInterval(5000);
  Timer3->start();
}

void TForm1::BuildMenu() {
  AdvPopupMenu2 = new QMenu(this);
  N1 = AdvPopupMenu2->addMenu(QStringLiteral("Добавить"));
  N5 = N1->addAction(QStringLiteral("Файл(ы)"), this, &TForm1::OpenFilesClick);
  Playlist1 = N1->addAction(QStringLiteral("Плейлист"), this, &TForm1::PlaylistFileRequested);
  URL1 = N1->addAction(QStringLiteral("URL"), this, &TForm1::UrlDialogRequested);
  AdvPopupMenu2->addAction(QStringLiteral("Цветовая схема"), this, &TForm1::ColourSchemeRequested);
  AdvPopupMenu2->addSeparator();
  AdvPopupMenu2->addAction(QStringLiteral("Выход"), this, &QWidget::close);
}

void TForm1::Connect() {
  // Commands run on release over the control; the title-strip buttons on click.
  connect(AdvGlassButton1, &QAbstractButton::clicked, this, &TForm1::PlayClick);
  connect(AdvGlassButton2, &QAbstractButton::clicked, this, &TForm1::PauseClick);
  connect(AdvGlassButton3, &QAbstractButton::clicked, this, &TForm1::StopClick);
  connect(AdvGlassButton5, &QAbstractButton::clicked, this, &TForm1::RepeatClick);
  connect(Label4, &ClickLabel::clicked, this, &TForm1::RepeatClick);
  connect(AdvGlassButton6, &QAbstractButton::clicked, this, &TForm1::EqualizerClick);
  connect(Label5, &ClickLabel::clicked, this, &TForm1::EqualizerClick);
  connect(AdvGlassButton7, &QAbstractButton::clicked, this, &TForm1::PlaylistClick);
  connect(Label1, &ClickLabel::clicked, this, &TForm1::PlaylistClick);
  connect(AdvGlassButton12, &QAbstractButton::clicked, this, &TForm1::AdvGlassButton12Click);
  connect(Label6, &ClickLabel::clicked, this, &TForm1::AdvGlassButton12Click);
  connect(AdvGlassButton9, &QAbstractButton::clicked, this, &QWidget::close);
  connect(AdvGlassButton10, &QAbstractButton::clicked, this, &TForm1::MinimiseRequested);
  connect(AdvGlassButton11, &QAbstractButton::clicked, this, &TForm1::MenuClick);
  connect(RzTrackBar1, &QAbstractSlider::sliderPressed, this, &TForm1::SeekPressed);
  connect(RzTrackBar1, &QAbstractSlider::sliderReleased, this, &TForm1::SeekReleased);
  connect(state_.Engine.get(), &TCore::TransportChanged, this, &TForm1::TransportChanged);
  connect(AdvGlassButton4, &QAbstractButton::clicked, this, &TForm1::OpenFilesClick);
  connect(OpenDialog1, &QFileDialog::filesSelected, this, &TForm1::FilesChosen);
  connect(Timer3, &QTimer::timeout, this, [] { StreamTitleRefresh(*TApplication::Instance()); });
}

void TForm1::OpenFilesClick() { OpenDialog1->open(); }

void TForm1::ShowAddProgress(int done, int total) {
  Label10->setText(done < total ? QStringLiteral(" Добавление %1 из %2").arg(done).arg(total)
                                : QStringLiteral(" ORVE 1.9"));
}

void TForm1::RefreshTime() {
  const TCore& engine = *state_.Engine;
  if (engine.PlayState == kNothingLoaded) return;
  if (!state_.SeekDragging) {
    if (engine.CurrentIsStream()) {
      ShowStreamStatus();
      return;
    }
    // A file that did not open answers -1 for both.
    const int p = std::max(0, engine.Position());
    const int n = std::max(p, engine.Length());
    Label2->setText(TimeText(static_cast<uint32_t>(p)) + QLatin1Char('/') + TimeText(static_cast<uint32_t>(n - p)));
    RzTrackBar1->setValue(p);
  } else {
    Label2->setText(TimeText(static_cast<uint32_t>(std::max(0, RzTrackBar1->value()))));
  }
}

void TForm1::ShowStreamStatus() {
  // Why a station is silent goes to the tray's tooltip under its title.
  TrayIcon* tray = TApplication::Instance()->Tray();
  const TCore& engine = *state_.Engine;
  if (!tray || !engine.Library()) return;
  const QString status = QString::fromStdString(engine.Library()->StreamStatus(engine.Handle()));
  QString tip = QStringLiteral("Play: ") + engine.Titles.value(engine.CurrentIndex);
  if (!status.isEmpty()) tip += QLatin1Char('\n') + status;
  if (tray->ToolTip() != tip) tray->SetToolTip(tip);
}

void TForm1::ClearNowPlaying() {
  Label9->clear();
  Label2->setText(QString::fromLatin1(kTimeAtRest));
  if (TrayIcon* tray = TApplication::Instance()->Tray()) tray->SetToolTip(QString());
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
  emit FilesDropped(TForm2::DroppedNames(*event->mimeData()));
  event->acceptProposedAction();
}

void TForm1::PlayClick() {
  TCore& engine = *state_.Engine;
  if (engine.PlayState != kNothingLoaded && engine.PlayState != kPlaying) engine.Play();
}

void TForm1::PauseClick() { state_.Engine->Pause(); }

void TForm1::StopClick() { state_.Engine->Stop(); }

void TForm1::RepeatClick() {
  switch (state_.RepeatMode) {
    case RepeatModes::Off: state_.RepeatMode = RepeatModes::All; break;
    case RepeatModes::All: state_.RepeatMode = RepeatModes::Track; break;
    case RepeatModes::Track: state_.RepeatMode = RepeatModes::Off; break;
  }
  ShowRepeatMode();
}

void TForm1::ShowRepeatMode() {
  AdvGlassButton5->setText(RepeatCaption(state_.RepeatMode));
  Label4->setText(RepeatCaption(state_.RepeatMode));
}

void TForm1::EqualizerClick() {
  state_.EqualizerShown = !state_.EqualizerShown;
  ShowEqualizerToggle(state_.EqualizerShown);
  emit EqualizerToggled(state_.EqualizerShown);
}

void TForm1::ShowEqualizerToggle(bool shown) {
  AdvGlassButton6->setText(shown ? QStringLiteral("ЭквВкл") : QStringLiteral("ЭквВык"));
  SetLabelOn(Label5, shown);
}

void TForm1::SetRoundButtons() {
  for (GlassButton* b : {AdvGlassButton1, AdvGlassButton2, AdvGlassButton3, AdvGlassButton4, AdvGlassButton5,
                         AdvGlassButton6, AdvGlassButton7, AdvGlassButton12}) {
    b->SetCornerRadius(7);
  }
}

void TForm1::PlaylistClick() {
  ShowPlaylistToggle(!state_.PlaylistShown);
  emit PlaylistToggled(state_.PlaylistShown);
}

void TForm1::ShowPlaylistToggle(bool shown) {
  state_.PlaylistShown = shown;
  AdvGlassButton7->setText(shown ? QStringLiteral("Пл Вкл") : QStringLiteral("Пл Вык"));
  SetLabelOn(Label1, shown);
}

void TForm1::AdvGlassButton12Click() {
  AdvGlassButton12->setText(state_.DynamicAdd ? QStringLiteral("ДД Вык") : QStringLiteral("ДД Вкл"));
  state_.DynamicAdd = !state_.DynamicAdd;
  SetLabelOn(Label6, state_.DynamicAdd);
}

void TForm1::MenuClick() {
  AdvPopupMenu2->popup(QPoint(x() + AdvGlassButton11->x(), y() + AdvGlassButton11->y() + 20));
}

void TForm1::SeekPressed() {
  state_.SeekDragging = true;
  RzTrackBar1->SetTrackColor(ToQColor(state_.Scheme.ThemeColors[1]));
}

void TForm1::SeekByKeys(bool forward) {
  const TCore& engine = *state_.Engine;
  if (engine.PlayState < kPlaying || engine.CurrentIsStream()) return;
  SeekPressed();
  const int position = RzTrackBar1->value();
  if (forward) {
    RzTrackBar1->setValue(position + 5 < RzTrackBar1->maximum() ? position + 5 : RzTrackBar1->maximum());
  } else {
    RzTrackBar1->setValue(position < 6 ? 0 : position - 5);
  }
  SeekReleased();
}

void TForm1::SeekReleased() {
  if (state_.Engine->PlayState != kNothingLoaded) {
    state_.Engine->Seek(static_cast<uint32_t>(std::max(0, RzTrackBar1->value())));
  }
  state_.SeekDragging = false;
  RzTrackBar1->SetTrackColor(ToQColor(state_.Scheme.ThemeColors[3]));
  RzTrackBar1->update();
}

void TForm1::TransportChanged(quint8 playState) {
  const auto& c = state_.Scheme.ThemeColors;
  AdvGlassButton1->SetFontColor(ToQColor(c[playState == kPlaying ? 1 : 2]));
  AdvGlassButton2->SetFontColor(ToQColor(c[playState == kPaused ? 1 : 2]));
  AdvGlassButton3->SetFontColor(ToQColor(c[playState == kStopped ? 1 : 2]));
}

void TForm1::SetLabelOn(QLabel* label, bool on) {
  SetTextColour(label, ToQColor(state_.Scheme.ThemeColors[on ? 1 : 0]));
}

void TForm1::PaintSeekThumb() {
  const QColor thumb = ToQColor(state_.Scheme.ThemeColors[9]);
  RzTrackBar1->SetThumbSize(10, 56);
  RzTrackBar1->SetThumbColor(thumb);
  RzTrackBar1->SetThumbOutlineColor(thumb);
}

void TForm1::ApplyScheme() {
  const auto& c = state_.Scheme.ThemeColors;
  const auto colour = [&](int i) { return ToQColor(c[static_cast<size_t>(i)]); };
  RzTrackBar1->SetTrackColor(colour(state_.SeekDragging ? 1 : 3));
  RzTrackBar1->SetBackgroundColor(colour(5));
  SetBackground(Panel1, colour(0));
  TransportChanged(state_.Engine->PlayState);
  for (GlassButton* b : {AdvGlassButton4, AdvGlassButton5, AdvGlassButton6, AdvGlassButton7, AdvGlassButton8,
                         AdvGlassButton9, AdvGlassButton10, AdvGlassButton11, AdvGlassButton12}) {
    PaintGlassButton(b, colour(2), colour(6), colour(7));
  }
  for (GlassButton* b : {AdvGlassButton1, AdvGlassButton2, AdvGlassButton3}) {
    PaintGlassButton(b, b->FontColor(), colour(6), colour(7));  // the transport colours stay
  }
  PaintGradient(RzBackground1, colour(4), colour(isActiveWindow() ? 1 : 2));
  PaintGradient(RzBackground2, colour(2), colour(4));
  SetLabelOn(Label1, state_.PlaylistShown);
  SetLabelOn(Label2, Label2->text() != QLatin1String(kTimeAtRest));
  for (QLabel* l : {static_cast<QLabel*>(Label3), static_cast<QLabel*>(Label4), Label9}) SetTextColour(l, colour(1));
  SetLabelOn(Label5, state_.EqualizerShown);
  SetLabelOn(Label6, state_.DynamicAdd);
  SetBackground(this, colour(5));
  SetTextColour(Label10, colour(3));
  PaintSeekThumb();
  StyleMenu(AdvPopupMenu2, colour(0), colour(1), colour(6), colour(2));
}

void TForm1::ReloadTheme() {
  // Window by window in the program's fixed order; the windows not built
  // yet take their place here as they come.
  TApplication* app = TApplication::Instance();
  TForm2* playlist = app->Playlist();
  if (app->InfoWindow()) app->InfoWindow()->ApplyScheme();
  if (playlist) playlist->ApplyScheme();
  if (TForm6* equalizer = app->Equalizer()) {
    equalizer->ApplyScheme();
    equalizer->RunEffectSwitches();  // recolours the switches, re-applies the effects that are on
  }
  if (app->UrlWindow()) app->UrlWindow()->ApplyScheme();
  if (playlist) playlist->RebuildItems();
  ApplyScheme();
  if (app->SearchWindow()) app->SearchWindow()->ApplyScheme();
  state_.LogoTick = 0;
}

void TForm1::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange) {
    // The title strip shows whether the window has the focus.
    RzBackground1->SetGradientEnd(ToQColor(state_.Scheme.ThemeColors[isActiveWindow() ? 1 : 2]));
    for (GlassButton* b : {AdvGlassButton9, AdvGlassButton10, AdvGlassButton11}) b->update();
  }
  QWidget::changeEvent(event);
}

void TForm1::closeEvent(QCloseEvent* event) {
  state_.Exiting = true;  // closing the main window ends the program
  QWidget::closeEvent(event);
}

void TForm1::mousePressEvent(QMouseEvent* event) {
  // The title strip lets presses through: a press there moves the window.
  if (event->button() == Qt::LeftButton && RzBackground1->geometry().contains(event->position().toPoint()) &&
      windowHandle() != nullptr) {
    windowHandle()->startSystemMove();
  }
  QWidget::mousePressEvent(event);
}

}  // namespace orve
