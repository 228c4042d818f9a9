// The settings window's pages and controls, with their ranges and labels.
#include <QCheckBox>
#include <algorithm>
#include <array>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "settings/EncoderParams.h"
#include "settings/window/SettingsWindow.h"
#include "widgets/GlassButton.h"
#include "widgets/GradientBackground.h"
#include "widgets/SkinnedWindow.h"
#include "widgets/SpinField.h"
#include "widgets/TitleStrip.h"
#include "widgets/TrackBar.h"

namespace orve {
namespace {

constexpr int kTitleHeight = 16;

// A slider with its position written beside it, so the number that is
// stored and used can be read.
QWidget* WithReadout(TrackBar* slider) {
  auto* row = new QWidget;
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* readout = new QLabel(QString::number(slider->value()));
  readout->setMinimumWidth(readout->fontMetrics().horizontalAdvance(QStringLiteral("-10000")));
  readout->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  QObject::connect(slider, &QAbstractSlider::valueChanged, readout,
                   [readout](int v) { readout->setText(QString::number(v)); });
  layout->addWidget(slider, 1);
  layout->addWidget(readout);
  return row;
}

// "Dry" [slider] "Wet".
QWidget* DryWet(TrackBar* slider) {
  auto* row = new QWidget;
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(new QLabel(QStringLiteral("Dry")));
  layout->addWidget(WithReadout(slider), 1);
  layout->addWidget(new QLabel(QStringLiteral("Wet")));
  return row;
}

QFormLayout* Form(QWidget* page) {
  auto* form = new QFormLayout(page);
  form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return form;
}

// The bit rate and the quality share one place; the mode list decides
// which is shown, the bit rate at first.
QWidget* SharedPlace(QLabel* bitRateLabel, QComboBox* bitRate, QLabel* qualityLabel, QComboBox* quality) {
  auto* place = new QWidget;
  auto* layout = new QHBoxLayout(place);
  layout->setContentsMargins(0, 0, 0, 0);
  for (QWidget* w : std::initializer_list<QWidget*>{bitRateLabel, bitRate, qualityLabel, quality}) layout->addWidget(w);
  layout->addStretch();
  qualityLabel->hide();
  quality->hide();
  return place;
}

TrackBar* Slider(int minimum, int maximum) {
  auto* t = new TrackBar(Qt::Horizontal);
  t->setRange(minimum, maximum);
  t->setMinimumHeight(18);
  t->SetThumbSize(10, 18);
  t->setPageStep(std::max(1, (maximum - minimum) / 20));
  return t;
}

QComboBox* List(const QStringList& items) {
  auto* list = new QComboBox;
  list->addItems(items);
  return list;
}

QStringList Phases() {
  return {QStringLiteral("PHASE NEG 180"), QStringLiteral("PHASE NEG 90"), QStringLiteral("PHASE ZERO"),
          QStringLiteral("PHASE 90"), QStringLiteral("PHASE 180")};
}

}  // namespace

void SettingsWindow::BuildControls() {
  bodyBackground_ = new GradientBackground(this);
  bodyBackground_->setGeometry(0, kTitleHeight, kWidth, kHeight - kTitleHeight);
  titleStrip_ = new TitleStrip(QStringLiteral("Настройки"), this);
  titleStrip_->setGeometry(0, 0, kWidth, kTitleHeight);
  titleStrip_->SetCaptionGeometry(QRect(0, 0, kWidth, kTitleHeight - 1));
  cpuLabel_ = new QLabel(QStringLiteral("CPU: "), this);
  QFont bold = font();
  bold.setBold(true);
  cpuLabel_->setFont(bold);
  cpuLabel_->setGeometry(10, kTitleHeight + 4, 200, 16);
  pages_ = new QTabWidget(this);
  pages_->setGeometry(8, kTitleHeight + 24, kWidth - 16, kHeight - kTitleHeight - 24 - 36);
  pages_->setUsesScrollButtons(true);
  pages_->addTab(BuildOrvePage(), QStringLiteral("ORVE"));
  pages_->addTab(BuildMp3Page(), QStringLiteral("MP3"));
  pages_->addTab(BuildOggPage(), QStringLiteral("OGG Vorbis"));
  pages_->addTab(BuildAacPage(), QStringLiteral("AAC"));
  pages_->addTab(BuildEchoPage(), QStringLiteral("Echo"));
  pages_->addTab(BuildModulationPage(flanger_, 400), QStringLiteral("Flanger"));
  pages_->addTab(BuildModulationPage(chorus_, 2000), QStringLiteral("Chorus"));
  pages_->addTab(BuildCompressorPage(), QStringLiteral("Compressor"));
  pages_->addTab(BuildGarglePage(), QStringLiteral("Gargle"));
  pages_->addTab(BuildReverb3dPage(), QStringLiteral("3D Reverb"));
  pages_->addTab(BuildReverbPage(), QStringLiteral("Reverb"));
  // The pages take the window's own colour, on which the labels read well.
  for (int i = 0; i < pages_->count(); ++i) pages_->widget(i)->setAutoFillBackground(true);
  const int top = kHeight - 30;
  applyButton_ = CreateSkinButton(QStringLiteral("Применить"), QRect(kWidth - 8 - 3 * 86 - 8, top, 86, 22), this);
  saveButton_ = CreateSkinButton(QStringLiteral("Сохранить"), QRect(kWidth - 8 - 2 * 86 - 4, top, 86, 22), this);
  cancelButton_ = CreateSkinButton(QStringLiteral("Отмена"), QRect(kWidth - 8 - 86, top, 86, 22), this);
  cpuTimer_ = new QTimer(this);
  cpuTimer_->setInterval(kCpuIntervalMs);
}

QWidget* SettingsWindow::BuildOrvePage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  bufferGroup_ = new QGroupBox(QStringLiteral("Буферизация = 1000 мс."));
  auto* bufferLayout = new QVBoxLayout(bufferGroup_);
  bufferSlider_ = Slider(0, 10000);
  bufferSlider_->setValue(997);
  bufferSlider_->setPageStep(100);
  bufferLayout->addWidget(bufferSlider_);
  layout->addWidget(bufferGroup_);
  auto* checks = new QHBoxLayout;
  splashCheck_ = new QCheckBox(QStringLiteral("Splash Screen"));
  splashCheck_->setChecked(true);
  cassetteCheck_ = new QCheckBox(QStringLiteral("Casset mode"));
  roundButtonsCheck_ = new QCheckBox(QStringLiteral("Круглые кнопки"));
  for (QCheckBox* c : {splashCheck_, cassetteCheck_, roundButtonsCheck_}) checks->addWidget(c);
  layout->addLayout(checks);
  foldersLabel_ = new QLabel(QStringLiteral("Папки по умолчанию:"));
  layout->addWidget(foldersLabel_);
  auto* folders = new QHBoxLayout;
  folderList_ = new QListWidget;
  folderList_->setToolTip(QStringLiteral("Первая папка — та, в которую пишет конвертация"));
  folders->addWidget(folderList_, 1);
  auto* folderButtons = new QVBoxLayout;
  addFolderButton_ = CreateSkinButton(QStringLiteral("Добавить"), QRect(0, 0, 80, 22), nullptr);
  removeFolderButton_ = CreateSkinButton(QStringLiteral("Удалить"), QRect(0, 0, 80, 22), nullptr);
  for (GlassButton* b : {addFolderButton_, removeFolderButton_}) {
    b->setFixedSize(80, 22);
    folderButtons->addWidget(b);
  }
  folderButtons->addStretch();
  folders->addLayout(folderButtons);
  layout->addLayout(folders, 1);
  auto* proxy = new QHBoxLayout;
  proxyCheck_ = new QCheckBox(QStringLiteral("Прокси"));
  proxyEdit_ = new QLineEdit;
  proxyEdit_->setPlaceholderText(QStringLiteral("адрес:порт"));
  proxy->addWidget(proxyCheck_);
  proxy->addWidget(proxyEdit_, 1);
  layout->addLayout(proxy);
  return page;
}

