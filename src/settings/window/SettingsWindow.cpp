#include "settings/window/SettingsWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QKeyEvent>
#include <QTabWidget>
#include <QTimer>
#include <cmath>

#include "session/AppState.h"
#include "settings/DestinationFolders.h"
#include "settings/IniFile.h"
#include "widgets/GlassButton.h"
#include "widgets/GradientBackground.h"
#include "widgets/SkinColours.h"
#include "widgets/SkinnedWindow.h"
#include "widgets/SpinField.h"
#include "widgets/TitleStrip.h"
#include "widgets/TrackBar.h"

namespace orve {
namespace {

namespace ck = config;

constexpr double kInactiveOpacity = 150.0 / 255.0;

// The load with at most three significant digits, written with two
// decimals in the system's notation ("0.42", "12.30").
QString CpuText(double percent) {
  double v = std::isfinite(percent) && percent > 0 ? percent : 0.0;
  if (v > 0) {
    const double scale = std::pow(10.0, 3 - static_cast<int>(std::floor(std::log10(v))) - 1);
    v = std::round(v * scale) / scale;
  }
  return QStringLiteral("CPU: ") + QLocale::system().toString(v, 'f', 2);
}

QStringList Folders(const QListWidget* list) {
  QStringList folders;
  for (int i = 0; i < list->count(); ++i) folders << list->item(i)->text();
  return folders;
}

}  // namespace

SettingsWindow::SettingsWindow(AppState& state, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), state_(state) {
  setObjectName(QStringLiteral("settingsWindow"));
  setWindowTitle(QStringLiteral("Настройки"));
  setFixedSize(kWidth, kHeight);
  setAttribute(Qt::WA_QuitOnClose, false);
  setFont(SkinFont());
  BuildControls();
  BindKeys();
  Connect();
  ShowModeFields();
  UpdateFolderButtons();
  ApplyScheme();
}

SettingsWindow::~SettingsWindow() = default;

void SettingsWindow::Connect() {
  connect(applyButton_, &QAbstractButton::clicked, this, &SettingsWindow::Apply);
  connect(saveButton_, &QAbstractButton::clicked, this, &SettingsWindow::Save);
  connect(cancelButton_, &QAbstractButton::clicked, this, &SettingsWindow::Cancel);
  connect(addFolderButton_, &QAbstractButton::clicked, this, &SettingsWindow::ChooseFolder);
  connect(removeFolderButton_, &QAbstractButton::clicked, this, &SettingsWindow::RemoveSelectedFolder);
  connect(folderList_, &QListWidget::currentRowChanged, this, &SettingsWindow::UpdateFolderButtons);
  connect(bufferSlider_, &QAbstractSlider::valueChanged, this, &SettingsWindow::ShowBufferCaption);
  connect(mp3ModeList_, &QComboBox::currentIndexChanged, this, &SettingsWindow::ShowModeFields);
  connect(oggModeList_, &QComboBox::currentIndexChanged, this, &SettingsWindow::ShowModeFields);
  connect(cpuTimer_, &QTimer::timeout, this, &SettingsWindow::RefreshCpuLoad);
}

SettingsWindow::Controls SettingsWindow::ControlsForTest() {
  return {cpuLabel_,          pages_,
          applyButton_,       saveButton_,
          cancelButton_,      bufferGroup_,
          bufferSlider_,      splashCheck_,
          cassetteCheck_,     roundButtonsCheck_,
          folderList_,        addFolderButton_,
          removeFolderButton_, FolderDialog(),
          proxyCheck_,        proxyEdit_,
          mp3ModeList_,       mp3BitRateList_,
          mp3QualityList_,    mp3PriorityList_,
          oggModeList_,       oggBitRateList_,
          oggQualityList_,    aacQualityList_,
          echoMixSlider_,     echoFeedbackSlider_,
          echoLeftDelayField_, echoRightDelayField_,
          echoPanCheck_,      flanger_,
          chorus_,            compressorGainField_,
          compressorAttackField_, compressorReleaseField_,
          compressorThresholdField_, compressorRatioSlider_,
          compressorPredelayField_, gargleRateSlider_,
          reverb3dRoomSlider_, reverb3dRoomHFSlider_,
          reverb3dFields_,    reverbGainSlider_,
          reverbMixSlider_,   reverbTimeField_,
          reverbHFRatioField_, cpuTimer_};
}

QString SettingsWindow::ConfigName() const { return state_.AppDir + QString::fromLatin1(ck::kFileName); }

void SettingsWindow::RestoreFromConfig() {
  IniFile config(ConfigName());
  RebuildFolders(config);
  ShowProxy(config);
  ApplyProxy();
  TakeDestFolder();
}

void SettingsWindow::ApplyProxy() { state_.Engine->SetProxy(proxyCheck_->isChecked(), proxyEdit_->text()); }

void SettingsWindow::TakeDestFolder() { state_.DestFolder = WithSeparator(folderList_->item(0)->text()); }

void SettingsWindow::Open() {
  IniFile config(ConfigName());
  ShowStored(config);
  RebuildFolders(config);
  ShowModeFields();
  RefreshCpuLoad();
  cpuTimer_->start();
  show();
  raise();
  activateWindow();
}

void SettingsWindow::Apply() {
  // The buttons take no focus, so a field may still hold what is being
  // typed: it counts as entered, brought into range.
  for (SpinField* field : findChildren<SpinField*>()) field->interpretText();
  ApplyProxy();
  SelectFirstItems({flanger_.phase, chorus_.phase});
  state_.Engine->SetBufferMs(bufferSlider_->value());
  SendControlRecords();
  emit RoundButtonsChanged(roundButtonsCheck_->isChecked());
  SelectFirstItems({oggModeList_, oggBitRateList_, oggQualityList_, mp3ModeList_, mp3BitRateList_, mp3QualityList_,
                    mp3PriorityList_, aacQualityList_});
  state_.Encoders = ControlEncoders();
  TakeDestFolder();
}

void SettingsWindow::Save() {
  Apply();
  IniFile config(ConfigName());
  // One write for everything: a failure leaves the whole file as it was.
  config.SetDeferredWrites(true);
  StoreControls(config);
  WriteDestinationFolders(config, Folders(folderList_));
  config.UpdateFile();
  RebuildFolders(config);
  close();
}

void SettingsWindow::Cancel() {
  IniFile config(ConfigName());
  ShowProxy(config);
  ApplyProxy();
  state_.Engine->SetBufferMs(config.Read(ck::core::kBuffer));
  SendRecords(config);
  emit RoundButtonsChanged(config.Read(ck::main::kRoundButtons));
  state_.Encoders = EncoderParams::Read(config);
  state_.DestFolder = WithSeparator(ReadDestinationFolders(config, state_.AppDir).constFirst());
  close();
}

void SettingsWindow::ShowProxy(IniFile& config) {
  proxyCheck_->setChecked(config.Read(ck::proxy::kOn));
  proxyEdit_->setText(config.Read(ck::proxy::kHttp));
}

void SettingsWindow::SelectFirstItems(std::initializer_list<QComboBox*> lists) {
  for (QComboBox* list : lists) {
    if (list->currentIndex() < 0) list->setCurrentIndex(0);
  }
}

void SettingsWindow::RebuildFolders(IniFile& config) {
  const QStringList folders = ReadDestinationFolders(config, state_.AppDir);
  folderList_->clear();
  folderList_->addItems(folders);
  QStringList captions;
  for (const QString& f : folders) captions << WithSeparator(f);
  UpdateFolderButtons();
  emit FolderSlotsChanged(captions);
}

// Made when first opened: a file dialog costs start-up more than the whole window.
QFileDialog* SettingsWindow::FolderDialog() {
  if (folderDialog_ != nullptr) return folderDialog_;
  folderDialog_ = new QFileDialog(this, QStringLiteral("Папка по умолчанию"));
  folderDialog_->setFileMode(QFileDialog::Directory);
  folderDialog_->setOption(QFileDialog::ShowDirsOnly, true);
  connect(folderDialog_, &QFileDialog::fileSelected, this, &SettingsWindow::AddFolder);
  return folderDialog_;
}

void SettingsWindow::ChooseFolder() {
  if (folderList_->count() >= kMaxDestinationFolders) return;
  QFileDialog* dialog = FolderDialog();
  dialog->setDirectory(folderList_->item(folderList_->count() - 1)->text());
  dialog->open();
}

void SettingsWindow::AddFolder(const QString& folder) {
  const QStringList folders = Folders(folderList_);
  if (folder.isEmpty() || folders.size() >= kMaxDestinationFolders) return;
  if (const qsizetype held = FolderIndex(folders, folder); held >= 0) {
    // Already there: shown rather than added twice.
    folderList_->setCurrentRow(static_cast<int>(held));
    return;
  }
  folderList_->addItem(folder);
  UpdateFolderButtons();
}

void SettingsWindow::RemoveSelectedFolder() {
  const int row = folderList_->currentRow();
  if (row < 0 || folderList_->count() <= 1) return;
  delete folderList_->takeItem(row);
  TakeDestFolder();
  UpdateFolderButtons();
}

void SettingsWindow::UpdateFolderButtons() {
  addFolderButton_->setEnabled(folderList_->count() < kMaxDestinationFolders);
  removeFolderButton_->setEnabled(folderList_->count() > 1 && folderList_->currentRow() >= 0);
}

void SettingsWindow::ShowModeFields() {
  // Item 0 uses the bit rate, item 1 the quality; no item changes nothing.
  const auto show = [](const QComboBox* mode, QWidget* bitRateLabel, QWidget* bitRate, QWidget* qualityLabel,
                       QWidget* quality) {
    if (mode->currentIndex() < 0) return;
    const bool useBitRate = mode->currentIndex() == 0;
    bitRateLabel->setVisible(useBitRate);
    bitRate->setVisible(useBitRate);
    qualityLabel->setVisible(!useBitRate);
    quality->setVisible(!useBitRate);
  };
  show(oggModeList_, oggBitRateLabel_, oggBitRateList_, oggQualityLabel_, oggQualityList_);
  show(mp3ModeList_, mp3BitRateLabel_, mp3BitRateList_, mp3QualityLabel_, mp3QualityList_);
}

void SettingsWindow::ShowBufferCaption() {
  bufferGroup_->setTitle(QStringLiteral("Буферизация: ") + QString::number(bufferSlider_->value()));
}

void SettingsWindow::RefreshCpuLoad() { cpuLabel_->setText(CpuText(state_.Engine->CpuLoad())); }

void SettingsWindow::changeEvent(QEvent* event) {
  // The inactive window is translucent, so what it covers shows through.
  if (event->type() == QEvent::ActivationChange) setWindowOpacity(isActiveWindow() ? 1.0 : kInactiveOpacity);
  QWidget::changeEvent(event);
}

void SettingsWindow::keyPressEvent(QKeyEvent* event) {
  // The window has no close button: Escape is the way out that keeps nothing.
  if (event->key() == Qt::Key_Escape) {
    Cancel();
    return;
  }
  QWidget::keyPressEvent(event);
}

void SettingsWindow::closeEvent(QCloseEvent* event) {
  cpuTimer_->stop();
  QWidget::closeEvent(event);
}

void SettingsWindow::ApplyScheme() {
  const ColourScheme& s = state_.Scheme;
  using R = ColourRole;
  titleStrip_->SetColours(s.Colour(R::TitleStart), s.Colour(R::Highlight), s.Colour(R::ButtonText),
                          s.Colour(R::LabelText));
  PaintGradient(bodyBackground_, s.Colour(R::Window), s.Colour(R::Window));
  // Plain Qt controls take the scheme through the window's palette.
  QPalette p = palette();
  p.setColor(QPalette::Window, s.Colour(R::Window));
  p.setColor(QPalette::WindowText, s.Colour(R::LabelText));
  p.setColor(QPalette::Base, s.Colour(R::Panel));
  p.setColor(QPalette::AlternateBase, s.Colour(R::Window));
  p.setColor(QPalette::Text, s.Colour(R::ButtonText));
  p.setColor(QPalette::Button, s.Colour(R::ButtonFace));
  p.setColor(QPalette::ButtonText, s.Colour(R::ButtonText));
  p.setColor(QPalette::Highlight, s.Colour(R::Highlight));
  p.setColor(QPalette::HighlightedText, s.Colour(R::Panel));
  p.setColor(QPalette::PlaceholderText, s.Colour(R::LabelText));
  setPalette(p);
  setAutoFillBackground(true);
  SetTextColour(cpuLabel_, s.Colour(R::Highlight));
  for (GlassButton* b : {applyButton_, saveButton_, cancelButton_, addFolderButton_, removeFolderButton_}) {
    PaintGlassButton(b, s.Colour(R::ButtonText), s.Colour(R::ButtonFace), s.Colour(R::ButtonGlow));
  }
  for (TrackBar* t : findChildren<TrackBar*>()) {
    t->SetTrackColour(s.Colour(R::LabelText));
    t->SetThumbColour(s.Colour(R::Thumb));
    t->SetThumbOutlineColour(s.Colour(R::Thumb));
  }
}

}  // namespace orve
