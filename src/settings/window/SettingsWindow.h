#pragma once
// The settings window, "Настройки": the stored settings that have no
// control elsewhere (buffer, splash, cassette mode, round buttons,
// destination folders, proxy, encoder choices, the parameters of the seven
// effects), each control bound to one key of config.ini.
//
// "Применить" applies the controls to the running program without storing
// them; "Сохранить" applies, stores them in one safe write and closes;
// "Отмена" (and Escape) applies the stored values again and closes. The
// window also owns the destination folders: the first is DestFolder, and
// their captions fill the conversion menus' folder slots (FolderSlotsChanged).
//
// It knows the shared state and the engine but no other window. Used from the
// UI thread only.

#include <QWidget>
#include <array>
#include <functional>
#include <vector>

#include "engine/EffectRecords.h"
#include "settings/ConfigKeys.h"
#include "settings/EncoderParams.h"

class QAbstractSlider;
class QCheckBox;
class QComboBox;
class QFileDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QTabWidget;
class QTimer;

namespace orve {

struct AppState;
class GlassButton;
class GradientBackground;
class IniFile;
class SpinField;
class StoredValues;
class TitleStrip;
class TrackBar;

class SettingsWindow : public QWidget {
  Q_OBJECT
 public:
  explicit SettingsWindow(AppState& state, QWidget* parent = nullptr);
  ~SettingsWindow() override;

  static constexpr int kWidth = 440;
  static constexpr int kHeight = 380;
  static constexpr int kCpuIntervalMs = 300;

  // Start-up: the destination folders (and the menus' slots), the proxy
  // handed to the engine, DestFolder.
  void RestoreFromConfig();
  // The menu item "Настройки" and F2: every control read from config.ini,
  // the folders read again, the CPU load shown and refreshed every 300 ms.
  void Open();

  // "Применить": the running program takes the controls' values (proxy,
  // buffer, the effects' parameters, heard at once for an effect that is
  // on, round buttons, encoder choices, DestFolder); nothing is written.
  void Apply();
  // "Сохранить": Apply, then every key and the folder list written in one
  // safe write, and the window closes. When the file cannot be written,
  // FileError ("Unable to write to ...") is thrown, the file keeps its old
  // values and the window stays open with its own.
  void Save();
  // "Отмена": the stored proxy, effects, buffer, round buttons, encoder
  // choices and DestFolder applied again; the window closes.
  void Cancel();

  // "Добавить": the folder dialog, at the last folder of the list, while the
  // list holds fewer than ten.
  void ChooseFolder();
  // A folder the dialog confirmed: appended unless the list is full or
  // already holds it (then that one is selected). Stored only by Save.
  void AddFolder(const QString& folder);
  // "Удалить": the selected folder leaves the list, never the last one;
  // DestFolder follows the new first folder.
  void RemoveSelectedFolder();

  // Recolours the window from the current scheme.
  void ApplyScheme();

  // The controls, for tests that check looks and drive them as a user does.
  struct ModulationControls {
    TrackBar* mix;
    TrackBar* depth;
    SpinField* feedback;
    SpinField* frequency;
    SpinField* delay;
    QComboBox* phase;
  };
  struct Controls {
    QLabel* cpuLabel;
    QTabWidget* pages;
    GlassButton* applyButton;
    GlassButton* saveButton;
    GlassButton* cancelButton;
    QGroupBox* bufferGroup;
    TrackBar* bufferSlider;
    QCheckBox* splashCheck;
    QCheckBox* cassetteCheck;
    QCheckBox* roundButtonsCheck;
    QListWidget* folderList;
    GlassButton* addFolderButton;
    GlassButton* removeFolderButton;
    QFileDialog* folderDialog;
    QCheckBox* proxyCheck;
    QLineEdit* proxyEdit;
    QComboBox* mp3ModeList;
    QComboBox* mp3BitRateList;
    QComboBox* mp3QualityList;
    QComboBox* mp3PriorityList;
    QComboBox* oggModeList;
    QComboBox* oggBitRateList;
    QComboBox* oggQualityList;
    QComboBox* aacQualityList;
    TrackBar* echoMixSlider;
    TrackBar* echoFeedbackSlider;
    SpinField* echoLeftDelayField;
    SpinField* echoRightDelayField;
    QCheckBox* echoPanCheck;
    ModulationControls flanger;
    ModulationControls chorus;
    SpinField* compressorGainField;
    SpinField* compressorAttackField;
    SpinField* compressorReleaseField;
    SpinField* compressorThresholdField;
    TrackBar* compressorRatioSlider;
    SpinField* compressorPredelayField;
    TrackBar* gargleRateSlider;
    TrackBar* reverb3dRoomSlider;
    TrackBar* reverb3dRoomHFSlider;
    std::array<SpinField*, 10> reverb3dFields;  // rolloff .. HF reference, in key order
    TrackBar* reverbGainSlider;
    TrackBar* reverbMixSlider;
    SpinField* reverbTimeField;
    SpinField* reverbHFRatioField;
    QTimer* cpuTimer;
  };
  Controls ControlsForTest();