QWidget* SettingsWindow::BuildMp3Page() {
  auto* page = new QWidget;
  auto* form = Form(page);
  mp3ModeList_ = List(encoder_items::Mp3Modes());
  mp3BitRateList_ = List(encoder_items::Mp3BitRates());
  mp3QualityList_ = List(encoder_items::Mp3Qualities());
  mp3PriorityList_ = List(encoder_items::Mp3Priorities());
  mp3BitRateLabel_ = new QLabel(QStringLiteral("Bitrate:"));
  mp3QualityLabel_ = new QLabel(QStringLiteral("Quality:"));
  form->addRow(QString(), mp3ModeList_);
  form->addRow(SharedPlace(mp3BitRateLabel_, mp3BitRateList_, mp3QualityLabel_, mp3QualityList_));
  form->addRow(QStringLiteral("Priority:"), mp3PriorityList_);
  return page;
}

QWidget* SettingsWindow::BuildOggPage() {
  auto* page = new QWidget;
  auto* form = Form(page);
  oggModeList_ = List(encoder_items::OggModes());
  oggBitRateList_ = List(encoder_items::OggBitRates());
  oggQualityList_ = List(encoder_items::OggQualities());
  oggBitRateLabel_ = new QLabel(QStringLiteral("Bitrate:"));
  oggQualityLabel_ = new QLabel(QStringLiteral("Quality:"));
  form->addRow(QString(), oggModeList_);
  form->addRow(SharedPlace(oggBitRateLabel_, oggBitRateList_, oggQualityLabel_, oggQualityList_));
  return page;
}

