// The playlist window: its controls, menus, colours and window events.
#include "playlist/PlaylistWindow.h"

#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QSizeGrip>
#include <QTimer>

#include "playlist/ItemMarkup.h"
#include "session/AppState.h"
#include "settings/ConfigKeys.h"
#include "settings/EncoderParams.h"
#include "settings/IniFile.h"
#include "widgets/Drops.h"
#include "widgets/GlassButton.h"
#include "widgets/GradientBackground.h"
#include "widgets/MarkupListBox.h"
#include "widgets/MenuStyle.h"
#include "widgets/ScreenPlacement.h"
#include "widgets/SkinColours.h"
#include "widgets/SkinnedWindow.h"
#include "widgets/TitleStrip.h"

namespace orve {
namespace {

constexpr int kButtonTop = 19;
constexpr int kCloseInset = 19;  // the "X" button stays this far from the right edge
constexpr int kSaveDelayMs = 1000;

}  // namespace

PlaylistWindow::PlaylistWindow(AppState& state, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      state_(state),
      engine_(*state.Engine),
      adder_(*state.Engine, [this] { AppendedByAdder(); }) {
  adder_.SetCache(&measureCache_);
  setObjectName(QStringLiteral("playlistWindow"));
  setWindowTitle(QStringLiteral("Плэйлист"));
  resize(kWidth, kMinHeight);
  setMinimumSize(kWidth, kMinHeight);
  setAttribute(Qt::WA_QuitOnClose, false);
  setAcceptDrops(true);
  setFont(SkinFont());
  saveTimer_ = new QTimer(this);
  saveTimer_->setSingleShot(true);
  saveTimer_->setInterval(kSaveDelayMs);
  BuildControls();
  BuildMenus();
  Connect();
  ApplyScheme();
}

PlaylistWindow::~PlaylistWindow() { adder_.Cancel(); }

void PlaylistWindow::BuildControls() {
  bodyBackground_ = new GradientBackground(this);
  titleStrip_ = new TitleStrip(QStringLiteral("Плэйлист"), this);
  titleCaption_ = titleStrip_->Caption();
  closeButton_ = CreateSkinButton(QStringLiteral("X"), QRect(), this);
  addButton_ = CreateSkinButton(QStringLiteral("Доб"), QRect(8, kButtonTop, 32, 15), this);
  removeButton_ = CreateSkinButton(QStringLiteral("Удл"), QRect(40, kButtonTop, 32, 15), this);
  playlistFileButton_ = CreateSkinButton(QStringLiteral("Плс"), QRect(72, kButtonTop, 32, 15), this);
  timePanel_ = new QWidget(this);
  timeLabel_ = new QLabel(QStringLiteral("0:00/0:00"), timePanel_);
  timeLabel_->setAlignment(Qt::AlignCenter);
  QFont timeFont = font();
  timeFont.setBold(true);
  timeLabel_->setFont(timeFont);
  entryList_ = new MarkupListBox(this);
  entryList_->setFocusPolicy(Qt::StrongFocus);
  // Frameless windows get their resize handle from a grip in the corner.
  grip_ = new QSizeGrip(this);
  grip_->resize(10, 10);
  grip_->installEventFilter(this);
  tickTimer_ = new QTimer(this);
  tickTimer_->setInterval(50);
}

void PlaylistWindow::resizeEvent(QResizeEvent* event) {
  const int w = width();
  const int h = height();
  titleStrip_->setGeometry(0, 0, w, 16);
  titleStrip_->SetCaptionGeometry(QRect(0, 0, w, 15));
  titleStrip_->SetDragArea(QRect(QPoint(1, 1), QPoint(w - kCloseInset - 1, 15)));
  closeButton_->setGeometry(w - kCloseInset, 0, 16, 16);
  bodyBackground_->setGeometry(0, 16, w, h - 16);
  timePanel_->setGeometry(w - 8 - 167, kButtonTop, 167, 15);
  timeLabel_->setGeometry(0, 0, 167, 15);
  entryList_->setGeometry(8, 40, w - 16, h - 48);
  grip_->move(w - 10, h - 10);
  QWidget::resizeEvent(event);
}

void PlaylistWindow::BuildMenus() {
  addMenu_ = new QMenu(this);
  addFilesAction_ = addMenu_->addAction(QStringLiteral("Файл(ы)"));
  addUrlAction_ = addMenu_->addAction(QStringLiteral("URL"));
  randomTitleAction_ = addMenu_->addAction(QStringLiteral("Случайный из МБ"));
  removeMenu_ = new QMenu(this);
  removeSelectedAction_ = removeMenu_->addAction(QStringLiteral("Выделенное"));
  removeAllAction_ = removeMenu_->addAction(QStringLiteral("Все"));
  playlistFileMenu_ = new QMenu(this);
  loadPlaylistAction_ = playlistFileMenu_->addAction(QStringLiteral("Загрузить"));
  savePlaylistAction_ = playlistFileMenu_->addAction(QStringLiteral("Сохранить"));
  contextMenu_ = new QMenu(this);
  infoAction_ = contextMenu_->addAction(QStringLiteral("Информация"));
  convertMenu_ = contextMenu_->addMenu(QStringLiteral("Конвертировать"));
  for (size_t f = 0; f < convertFormatMenus_.size(); ++f) {
    QMenu* menu = convertMenu_->addMenu(FormatCaption(static_cast<ConvertFormat>(f)));
    convertFormatMenus_[f] = menu;
    for (size_t i = 0; i < folderSlots_[f].size(); ++i) {
      QAction* slot = menu->addAction(QString());
      connect(slot, &QAction::triggered, this,
              [this, f, i] { ConvertSelected(static_cast<ConvertFormat>(f), static_cast<int>(i)); });
      folderSlots_[f][i] = slot;
    }
  }
  SetConversionFolders({});
  removeFromMenu_ = contextMenu_->addMenu(QStringLiteral("Удалить из"));
  removeFromPlaylistAction_ = removeFromMenu_->addAction(QStringLiteral("плэйлиста"));
  deleteFromDiskAction_ = removeFromMenu_->addAction(QStringLiteral("памяти"));
}

void PlaylistWindow::Connect() {
  connect(closeButton_, &QAbstractButton::clicked, this, &PlaylistWindow::Dismiss);
  connect(addButton_, &QAbstractButton::clicked, this, [this] { PopupUnder(addMenu_, addButton_); });
  connect(removeButton_, &QAbstractButton::clicked, this, [this] { PopupUnder(removeMenu_, removeButton_); });
  connect(playlistFileButton_, &QAbstractButton::clicked, this,
          [this] { PopupUnder(playlistFileMenu_, playlistFileButton_); });
  connect(addFilesAction_, &QAction::triggered, this, &PlaylistWindow::OpenFilesRequested);
  connect(addUrlAction_, &QAction::triggered, this, &PlaylistWindow::UrlDialogRequested);
  connect(randomTitleAction_, &QAction::triggered, this, &PlaylistWindow::RandomTitleRequested);
  connect(removeSelectedAction_, &QAction::triggered, this, &PlaylistWindow::RemoveSelected);
  connect(removeAllAction_, &QAction::triggered, this, &PlaylistWindow::ClearPlaylist);
  connect(loadPlaylistAction_, &QAction::triggered, this, &PlaylistWindow::ShowLoadPlaylistDialog);
  connect(savePlaylistAction_, &QAction::triggered, this, [this] { PlaylistFileDialog(savePlaylistDialog_, true)->open(); });
  connect(infoAction_, &QAction::triggered, this, [this] {
    const int s = SelectedIndex();
    if (s >= 0 && s < engine_.Paths.size()) emit InfoRequested(engine_.Paths[s]);
  });
  connect(removeFromPlaylistAction_, &QAction::triggered, this, &PlaylistWindow::RemoveSelected);
  connect(deleteFromDiskAction_, &QAction::triggered, this, &PlaylistWindow::DeleteFromDisk);
  connect(entryList_, &MarkupListBox::doubleClicked, this, &PlaylistWindow::StartSelected);
  connect(entryList_, &MarkupListBox::keyPressed, this, &PlaylistWindow::OnListKey);
  connect(entryList_, &MarkupListBox::mousePressed, this, &PlaylistWindow::OnListPress);
  connect(entryList_, &MarkupListBox::mouseMoved, this, &PlaylistWindow::OnListDrag);
  connect(entryList_, &MarkupListBox::mouseReleased, this, &PlaylistWindow::OnListRelease);
  connect(tickTimer_, &QTimer::timeout, this, &PlaylistWindow::Tick);
  connect(saveTimer_, &QTimer::timeout, this, [this] { SavePlaylist(); });
  connect(&adder_, &EntryAdder::Progress, this, &PlaylistWindow::ReportAddProgress);
}

PlaylistWindow::Controls PlaylistWindow::ControlsForTest() const {
  return {titleStrip_, titleCaption_, closeButton_, addButton_,  removeButton_, playlistFileButton_, timeLabel_,
          entryList_,  tickTimer_,    removeMenu_,  contextMenu_, addUrlAction_, randomTitleAction_, infoAction_, convertMenu_,
          convertFormatMenus_, folderSlots_};
}

void PlaylistWindow::PopupUnder(QMenu* menu, const GlassButton* button) {
  menu->popup(QPoint(x() + button->x(), y() + button->y() + 20));
}

// Made when first opened: file dialogs cost start-up more than the rest of the window.
QFileDialog* PlaylistWindow::PlaylistFileDialog(QFileDialog*& dialog, bool save) {
  if (dialog != nullptr) return dialog;
  dialog = new QFileDialog(this, QString(), QString(), QStringLiteral("M3U (*.M3U)"));
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  if (save) {
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDefaultSuffix(QStringLiteral("m3u"));
    connect(dialog, &QFileDialog::fileSelected, this, &PlaylistWindow::SavePlaylistFile);
  } else {
    dialog->setFileMode(QFileDialog::ExistingFile);
    connect(dialog, &QFileDialog::fileSelected, this, &PlaylistWindow::LoadPlaylistFile);
  }
  return dialog;
}

void PlaylistWindow::ShowLoadPlaylistDialog() { PlaylistFileDialog(loadPlaylistDialog_, false)->open(); }

void PlaylistWindow::InstallListKeys(QObject* filter) { entryList_->installEventFilter(filter); }

void PlaylistWindow::RestoreFromConfig(IniFile& config) {
  ApplyScheme();
  state_.Encoders = EncoderParams::Read(config);
  const bool shown = config.Read(config::tech::kPlaylistShown);
  if (shown) {
    state_.PlaylistShown = true;
    show();
  }
  emit ShownAtStartup(shown);
  // Any other value leaves the mode the main window gave.
  if (const auto mode = RepeatModeFromStored(config.Read(config::tech::kRepeat))) state_.RepeatMode = *mode;
  engine_.CurrentIndex = -1;
  tickTimer_->start();
}

void PlaylistWindow::SetRoundButtons(bool round) {
  for (GlassButton* b : {addButton_, removeButton_, playlistFileButton_}) b->SetCornerRadius(round ? 7 : 0);
}

void PlaylistWindow::ApplyScheme() {
  const ColourScheme& s = state_.Scheme;
  using R = ColourRole;
  for (GlassButton* b : {addButton_, removeButton_, playlistFileButton_, closeButton_}) {
    PaintGlassButton(b, s.Colour(R::ButtonText), s.Colour(R::ButtonFace), s.Colour(R::ButtonGlow));
  }
  titleStrip_->SetColours(s.Colour(R::TitleStart), s.Colour(R::Highlight), s.Colour(R::ButtonText),
                          s.Colour(R::LabelText));
  PaintGradient(bodyBackground_, s.Colour(R::ButtonText), s.Colour(R::TitleStart));
  SetBackground(this, s.Colour(R::Window));
  entryList_->SetSelectionStartColour(s.Colour(R::ButtonText));
  entryList_->SetSelectionEndColour(s.Colour(R::ButtonFace));
  entryList_->SetSelectionBorderColour(s.Colour(R::ButtonText));
  entryList_->SetBackgroundColour(s.Colour(R::Panel));
  entryList_->SetTextColour(s.Colour(R::ListText));
  SetTextColour(timeLabel_, s.Colour(R::Highlight));
  SetBackground(timePanel_, s.Colour(R::Panel));
  SelectionColour();
  for (QMenu* m : {addMenu_, removeMenu_, playlistFileMenu_, contextMenu_}) {
    StyleMenu(m, s.Colour(R::Panel), s.Colour(R::Highlight), s.Colour(R::ButtonFace), s.Colour(R::ButtonText));
  }
}

void PlaylistWindow::RebuildItems() {
  for (int i = 0; i < entryList_->Count(); ++i) ShowRow(i, i == engine_.CurrentIndex);
  SelectionColour();
}

void PlaylistWindow::Dismiss() {
  state_.PlaylistShown = false;
  hide();
  emit Closed();
}

void PlaylistWindow::closeEvent(QCloseEvent* event) {
  // Closing by the window manager is the "X" button, unless the program ends.
  if (!state_.Exiting && isVisible()) {
    state_.PlaylistShown = false;
    emit Closed();
  }
  QWidget::closeEvent(event);
}

void PlaylistWindow::mouseDoubleClickEvent(QMouseEvent* event) {
  // The title strip takes its own presses; a double-click anywhere else
  // aligns the window to the right edge of the screen and back.
  if (event->button() == Qt::LeftButton) ToggleRightEdge();
  QWidget::mouseDoubleClickEvent(event);
}

bool PlaylistWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == grip_) {
    if (event->type() == QEvent::MouseButtonPress) {
      // Sized by its corner, the window stops at the work area's right and
      // bottom edges.
      const QRect area = WorkArea();
      setMaximumSize(std::max(minimumWidth(), area.left() + area.width() - x()),
                     std::max(minimumHeight(), area.top() + area.height() - y()));
    } else if (event->type() == QEvent::MouseButtonRelease) {
      setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
  }
  return QWidget::eventFilter(watched, event);
}

QRect PlaylistWindow::WorkArea() const {
  const QList<Monitor> monitors = Monitors();
  const int i = MonitorOf(frameGeometry(), monitors);
  return i < 0 ? QRect() : monitors[i].workArea;
}

void PlaylistWindow::ToggleRightEdge() {
  setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  if (rightAligned_) {
    rightAligned_ = false;
    setGeometry(floatingBounds_);
    emit RightEdgeToggled();
    return;
  }
  const QRect area = WorkArea();
  if (area.isEmpty()) return;
  floatingBounds_ = geometry();
  setGeometry(area.right() + 1 - width(), area.top(), width(), area.height());
  rightAligned_ = true;
  emit RightEdgeToggled();
}

void PlaylistWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void PlaylistWindow::dropEvent(QDropEvent* event) {
  AddDroppedFiles(LocalFileNames(*event->mimeData()));
  event->acceptProposedAction();
}

}  // namespace orve
