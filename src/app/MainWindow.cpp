#include "app/MainWindow.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QTimer>

#include "app/Application.h"
#include "app/DynamicAdd.h"
#include "app/StartEntry.h"
#include "app/TrayIcon.h"
#include "engine/TimeText.h"
#include "widgets/ClickLabel.h"
#include "widgets/DrawingSurface.h"
#include "widgets/Drops.h"
#include "widgets/FitLabel.h"
#include "widgets/GlassButton.h"
#include "widgets/GradientBackground.h"
#include "widgets/MenuStyle.h"
#include "widgets/SkinColours.h"
#include "widgets/SkinnedWindow.h"
#include "widgets/TitleStrip.h"
#include "widgets/TrackBar.h"

namespace orve {
namespace {

constexpr char kOpenFilter[] =
    "Mp3, Mp2, Mp1, Wave, Ogg, Opus, FLAC, Aiff, AAC, MP4, M4A, WMA, Audio CD "
    "(*.MP3 *.MP2 *.MP1 *.OGG *.OGA *.OPUS *.FLAC *.WAV *.AIFF *.Wave *.MP4 *.M4A *.AAC *.WMA *.CDA)";

// The title strip's caption at rest.
QString TitleAtRest() { return QLatin1Char(' ') + QString::fromLatin1(kAppTitle); }

QString RepeatCaption(RepeatModes mode) {
  switch (mode) {
    case RepeatModes::All: return QStringLiteral("ПовВсё");
    case RepeatModes::Track: return QStringLiteral("ПовТрк");
    case RepeatModes::Off: break;
  }
  return QStringLiteral("ПовВык");
}

}  // namespace

MainWindow::MainWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), state_(Application::Instance()->State()) {
  setObjectName(QStringLiteral("mainWindow"));
  setWindowTitle(QString::fromLatin1(kAppTitle));
  setFixedSize(kWidth, kHeight);
  setAttribute(Qt::WA_QuitOnClose, true);
  setAcceptDrops(true);
  setFont(SkinFont());
  BuildControls();
  BuildMenu();
  Connect();
  ApplyScheme();
}

ClickLabel* MainWindow::PanelLabel(int left, int top, int width, const QString& text) {
  auto* l = new ClickLabel(text, displayPanel_);
  l->setGeometry(left, top, width, 15);
  return l;
}

void MainWindow::BuildControls() {
  bodyBackground_ = new GradientBackground(this);
  bodyBackground_->setGeometry(0, 0, kWidth, kHeight);
  titleStrip_ = new TitleStrip(TitleAtRest(), this);
  titleStrip_->setGeometry(3, 0, 298, 16);
  titleStrip_->SetCaptionGeometry(QRect(22, 0, 238, 13));
  // Between the speaker button and the "-" button; the main window stays
  // wholly inside the work area.
  titleStrip_->SetDragArea(QRect(QPoint(20, 1), QPoint(268, 15)));
  titleStrip_->SetKeepWhole(true);
  titleCaption_ = titleStrip_->Caption();

  menuButton_ = CreateSkinButton({}, QRect(3, 0, 16, 16), this);
  menuButton_->SetSymbol(GlassButton::Symbol::Speaker);
  minimiseButton_ = CreateSkinButton(QStringLiteral("-"), QRect(269, 0, 16, 16), this);
  closeButton_ = CreateSkinButton(QStringLiteral("X"), QRect(285, 0, 16, 16), this);
  playButton_ = CreateSkinButton({}, QRect(3, 19, 25, 15), this);
  playButton_->SetSymbol(GlassButton::Symbol::Play);
  pauseButton_ = CreateSkinButton({}, QRect(3, 39, 25, 15), this);
  pauseButton_->SetSymbol(GlassButton::Symbol::Pause);
  stopButton_ = CreateSkinButton({}, QRect(3, 59, 25, 15), this);
  stopButton_->SetSymbol(GlassButton::Symbol::Stop);
  openFilesButton_ = CreateSkinButton({}, QRect(3, 79, 25, 15), this);
  openFilesButton_->SetSymbol(GlassButton::Symbol::ArrowUp);
  repeatButton_ = CreateSkinButton(QStringLiteral("ПовВык"), QRect(255, 19, 45, 15), this);
  equalizerButton_ = CreateSkinButton(QStringLiteral("ЭквВык"), QRect(255, 39, 45, 15), this);
  playlistButton_ = CreateSkinButton(QStringLiteral("Пл Вык"), QRect(255, 59, 45, 15), this);
  dynamicAddButton_ = CreateSkinButton(QStringLiteral("ДД Вык"), QRect(255, 79, 45, 15), this);
  aboutButton_ = CreateSkinButton(QStringLiteral("?"), QRect(269, 99, 17, 15), this);
  BuildDisplay();

  seekBar_ = new TrackBar(Qt::Horizontal, this);
  seekBar_->setGeometry(0, 131, 304, 16);
  seekBar_->setRange(0, 1);
  seekBar_->setFocusPolicy(Qt::StrongFocus);

  streamTitleTimer_ = new QTimer(this);
  streamTitleTimer_->setInterval(5000);
  streamTitleTimer_->start();
  BuildDisplayTimers();
}