QWidget* SettingsWindow::BuildAacPage() {
  auto* page = new QWidget;
  auto* form = Form(page);
  aacQualityList_ = List(encoder_items::AacQualities());
  form->addRow(QStringLiteral("Quality:"), aacQualityList_);
  return page;
}

QWidget* SettingsWindow::BuildEchoPage() {
  auto* page = new QWidget;
  auto* form = Form(page);
  echoMixSlider_ = Slider(0, 100);
  echoFeedbackSlider_ = Slider(0, 100);
  echoLeftDelayField_ = new SpinField(0, 2000, 0);
  echoRightDelayField_ = new SpinField(0, 2000, 0);
  echoPanCheck_ = new QCheckBox(QStringLiteral("PanDelay"));
  form->addRow(QString(), DryWet(echoMixSlider_));
  form->addRow(QStringLiteral("Feedback"), WithReadout(echoFeedbackSlider_));
  form->addRow(QStringLiteral("LeftDelay (Мс)"), echoLeftDelayField_);
  form->addRow(QStringLiteral("RightDelay (Мс)"), echoRightDelayField_);
  form->addRow(QString(), echoPanCheck_);
  return page;
}

QWidget* SettingsWindow::BuildModulationPage(ModulationControls& c, double maxDelay) {
  auto* page = new QWidget;
  auto* form = Form(page);
  c.mix = Slider(0, 100);
  c.depth = Slider(0, 100);
  c.feedback = new SpinField(-99, 99, 0);
  c.frequency = new SpinField(0, 10, 2);
  c.frequency->setSingleStep(0.05);
  c.delay = new SpinField(0, maxDelay, 2);
  c.phase = List(Phases());
  form->addRow(QString(), DryWet(c.mix));
  form->addRow(QStringLiteral("Depth"), WithReadout(c.depth));
  form->addRow(QStringLiteral("Feedback"), c.feedback);
  form->addRow(QStringLiteral("Frequency"), c.frequency);
  form->addRow(QStringLiteral("Delay (Мс)"), c.delay);
  form->addRow(QStringLiteral("Phase"), c.phase);
  return page;
}

