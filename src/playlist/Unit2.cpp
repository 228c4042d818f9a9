// The playlist window: its controls, menus, colours and window events.
#include "playlist/Unit2.h"

#include <QGuiApplication>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QSizeGrip>
#include <QWindow>

#include "app/AppState.h"
#include "playlist/ItemMarkup.h"
#include "settings/ConfigKeys.h"
#include "settings/IniFile.h"
#include "widgets/MenuStyle.h"
#include "widgets/SkinColours.h"

namespace orve {
namespace {

constexpr int kButtonTop = 19;
constexpr int kCloseInset = 19;  // the "X" button stays this far from the right edge
constexpr int kSaveDelayMs = 1000;

}  // namespace

TForm2::TForm2(AppState& state, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      state_(state),
      engine_(*state.Engine),
      adder_(*state.Engine, [this] { AppendItem(); }) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("Плэйлист"));
  resize(kWidth, kHeight);
  setMinimumSize(kWidth, kMinHeight);
  setAttribute(Qt::WA_QuitOnClose, false);
  setAcceptDrops(true);
  QFont skinFont(QStringLiteral("Calibri"));
  skinFont.setPixelSize(12);
  setFont(skinFont);
  saveTimer_ = new QTimer(this);
  saveTimer_->setSingleShot(true);
  saveTimer_->setInterval(kSaveDelayMs);
  BuildControls();
  BuildMenus();
  Connect();
  ApplyScheme();
}

TForm2::~TForm2() { adder_.Cancel(); }

GlassButton* TForm2::Button(int left, const QString& caption) {
  auto* b = new GlassButton(caption, this);
  b->setGeometry(left, kButtonTop, 32, 15);
  QFont f = b->font();
  f.setPixelSize(10);
  f.setBold(true);
  b->setFont(f);
  return b;
}

void TForm2::BuildControls() {
  RzBackground2 = new GradientBackground(this);
  RzBackground1 = new GradientBackground(this);
  LayList = CreateTitleCaption(this, QStringLiteral("Плэйлист"), QRect(0, 0, kWidth, 15));
  AdvGlassButton9 = new GlassButton(QStringLiteral("X"), this);
  QFont closeFont = AdvGlassButton9->font();
  closeFont.setPixelSize(10);
  closeFont.setBold(true);
  AdvGlassButton9->setFont(closeFont);
  AdvGlassButton1 = Button(8, QStringLiteral("Доб"));
  AdvGlassButton2 = Button(40, QStringLiteral("Удл"));
  AdvGlassButton3 = Button(72, QStringLiteral("Плс"));
  Panel1 = new QWidget(this);
  Label2 = new QLabel(QStringLiteral("0:00/0:00"), Panel1);
  Label2->setAlignment(Qt::AlignCenter);
  QFont timeFont = font();
  timeFont.setBold(true);
  Label2->setFont(timeFont);
  ListBox1 = new MarkupListBox(this);
  ListBox1->setFocusPolicy(Qt::StrongFocus);
  // Frameless windows get their resize handle from a grip in the corner.
  grip_ = new QSizeGrip(this);
  grip_->resize(10, 10);
  Timer1 = new QTimer(this);
  Timer1->setInterval(50);
  RzOpenDialog1 = new QFileDialog(this, QString(), QString(), QStringLiteral("M3U (*.M3U)"));
  RzOpenDialog1->setFileMode(QFileDialog::ExistingFile);
  RzOpenDialog1->setOption(QFileDialog::DontUseNativeDialog);
  RzSaveDialog1 = new QFileDialog(this, QString(), QString(), QStringLiteral("M3U (*.M3U)"));
  RzSaveDialog1->setAcceptMode(QFileDialog::AcceptSave);
  RzSaveDialog1->setDefaultSuffix(QStringLiteral("m3u"));
  RzSaveDialog1->setOption(QFileDialog::DontUseNativeDialog);
}

void TForm2::resizeEvent(QResizeEvent* event) {
  const int w = width();
  const int h = height();
  RzBackground1->setGeometry(0, 0, w, 16);
  LayList->setGeometry(0, 0, w, 15);
  AdvGlassButton9->setGeometry(w - kCloseInset, 0, 16, 16);
  RzBackground2->setGeometry(0, 16, w, h - 16);
  Panel1->setGeometry(w - 8 - 167, kButtonTop, 167, 15);
  Label2->setGeometry(0, 0, 167, 15);
  ListBox1->setGeometry(8, 40, w - 16, h - 48);
  grip_->move(w - 10, h - 10);
  QWidget::resizeEvent(event);
}