void MainWindow::BuildDisplay() {
  displayPanel_ = new QWidget(this);
  displayPanel_->setGeometry(34, 19, 215, 106);
  visualisationSurface_ = new DrawingSurface(displayPanel_);
  visualisationSurface_->setGeometry(-1, 0, 216, 53);
  QFont panelFont = font();
  panelFont.setBold(true);
  panelFont.setPixelSize(13);
  displayPanel_->setFont(panelFont);
  // Long times, rates and reasons are drawn narrower, never cut.
  bitRateLabel_ = new FitLabel(displayPanel_);
  bitRateLabel_->setGeometry(6, 59, 62, 15);
  volumeLabel_ = new FitLabel(displayPanel_);
  volumeLabel_->setGeometry(6, 74, 62, 15);
  timeLabel_ = new FitLabel(QString::fromLatin1(kTimeAtRest), displayPanel_);
  timeLabel_->setGeometry(6, 91, 62, 15);
  repeatLabel_ = PanelLabel(87, 59, 62, QStringLiteral("ПовВык"));
  equalizerLabel_ = PanelLabel(87, 74, 74, QStringLiteral("Эквалайзер"));
  playlistLabel_ = PanelLabel(87, 89, 62, QStringLiteral("Плэйлист"));
  dynamicAddLabel_ = PanelLabel(160, 89, 52, QStringLiteral("Дин.Доб."));
}

void MainWindow::BuildMenu() {
  mainMenu_ = new QMenu(this);
  addMenu_ = mainMenu_->addMenu(QStringLiteral("Добавить"));
  addMenu_->addAction(QStringLiteral("Файл(ы)"), this, &MainWindow::ShowOpenFilesDialog);
  addMenu_->addAction(QStringLiteral("Плейлист"), this, &MainWindow::PlaylistFileRequested);
  addMenu_->addAction(QStringLiteral("URL"), this, &MainWindow::UrlDialogRequested);
  mainMenu_->addAction(QStringLiteral("Настройки"), this, &MainWindow::SettingsRequested);
  mainMenu_->addAction(QStringLiteral("Транспарантность"), this, &MainWindow::TransparencyRequested);
  mainMenu_->addAction(QStringLiteral("База I-net радио"), this, &MainWindow::RadioBaseRequested);
  mainMenu_->addAction(QStringLiteral("Музыкальная база"), this, &MainWindow::MusicBaseRequested);
  mainMenu_->addAction(QStringLiteral("Цветовая схема"), this, &MainWindow::ColourSchemeRequested);
  mainMenu_->addAction(QStringLiteral("Автор"), this, &MainWindow::AboutRequested);
  mainMenu_->addSeparator();
  mainMenu_->addAction(QStringLiteral("Выход"), this, &QWidget::close);
}