QWidget* SettingsWindow::BuildCompressorPage() {
  auto* page = new QWidget;
  auto* form = Form(page);
  compressorGainField_ = new SpinField(-60, 60, 0);
  compressorAttackField_ = new SpinField(1, 50000, 2);
  compressorReleaseField_ = new SpinField(50, 3000, 0);
  compressorThresholdField_ = new SpinField(-60, 0, 0);
  compressorRatioSlider_ = Slider(1, 100);
  compressorPredelayField_ = new SpinField(0, 4, 0);
  form->addRow(QStringLiteral("Gain"), compressorGainField_);
  form->addRow(QStringLiteral("Attack"), compressorAttackField_);
  form->addRow(QStringLiteral("Release"), compressorReleaseField_);
  form->addRow(QStringLiteral("Threshold"), compressorThresholdField_);
  form->addRow(QStringLiteral("Ratio"), WithReadout(compressorRatioSlider_));
  form->addRow(QStringLiteral("Predelay"), compressorPredelayField_);
  return page;
}

QWidget* SettingsWindow::BuildGarglePage() {
  auto* page = new QWidget;
  auto* form = Form(page);
  gargleRateSlider_ = Slider(1, 1000);
  form->addRow(QStringLiteral("Rate"), WithReadout(gargleRateSlider_));
  return page;
}

QWidget* SettingsWindow::BuildReverb3dPage() {
  auto* page = new QWidget;
  auto* form = Form(page);
  form->setVerticalSpacing(2);
  reverb3dRoomSlider_ = Slider(0, 10000);
  reverb3dRoomHFSlider_ = Slider(0, 10000);
  form->addRow(QStringLiteral("Room"), WithReadout(reverb3dRoomSlider_));
  form->addRow(QStringLiteral("RoomHF"), WithReadout(reverb3dRoomHFSlider_));
  struct Field {
    const char* label;
    double minimum, maximum;
    int decimals;
  };
  static constexpr std::array<Field, 10> kFields{{
      {"RoomRolloffFactor", 0, 100, 0},
      {"DelayTime", 10, 2000, 0},
      {"DelayHFRatio", 10, 200, 2},
      {"Reflections", -10000, 1000, 0},
      {"ReflectionsDelay", 0, 300, 0},
      {"Reverb", -10000, 2000, 0},
      {"ReverbDelay", 0, 100, 0},
      {"Diffusion", 0, 100, 0},
      {"Density", 0, 100, 0},
      {"HFReference", 20, 20000, 0},
  }};
  // Two columns of five, so the page needs no scrolling.
  auto* grid = new QWidget;
  auto* columns = new QHBoxLayout(grid);
  columns->setContentsMargins(0, 0, 0, 0);
  QFormLayout* column = nullptr;
  for (size_t i = 0; i < kFields.size(); ++i) {
    if (i % 5 == 0) {
      column = new QFormLayout;
      column->setVerticalSpacing(2);
      columns->addLayout(column);
    }
    const Field& f = kFields[i];
    reverb3dFields_[i] = new SpinField(f.minimum, f.maximum, f.decimals);
    column->addRow(QString::fromLatin1(f.label), reverb3dFields_[i]);
  }
  form->addRow(grid);
  return page;
}

QWidget* SettingsWindow::BuildReverbPage() {
  auto* page = new QWidget;
  auto* form = Form(page);
  reverbGainSlider_ = Slider(0, 96);
  reverbMixSlider_ = Slider(0, 96);
  reverbTimeField_ = new SpinField(1, 3000000, 0);
  reverbTimeField_->setSingleStep(1000);  // the field's page step
  reverbHFRatioField_ = new SpinField(1, 999, 2);
  form->addRow(QStringLiteral("Gain"), WithReadout(reverbGainSlider_));
  form->addRow(QStringLiteral("ReverbMix"), WithReadout(reverbMixSlider_));
  form->addRow(QStringLiteral("ReverbTime"), reverbTimeField_);
  form->addRow(QStringLiteral("HighFreqRTRatio"), reverbHFRatioField_);
  return page;
}

}  // namespace orve