void TForm2::BuildMenus() {
  AdvPopupMenu1 = new QMenu(this);
  N1 = AdvPopupMenu1->addAction(QStringLiteral("Файл(ы)"));
  http1 = AdvPopupMenu1->addAction(QStringLiteral("URL"));
  AdvPopupMenu2 = new QMenu(this);
  MenuItem1 = AdvPopupMenu2->addAction(QStringLiteral("Выделенное"));
  MenuItem2 = AdvPopupMenu2->addAction(QStringLiteral("Все"));
  AdvPopupMenu3 = new QMenu(this);
  MenuItem3 = AdvPopupMenu3->addAction(QStringLiteral("Загрузить"));
  Save1 = AdvPopupMenu3->addAction(QStringLiteral("Сохранить"));
  AdvPopupMenu4 = new QMenu(this);
  N2 = AdvPopupMenu4->addAction(QStringLiteral("Информация"));
  N3 = AdvPopupMenu4->addMenu(QStringLiteral("Конвертировать"));
  N4 = AdvPopupMenu4->addMenu(QStringLiteral("Удалить из"));
  N5 = N4->addAction(QStringLiteral("плэйлиста"));
  N6 = N4->addAction(QStringLiteral("памяти"));
}

void TForm2::Connect() {
  connect(AdvGlassButton9, &QAbstractButton::clicked, this, &TForm2::AdvGlassButton9Click);
  connect(AdvGlassButton1, &QAbstractButton::clicked, this, [this] { PopupUnder(AdvPopupMenu1, AdvGlassButton1); });
  connect(AdvGlassButton2, &QAbstractButton::clicked, this, [this] { PopupUnder(AdvPopupMenu2, AdvGlassButton2); });
  connect(AdvGlassButton3, &QAbstractButton::clicked, this, [this] { PopupUnder(AdvPopupMenu3, AdvGlassButton3); });
  connect(N1, &QAction::triggered, this, &TForm2::OpenFilesRequested);
  connect(http1, &QAction::triggered, this, &TForm2::UrlDialogRequested);
  connect(MenuItem1, &QAction::triggered, this, &TForm2::RemoveSelected);
  connect(MenuItem2, &QAction::triggered, this, &TForm2::ClearPlaylist);
  connect(MenuItem3, &QAction::triggered, RzOpenDialog1, qOverload<>(&QDialog::open));
  connect(Save1, &QAction::triggered, RzSaveDialog1, qOverload<>(&QDialog::open));
  connect(RzOpenDialog1, &QFileDialog::fileSelected, this, &TForm2::LoadPlaylistFile);
  connect(RzSaveDialog1, &QFileDialog::fileSelected, this, &TForm2::SavePlaylistFile);
  connect(N2, &QAction::triggered, this, [this] {
    const int s = ListBox1->ItemIndex();
    if (s >= 0 && s < engine_.Paths.size()) emit InfoRequested(engine_.Paths[s]);
  });
  connect(N5, &QAction::triggered, this, &TForm2::RemoveSelected);
  connect(N6, &QAction::triggered, this, &TForm2::DeleteFromDisk);
  connect(ListBox1, &MarkupListBox::doubleClicked, this, &TForm2::ListBox1DblClick);
  connect(ListBox1, &MarkupListBox::keyPressed, this, &TForm2::ListBox1KeyDown);
  connect(ListBox1, &MarkupListBox::mousePressed, this, &TForm2::ListBox1MouseDown);
  connect(ListBox1, &MarkupListBox::mouseMoved, this, &TForm2::ListBox1MouseMove);
  connect(ListBox1, &MarkupListBox::mouseReleased, this, &TForm2::ListBox1MouseUp);
  connect(Timer1, &QTimer::timeout, this, &TForm2::Timer1Timer);
  connect(saveTimer_, &QTimer::timeout, this, [this] { SavePlaylist(); });
  connect(&adder_, &EntryAdder::Progress, this, &TForm2::ReportAddProgress);
}

void TForm2::PopupUnder(QMenu* menu, const GlassButton* button) {
  menu->popup(QPoint(x() + button->x(), y() + button->y() + 20));
}