void MainWindow::Connect() {
  // Commands run on release over the control; the title-strip buttons on click.
  connect(playButton_, &QAbstractButton::clicked, this, &MainWindow::Play);
  connect(aboutButton_, &QAbstractButton::clicked, this, &MainWindow::AboutRequested);
  connect(pauseButton_, &QAbstractButton::clicked, this, &MainWindow::Pause);
  connect(stopButton_, &QAbstractButton::clicked, this, &MainWindow::Stop);
  connect(repeatButton_, &QAbstractButton::clicked, this, &MainWindow::CycleRepeatMode);
  connect(repeatLabel_, &ClickLabel::clicked, this, &MainWindow::CycleRepeatMode);
  connect(equalizerButton_, &QAbstractButton::clicked, this, &MainWindow::ToggleEqualizer);
  connect(equalizerLabel_, &ClickLabel::clicked, this, &MainWindow::ToggleEqualizer);
  connect(playlistButton_, &QAbstractButton::clicked, this, &MainWindow::TogglePlaylist);
  connect(playlistLabel_, &ClickLabel::clicked, this, &MainWindow::TogglePlaylist);
  connect(dynamicAddButton_, &QAbstractButton::clicked, this, &MainWindow::ToggleDynamicAdd);
  connect(dynamicAddLabel_, &ClickLabel::clicked, this, &MainWindow::ToggleDynamicAdd);
  connect(closeButton_, &QAbstractButton::clicked, this, &QWidget::close);
  connect(minimiseButton_, &QAbstractButton::clicked, this, &MainWindow::MinimiseRequested);
  connect(menuButton_, &QAbstractButton::clicked, this, &MainWindow::ShowMainMenu);
  connect(seekBar_, &QAbstractSlider::sliderPressed, this, &MainWindow::BeginSeekDrag);
  connect(seekBar_, &QAbstractSlider::sliderReleased, this, &MainWindow::CommitSeek);
  connect(state_.Engine.get(), &TCore::TransportChanged, this, &MainWindow::ShowTransportState);
  connect(state_.Engine.get(), &TCore::TransportChanged, this, [this] { FollowDisplayVisibility(); });
  connect(openFilesButton_, &QAbstractButton::clicked, this, &MainWindow::ShowOpenFilesDialog);
  connect(streamTitleTimer_, &QTimer::timeout, this, [] { StreamTitleRefresh(*Application::Instance()); });
  connect(entryEndTimer_, &QTimer::timeout, this, [this] {
    BlinkNearTheEnd();
    DynamicAddStep(*Application::Instance());
  });
  connect(visualisationTimer_, &QTimer::timeout, this, &MainWindow::DrawVisualisation);
  connect(idleTimer_, &QTimer::timeout, this, &MainWindow::AnimateIdle);
  connect(titleTimer_, &QTimer::timeout, this, &MainWindow::ScrollWindowTitle);
  connect(visualisationSurface_, &DrawingSurface::doubleClicked, this, &MainWindow::CycleVisMode);
}

MainWindow::Controls MainWindow::ControlsForTest() {
  return {titleStrip_,      titleCaption_,     bodyBackground_,  playButton_,       pauseButton_,
          stopButton_,      openFilesButton_,  repeatButton_,    equalizerButton_,  playlistButton_,
          closeButton_,     minimiseButton_,   dynamicAddButton_, displayPanel_,    visualisationSurface_,
          bitRateLabel_,
          volumeLabel_,     timeLabel_,        repeatLabel_,     equalizerLabel_,   playlistLabel_,
          dynamicAddLabel_, seekBar_,          mainMenu_,        addMenu_,          OpenFilesDialog(),
          visualisationTimer_, idleTimer_,     titleTimer_,      entryEndTimer_,   aboutButton_};
}

// Made when first opened: a file dialog costs start-up a tenth of its time.
QFileDialog* MainWindow::OpenFilesDialog() {
  if (openFilesDialog_ != nullptr) return openFilesDialog_;
  openFilesDialog_ = new QFileDialog(this);
  openFilesDialog_->setFileMode(QFileDialog::ExistingFiles);
  // Qt's own dialog: it matches the patterns in any letter case and lists hidden files.
  openFilesDialog_->setOption(QFileDialog::DontUseNativeDialog);
  openFilesDialog_->setFilter(openFilesDialog_->filter() | QDir::Hidden);
  openFilesDialog_->setNameFilter(QString::fromUtf8(kOpenFilter));
  connect(openFilesDialog_, &QFileDialog::filesSelected, this, &MainWindow::FilesChosen);
  return openFilesDialog_;
}

void MainWindow::ShowOpenFilesDialog() { OpenFilesDialog()->open(); }

void MainWindow::ShowAddProgress(int done, int total) {
  titleCaption_->setText(done < total ? QStringLiteral(" Добавление %1 из %2").arg(done).arg(total) : TitleAtRest());
}

void MainWindow::ShowStartTime(uint32_t seconds) {
  SetTextColour(timeLabel_, state_.Scheme.Colour(ColourRole::Highlight));
  timeLabel_->setText(QStringLiteral("0:00/") + TimeText(seconds));
}

void MainWindow::ShowBitRate(const QString& text) { bitRateLabel_->setText(text); }

void MainWindow::ShowVolumeText(const QString& text) { volumeLabel_->setText(text); }

void MainWindow::HighlightVolume(bool pressed) {
  SetTextColour(volumeLabel_, state_.Scheme.Colour(pressed ? ColourRole::LabelText : ColourRole::Highlight));
}

void MainWindow::RefreshTime() {
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
    timeLabel_->setText(TimeText(static_cast<uint32_t>(p)) + QLatin1Char('/') + TimeText(static_cast<uint32_t>(n - p)));
    seekBar_->setValue(p);
  } else {
    timeLabel_->setText(TimeText(static_cast<uint32_t>(std::max(0, seekBar_->value()))));
  }
}