 signals:
  // Corner radius 7 (true) or 0 on the round-button sets of the main and
  // playlist windows.
  void RoundButtonsChanged(bool round);
  // The destination folders as the conversion menus caption their slots
  // (each ending with "/"); the slots beyond them are "Path N", disabled.
  void FolderSlotsChanged(const QStringList& captions);

 protected:
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // One control bound to one key: how the control shows a stored value, how
  // it is written, and the value it stands for now (in the key's units).
  struct Binding {
    const char* section;
    const char* key;
    std::function<void(IniFile&)> show;
    std::function<void(IniFile&)> store;
    std::function<double()> number;     // int, real and flag keys
    std::function<QString()> text;      // text keys
  };
  class ControlValues;

  // Building (SettingsWindowPages.cpp).
  void BuildControls();
  QFileDialog* FolderDialog();
  QWidget* BuildOrvePage();
  QWidget* BuildMp3Page();
  QWidget* BuildOggPage();
  QWidget* BuildAacPage();
  QWidget* BuildEchoPage();
  QWidget* BuildModulationPage(ModulationControls& c, double maxDelay);
  QWidget* BuildCompressorPage();
  QWidget* BuildGarglePage();
  QWidget* BuildReverb3dPage();
  QWidget* BuildReverbPage();

  // Keys (SettingsWindowKeys.cpp): the bindings, in the order Save writes them.
  void BindKeys();
  void Bind(QAbstractSlider* control, const config::IntKey& key);
  void Bind(SpinField* control, const config::IntKey& key);
  void Bind(SpinField* control, const config::RealKey& key, bool whole);
  void Bind(QCheckBox* control, const config::BoolKey& key);
  void Bind(QComboBox* control, const config::TextKey& key);
  void Bind(QComboBox* control, const config::IntKey& key);  // the item index
  void Bind(QLineEdit* control, const config::TextKey& key);
  void BindModulation(const ModulationControls& c, const config::ModulationKeys& keys);
  void ShowStored(IniFile& config);
  void StoreControls(IniFile& config);
  // Apply's records and encoder choices, from the controls.
  void SendControlRecords();
  EncoderParams ControlEncoders() const;
  // Fills the seven records from `values` and sends each to its effect.
  void SendRecords(StoredValues& values);

  void Connect();
  // The list read from config.ini again; the menus' slots follow.
  void RebuildFolders(IniFile& config);
  void ShowProxy(IniFile& config);
  void ApplyProxy();      // the proxy controls handed to the engine
  void TakeDestFolder();  // DestFolder from the list's first folder
  void ShowModeFields();
  void ShowBufferCaption();
  void RefreshCpuLoad();
  void SelectFirstItems(std::initializer_list<QComboBox*> lists);
  void UpdateFolderButtons();
  QString ConfigName() const;

  AppState& state_;
  std::vector<Binding> bindings_;

  GradientBackground* bodyBackground_;
  TitleStrip* titleStrip_;
  QLabel* cpuLabel_;
  QTabWidget* pages_;
  GlassButton* applyButton_;
  GlassButton* saveButton_;
  GlassButton* cancelButton_;
  QTimer* cpuTimer_;

  QGroupBox* bufferGroup_;
  TrackBar* bufferSlider_;
  QCheckBox* splashCheck_;
  QCheckBox* cassetteCheck_;
  QCheckBox* roundButtonsCheck_;
  QLabel* foldersLabel_;
  QListWidget* folderList_;
  GlassButton* addFolderButton_;
  GlassButton* removeFolderButton_;
  QFileDialog* folderDialog_ = nullptr;  // made by FolderDialog()
  QCheckBox* proxyCheck_;
  QLineEdit* proxyEdit_;

  QComboBox* mp3ModeList_;
  QComboBox* mp3BitRateList_;
  QComboBox* mp3QualityList_;
  QComboBox* mp3PriorityList_;
  QLabel* mp3BitRateLabel_;
  QLabel* mp3QualityLabel_;
  QComboBox* oggModeList_;
  QComboBox* oggBitRateList_;
  QComboBox* oggQualityList_;
  QLabel* oggBitRateLabel_;
  QLabel* oggQualityLabel_;
  QComboBox* aacQualityList_;

  TrackBar* echoMixSlider_;
  TrackBar* echoFeedbackSlider_;
  SpinField* echoLeftDelayField_;
  SpinField* echoRightDelayField_;
  QCheckBox* echoPanCheck_;
  ModulationControls flanger_{};
  ModulationControls chorus_{};
  SpinField* compressorGainField_;
  SpinField* compressorAttackField_;
  SpinField* compressorReleaseField_;
  SpinField* compressorThresholdField_;
  TrackBar* compressorRatioSlider_;
  SpinField* compressorPredelayField_;
  TrackBar* gargleRateSlider_;
  TrackBar* reverb3dRoomSlider_;
  TrackBar* reverb3dRoomHFSlider_;
  std::array<SpinField*, 10> reverb3dFields_{};
  TrackBar* reverbGainSlider_;
  TrackBar* reverbMixSlider_;
  SpinField* reverbTimeField_;
  SpinField* reverbHFRatioField_;
};

}  // namespace orve