void TForm2::FormCreate(IniFile& config) {
  ApplyScheme();
  const int w = config.Read(config::pls::kWidth);
  const int h = config.Read(config::pls::kHeight);
  setGeometry(config.Read(config::pls::kX), config.Read(config::pls::kY), std::max(w, kWidth),
              std::max(h, kMinHeight));
  // A saved height of 0 (never resized) gives the design height.
  if (h <= 0) resize(width(), kHeight);
  const bool shown = config.Read(config::tech::kPlaylistShown);
  if (shown) {
    state_.PlaylistShown = true;
    show();
  }
  emit ShownAtStartup(shown);
  switch (config.Read(config::tech::kRepeat)) {
    case 0: state_.RepeatMode = RepeatModes::Off; break;
    case 1: state_.RepeatMode = RepeatModes::All; break;
    case 2: state_.RepeatMode = RepeatModes::Track; break;
    default: break;  // any other value leaves the mode the main window gave
  }
  engine_.CurrentIndex = -1;
  Timer1->start();
}

void TForm2::ApplyScheme() {
  const auto& c = state_.Scheme.ThemeColors;
  const auto colour = [&](int i) { return ToQColor(c[static_cast<size_t>(i)]); };
  for (GlassButton* b : {AdvGlassButton1, AdvGlassButton2, AdvGlassButton3, AdvGlassButton9}) {
    PaintGlassButton(b, colour(2), colour(6), colour(7));
  }
  PaintGradient(RzBackground1, colour(4), colour(isActiveWindow() ? 1 : 2));
  PaintGradient(RzBackground2, colour(2), colour(4));
  SetBackground(this, colour(5));
  ListBox1->SetSelectionStartColor(colour(2));
  ListBox1->SetSelectionEndColor(colour(6));
  ListBox1->SetSelectionBorderColor(colour(2));
  ListBox1->SetBackgroundColor(colour(0));
  ListBox1->SetTextColor(colour(13));
  SetTextColour(Label2, colour(1));
  SetTextColour(LayList, colour(3));
  SetBackground(Panel1, colour(0));
  SelectionColour();
  for (QMenu* m : {AdvPopupMenu1, AdvPopupMenu2, AdvPopupMenu3, AdvPopupMenu4}) {
    StyleMenu(m, colour(0), colour(1), colour(6), colour(2));
  }
}

void TForm2::RebuildItems() {
  const ColourScheme& scheme = state_.Scheme;
  for (int i = 0; i < ListBox1->Count(); ++i) {
    const QString& colour = i == engine_.CurrentIndex ? scheme.CurrentColorText : scheme.ItemColorText;
    ListBox1->SetItem(i, ItemMarkup(engine_, i, colour));
  }
  SelectionColour();
}

void TForm2::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange) {
    RzBackground1->SetGradientEnd(ToQColor(state_.Scheme.ThemeColors[isActiveWindow() ? 1 : 2]));
    AdvGlassButton9->update();
  }
  QWidget::changeEvent(event);
}

void TForm2::AdvGlassButton9Click() {
  state_.PlaylistShown = false;
  hide();
  emit Closed();
}

void TForm2::closeEvent(QCloseEvent* event) {
  // Closing by the window manager is the "X" button, unless the program ends.
  if (!state_.Exiting && isVisible()) {
    state_.PlaylistShown = false;
    emit Closed();
  }
  QWidget::closeEvent(event);
}

void TForm2::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && RzBackground1->geometry().contains(event->position().toPoint()) &&
      windowHandle() != nullptr) {
    windowHandle()->startSystemMove();
  }
  QWidget::mousePressEvent(event);
}

void TForm2::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && !RzBackground1->geometry().contains(event->position().toPoint())) {
    ToggleRightEdge();
  }
  QWidget::mouseDoubleClickEvent(event);
}

void TForm2::ToggleRightEdge() {
  if (rightAligned_) {
    rightAligned_ = false;
    setGeometry(floatingBounds_);
    return;
  }
  floatingBounds_ = geometry();
  const QScreen* screen = this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();
  setGeometry(area.right() + 1 - width(), area.top(), width(), area.height());
  rightAligned_ = true;
}

void TForm2::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TForm2::dropEvent(QDropEvent* event) {
  AddDroppedFiles(DroppedNames(*event->mimeData()));
  event->acceptProposedAction();
}

}  // namespace orve