void MainWindow::ShowStreamStatus() {
  // Why a station is silent stands where a file's bit rate would, and in
  // the tray's tooltip under its title: a desktop may have no tray.
  const TCore& engine = *state_.Engine;
  if (!engine.Library()) return;
  const QString status = QString::fromStdString(engine.Library()->StreamStatus(engine.Handle()));
  if (bitRateLabel_->text() != status) bitRateLabel_->setText(status);
  TrayIcon* tray = Application::Instance()->Windows().tray;
  if (!tray) return;
  QString tip = QStringLiteral("Play: ") + engine.Titles.value(engine.CurrentIndex);
  if (!status.isEmpty()) tip += QLatin1Char('\n') + status;
  if (tray->ToolTip() != tip) tray->SetToolTip(tip);
}

void MainWindow::ClearNowPlaying() {
  bitRateLabel_->clear();
  timeLabel_->setText(QString::fromLatin1(kTimeAtRest));
  if (TrayIcon* tray = Application::Instance()->Windows().tray) tray->SetToolTip(QString());
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  emit FilesDropped(LocalFileNames(*event->mimeData()));
  event->acceptProposedAction();
}

void MainWindow::Play() {
  TCore& engine = *state_.Engine;
  if (engine.PlayState != kNothingLoaded && engine.PlayState != kPlaying) engine.Play();
}

void MainWindow::Pause() { state_.Engine->Pause(); }

void MainWindow::Stop() { state_.Engine->Stop(); }

void MainWindow::CycleRepeatMode() {
  switch (state_.RepeatMode) {
    case RepeatModes::Off: state_.RepeatMode = RepeatModes::All; break;
    case RepeatModes::All: state_.RepeatMode = RepeatModes::Track; break;
    case RepeatModes::Track: state_.RepeatMode = RepeatModes::Off; break;
  }
  ShowRepeatMode();
}

void MainWindow::ShowRepeatMode() {
  repeatButton_->setText(RepeatCaption(state_.RepeatMode));
  repeatLabel_->setText(RepeatCaption(state_.RepeatMode));
}

void MainWindow::ToggleEqualizer() {
  state_.EqualizerShown = !state_.EqualizerShown;
  ShowEqualizerToggle(state_.EqualizerShown);
  emit EqualizerToggled(state_.EqualizerShown);
}

void MainWindow::ShowEqualizerToggle(bool shown) {
  equalizerButton_->setText(shown ? QStringLiteral("ЭквВкл") : QStringLiteral("ЭквВык"));
  SetLabelOn(equalizerLabel_, shown);
}

void MainWindow::SetRoundButtons(bool round) {
  for (GlassButton* b : {playButton_, pauseButton_, stopButton_, openFilesButton_, repeatButton_, equalizerButton_,
                         playlistButton_, dynamicAddButton_}) {
    b->SetCornerRadius(round ? 7 : 0);
  }
}

void MainWindow::TogglePlaylist() {
  ShowPlaylistToggle(!state_.PlaylistShown);
  emit PlaylistToggled(state_.PlaylistShown);
}

void MainWindow::ShowPlaylistToggle(bool shown) {
  state_.PlaylistShown = shown;
  playlistButton_->setText(shown ? QStringLiteral("Пл Вкл") : QStringLiteral("Пл Вык"));
  SetLabelOn(playlistLabel_, shown);
}

void MainWindow::ToggleDynamicAdd() {
  state_.DynamicAdd = !state_.DynamicAdd;
  dynamicAddButton_->setText(state_.DynamicAdd ? QStringLiteral("ДД Вкл") : QStringLiteral("ДД Вык"));
  SetLabelOn(dynamicAddLabel_, state_.DynamicAdd);
}

void MainWindow::RestoreDynamicAdd(bool on) {
  state_.DynamicAdd = !on;
  ToggleDynamicAdd();
}

void MainWindow::ShowMainMenu() {
  mainMenu_->popup(QPoint(x() + menuButton_->x(), y() + menuButton_->y() + 20));
}

void MainWindow::BeginSeekDrag() {
  state_.SeekDragging = true;
  seekBar_->SetTrackColour(state_.Scheme.Colour(ColourRole::Highlight));
}

void MainWindow::SeekByKeys(bool forward) {
  const TCore& engine = *state_.Engine;
  if (engine.PlayState < kPlaying || engine.CurrentIsStream()) return;
  BeginSeekDrag();
  const int position = seekBar_->value();
  if (forward) {
    seekBar_->setValue(position + 5 < seekBar_->maximum() ? position + 5 : seekBar_->maximum());
  } else {
    seekBar_->setValue(position < 6 ? 0 : position - 5);
  }
  CommitSeek();
}

void MainWindow::SeekTo(int seconds) {
  seekBar_->setValue(seconds);
  CommitSeek();
}

void MainWindow::CommitSeek() {
  if (state_.Engine->PlayState != kNothingLoaded) {
    state_.Engine->Seek(static_cast<uint32_t>(std::max(0, seekBar_->value())));
  }
  state_.SeekDragging = false;
  seekBar_->SetTrackColour(state_.Scheme.Colour(ColourRole::LabelText));
  seekBar_->update();
}

int MainWindow::SeekPosition() const { return seekBar_->value(); }

int MainWindow::SeekLength() const { return seekBar_->maximum(); }

QString MainWindow::TimeDisplayText() const { return timeLabel_->text(); }

void MainWindow::SetSeekRange(int maximum) { seekBar_->setRange(0, maximum); }

void MainWindow::InstallSeekKeys(QObject* filter) { seekBar_->installEventFilter(filter); }

void MainWindow::ShowTransportState(quint8 playState) {
  const ColourScheme& s = state_.Scheme;
  const auto lit = [&](bool on) { return s.Colour(on ? ColourRole::Highlight : ColourRole::ButtonText); };
  playButton_->SetFontColour(lit(playState == kPlaying));
  pauseButton_->SetFontColour(lit(playState == kPaused));
  stopButton_->SetFontColour(lit(playState == kStopped));
}

void MainWindow::SetLabelOn(QLabel* label, bool on) {
  SetTextColour(label, state_.Scheme.Colour(on ? ColourRole::Highlight : ColourRole::Panel));
}

void MainWindow::PaintSeekThumb() {
  const QColor thumb = state_.Scheme.Colour(ColourRole::Thumb);
  seekBar_->SetThumbSize(10, 56);
  seekBar_->SetThumbColour(thumb);
  seekBar_->SetThumbOutlineColour(thumb);
}

void MainWindow::ApplyScheme() {
  const ColourScheme& s = state_.Scheme;
  using R = ColourRole;
  seekBar_->SetTrackColour(s.Colour(state_.SeekDragging ? R::Highlight : R::LabelText));
  seekBar_->SetBackgroundColour(s.Colour(R::Window));
  SetBackground(displayPanel_, s.Colour(R::Panel));
  ShowTransportState(state_.Engine->PlayState);
  for (GlassButton* b : {openFilesButton_, repeatButton_, equalizerButton_, playlistButton_, aboutButton_,
                         closeButton_, minimiseButton_, menuButton_, dynamicAddButton_}) {
    PaintGlassButton(b, s.Colour(R::ButtonText), s.Colour(R::ButtonFace), s.Colour(R::ButtonGlow));
  }
  for (GlassButton* b : {playButton_, pauseButton_, stopButton_}) {
    // The transport colours stay.
    PaintGlassButton(b, b->FontColour(), s.Colour(R::ButtonFace), s.Colour(R::ButtonGlow));
  }
  titleStrip_->SetColours(s.Colour(R::TitleStart), s.Colour(R::Highlight), s.Colour(R::ButtonText),
                          s.Colour(R::LabelText));
  PaintGradient(bodyBackground_, s.Colour(R::ButtonText), s.Colour(R::TitleStart));
  SetLabelOn(playlistLabel_, state_.PlaylistShown);
  SetLabelOn(timeLabel_, timeLabel_->text() != QLatin1String(kTimeAtRest));
  for (QLabel* l : {volumeLabel_, static_cast<QLabel*>(repeatLabel_), bitRateLabel_}) {
    SetTextColour(l, s.Colour(R::Highlight));
  }
  SetLabelOn(equalizerLabel_, state_.EqualizerShown);
  SetLabelOn(dynamicAddLabel_, state_.DynamicAdd);
  SetBackground(this, s.Colour(R::Window));
  PaintSeekThumb();
  StyleMenu(mainMenu_, s.Colour(R::Panel), s.Colour(R::Highlight), s.Colour(R::ButtonFace), s.Colour(R::ButtonText));
}

void MainWindow::closeEvent(QCloseEvent* event) {
  state_.Exiting = true;  // closing the main window ends the program
  QWidget::closeEvent(event);
  // Hidden in the tray, the window is not the last one to close, and Qt
  // would keep the event loop running: every exit road ends it here.
  QCoreApplication::quit();
}

}  // namespace orve
