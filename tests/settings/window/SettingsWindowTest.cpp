// The settings window: every control bound to its key, Apply, Save and
// Cancel, the destination folders, the fields' ranges and the CPU label.
#include <QDir>
#include <QFile>
#include <QTest>
#include <functional>

#include "SettingsFixture.h"
#include "settings/FileError.h"
#include "support/Unprivileged.h"

namespace orve::test {
namespace {

using Controls = SettingsWindow::Controls;

// A control's value as text, whatever its kind.
QString Shown(QWidget* w) {
  if (auto* f = qobject_cast<SpinField*>(w)) return QString::number(f->value(), 'g', 10);
  if (auto* s = qobject_cast<QAbstractSlider*>(w)) return QString::number(s->value());
  if (auto* c = qobject_cast<QCheckBox*>(w)) return c->isChecked() ? "1" : "0";
  if (auto* l = qobject_cast<QComboBox*>(w)) return l->currentText();
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
  return "<unknown control>";
}

void Set(QWidget* w, const QString& v) {
  if (auto* f = qobject_cast<SpinField*>(w)) {
    f->setValue(v.toDouble());
  } else if (auto* s = qobject_cast<QAbstractSlider*>(w)) {
    s->setValue(v.toInt());
  } else if (auto* c = qobject_cast<QCheckBox*>(w)) {
    c->setChecked(v == "1");
  } else if (auto* l = qobject_cast<QComboBox*>(w)) {
    ASSERT_GE(l->findText(v), 0) << v.toStdString();
    l->setCurrentIndex(l->findText(v));
  } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
    e->setText(v);
  }
}

// One control and its key: the value stored, what the control then shows,
// a value the user sets, and what Save then stores.
struct Binding {
  const char* section;
  const char* key;
  std::function<QWidget*(const Controls&)> control;
  const char* stored;
  const char* shown;
  const char* set;
  const char* saved;
};

QWidget* Reverb3d(const Controls& c, size_t i) { return c.reverb3dFields[i]; }

const std::vector<Binding>& Bindings() {
  static const std::vector<Binding> table{
      {"core", "buff", [](auto& c) { return c.bufferSlider; }, "0x200", "512", "2500", "2500"},
      {"core", "splash", [](auto& c) { return c.splashCheck; }, "0", "0", "1", "1"},
      {"cm", "status", [](auto& c) { return c.cassetteCheck; }, "2", "1", "0", "0"},
      {"main", "vis", [](auto& c) { return c.roundButtonsCheck; }, "1", "1", "0", "0"},
      {"proxy", "on", [](auto& c) { return c.proxyCheck; }, "1", "1", "0", "0"},
      {"proxy", "http", [](auto& c) { return c.proxyEdit; }, "10.0.0.2:3128", "10.0.0.2:3128", "proxy.example:8080",
       "proxy.example:8080"},
      {"mp3", "bm", [](auto& c) { return c.mp3ModeList; }, "1", "VBR", "CBR", "0"},
      {"mp3", "bit", [](auto& c) { return c.mp3BitRateList; }, "192", "192", "256", "256"},
      {"mp3", "q", [](auto& c) { return c.mp3QualityList; }, "2", "2", "7", "7"},
      {"mp3", "p", [](auto& c) { return c.mp3PriorityList; }, "4", "4", "1", "1"},
      {"ogg", "bm", [](auto& c) { return c.oggModeList; }, "1", "VBR", "ABR", "0"},
      {"ogg", "bit", [](auto& c) { return c.oggBitRateList; }, "160", "160", "320", "320"},
      {"ogg", "q", [](auto& c) { return c.oggQualityList; }, "6", "6", "9", "9"},
      {"aac", "vbr", [](auto& c) { return c.aacQualityList; }, "250", "250", "400", "400"},
      {"echo", "drywet", [](auto& c) { return c.echoMixSlider; }, "30", "30", "70", "70"},
      {"echo", "feedback", [](auto& c) { return c.echoFeedbackSlider; }, "20", "20", "90", "90"},
      {"echo", "Left", [](auto& c) { return c.echoLeftDelayField; }, "100", "100", "1500", "1500"},
      {"echo", "Right", [](auto& c) { return c.echoRightDelayField; }, "200", "200", "20", "20"},
      {"echo", "pan", [](auto& c) { return c.echoPanCheck; }, "1", "1", "0", "0"},
      {"flanger", "drywet", [](auto& c) { return c.flanger.mix; }, "40", "40", "60", "60"},
      {"flanger", "depth", [](auto& c) { return c.flanger.depth; }, "80", "80", "30", "30"},
      {"flanger", "feedback", [](auto& c) { return c.flanger.feedback; }, "-20", "-20", "45", "45"},
      {"flanger", "frequency", [](auto& c) { return c.flanger.frequency; }, "3", "3", "0.75", "0.75"},
      {"flanger", "delay", [](auto& c) { return c.flanger.delay; }, "150", "150", "250.5", "250"},
      {"flanger", "phase", [](auto& c) { return c.flanger.phase; }, "1", "PHASE NEG 90", "PHASE 180", "4"},
      {"chorus", "drywet", [](auto& c) { return c.chorus.mix; }, "20", "20", "90", "90"},
      {"chorus", "depth", [](auto& c) { return c.chorus.depth; }, "50", "50", "5", "5"},
      {"chorus", "feedback", [](auto& c) { return c.chorus.feedback; }, "-99", "-99", "99", "99"},
      {"chorus", "frequency", [](auto& c) { return c.chorus.frequency; }, "1.1", "1.1", "10", "10"},
      {"chorus", "delay", [](auto& c) { return c.chorus.delay; }, "1800", "1800", "1999.5", "2000"},
      {"chorus", "phase", [](auto& c) { return c.chorus.phase; }, "3", "PHASE 90", "PHASE ZERO", "2"},
      {"compressor", "gain", [](auto& c) { return c.compressorGainField; }, "-12", "-12", "6", "6"},
      {"compressor", "attack", [](auto& c) { return c.compressorAttackField; }, "2000", "2000", "12.5", "12"},
      {"compressor", "release", [](auto& c) { return c.compressorReleaseField; }, "300", "300", "1000", "1000"},
      {"compressor", "threshold", [](auto& c) { return c.compressorThresholdField; }, "-30", "-30", "-5", "-5"},
      {"compressor", "ratio", [](auto& c) { return c.compressorRatioSlider; }, "4", "4", "50", "50"},
      {"compressor", "predelay", [](auto& c) { return c.compressorPredelayField; }, "2", "2", "0", "0"},
      {"gargle", "rate", [](auto& c) { return c.gargleRateSlider; }, "300", "300", "5", "5"},
      {"reverb3d", "room", [](auto& c) { return c.reverb3dRoomSlider; }, "8000", "8000", "5000", "5000"},
      {"reverb3d", "roomHF", [](auto& c) { return c.reverb3dRoomHFSlider; }, "9000", "9000", "100", "100"},
      {"reverb3d", "roomRolloffFactor", [](auto& c) { return Reverb3d(c, 0); }, "10", "10", "20", "20"},
      {"reverb3d", "decayTime", [](auto& c) { return Reverb3d(c, 1); }, "500", "500", "1500", "1500"},
      {"reverb3d", "decayHFRatio", [](auto& c) { return Reverb3d(c, 2); }, "150", "150", "99.5", "100"},
      {"reverb3d", "reflections", [](auto& c) { return Reverb3d(c, 3); }, "-1000", "-1000", "500", "500"},
      {"reverb3d", "reflectionsDelay", [](auto& c) { return Reverb3d(c, 4); }, "20", "20", "250", "250"},
      {"reverb3d", "reverb", [](auto& c) { return Reverb3d(c, 5); }, "-500", "-500", "1500", "1500"},
      {"reverb3d", "reverbDelay", [](auto& c) { return Reverb3d(c, 6); }, "40", "40", "90", "90"},
      {"reverb3d", "diffusion", [](auto& c) { return Reverb3d(c, 7); }, "50", "50", "70", "70"},
      {"reverb3d", "density", [](auto& c) { return Reverb3d(c, 8); }, "60", "60", "30", "30"},
      {"reverb3d", "hFReference", [](auto& c) { return Reverb3d(c, 9); }, "8000", "8000", "440", "440"},
      {"reverb", "inGain", [](auto& c) { return c.reverbGainSlider; }, "90", "90", "80", "80"},
      {"reverb", "reverbMix", [](auto& c) { return c.reverbMixSlider; }, "85", "85", "10", "10"},
      {"reverb", "reverbTime", [](auto& c) { return c.reverbTimeField; }, "2000000", "2000000", "1500", "1500"},
      {"reverb", "highFreqRTRatio", [](auto& c) { return c.reverbHFRatioField; }, "500", "500", "2.5", "2"},
  };
  return table;
}

QByteArray StoredConfig() {
  QByteArray text;
  QByteArray section;
  for (const Binding& b : Bindings()) {
    if (section != b.section) {
      section = b.section;
      text += "[" + section + "]\r\n";
    }
    text += QByteArray(b.key) + "=" + b.stored + "\r\n";
  }
  return text;
}

std::string Name(const Binding& b) { return std::string(b.section) + "/" + b.key; }

TEST_F(SettingsTest, EveryControlShowsItsKeyAndSaveStoresIt) {
  Create(StoredConfig());
  window->Open();
  EXPECT_TRUE(window->isVisible());
  const Controls c = Ui();
  for (const Binding& b : Bindings()) EXPECT_EQ(Shown(b.control(c)), b.shown) << Name(b);
  for (const Binding& b : Bindings()) Set(b.control(c), b.set);
  window->Save();
  EXPECT_FALSE(window->isVisible());
  for (const Binding& b : Bindings()) EXPECT_EQ(Stored(b.section, b.key), b.saved) << Name(b);
  // Shown again, the window reads what it stored.
  window->Open();
  for (const Binding& b : Bindings()) {
    if (QString(b.saved) == b.set) {
      EXPECT_EQ(Shown(b.control(c)), b.set) << Name(b);
    }
  }
}

TEST_F(SettingsTest, CancelStoresNothingAndTheNextShowReadsTheFile) {
  const QByteArray stored = StoredConfig();
  Create(stored);
  window->Open();
  const Controls c = Ui();
  for (const Binding& b : Bindings()) Set(b.control(c), b.set);
  window->Apply();
  window->Cancel();
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(ReadAll(home.file("config.ini")), stored);
  window->Open();
  for (const Binding& b : Bindings()) EXPECT_EQ(Shown(b.control(c)), b.shown) << Name(b);
}

// With nothing stored the effect pages show what the effects really use.
TEST_F(SettingsTest, AnEmptyFileShowsTheEffectsOwnParameters) {
  Create();
  window->Open();
  const Controls c = Ui();
  EXPECT_EQ(Shown(c.echoMixSlider), "50");
  EXPECT_EQ(Shown(c.echoFeedbackSlider), "50");
  EXPECT_EQ(Shown(c.echoLeftDelayField), "500");
  EXPECT_EQ(Shown(c.flanger.frequency), "0.25");
  EXPECT_EQ(Shown(c.flanger.delay), "200");
  EXPECT_EQ(Shown(c.flanger.phase), "PHASE ZERO");
  EXPECT_EQ(Shown(c.chorus.delay), "1600");
  EXPECT_EQ(Shown(c.compressorThresholdField), "-20");
  EXPECT_EQ(Shown(c.gargleRateSlider), "20");
  EXPECT_EQ(Shown(c.reverbGainSlider), "96");
  EXPECT_EQ(Shown(c.reverbMixSlider), "96");
  EXPECT_EQ(Shown(c.bufferSlider), "1000");
  EXPECT_EQ(Shown(c.splashCheck), "1");
  EXPECT_EQ(Shown(c.mp3BitRateList), "128");
  EXPECT_EQ(Shown(c.oggQualityList), "3");
  // Saved untouched, the effects keep sounding the same.
  window->Save();
  IniFile config(home.file("config.ini"));
  EffectRecords fromFile;
  fromFile.Fill(Effect::Flanger, config);
  fromFile.Fill(Effect::Reverb, config);
  EXPECT_FLOAT_EQ(fromFile.flanger.frequency, 0.25f);
  EXPECT_EQ(fromFile.reverb.inGain, 0);
}

TEST_F(SettingsTest, ListsWithoutAStoredItemShowNoneAndApplyTakesTheFirst) {
  Create("[mp3]\r\nbit=999\r\nbm=7\r\n[flanger]\r\nphase=9\r\n");
  window->Open();
  EXPECT_EQ(Ui().mp3BitRateList->currentIndex(), -1);
  EXPECT_EQ(Ui().mp3ModeList->currentIndex(), -1);
  EXPECT_EQ(Ui().flanger.phase->currentIndex(), -1);
  window->Apply();
  EXPECT_EQ(Ui().mp3BitRateList->currentText(), "32");
  EXPECT_EQ(Ui().flanger.phase->currentIndex(), 0);
  EXPECT_EQ(state.Encoders.Mp3.Bitrate, "32");
  EXPECT_EQ(state.Encoders.Mp3.UseBitrate, 1);
}

TEST_F(SettingsTest, ApplyReachesTheProgramWithoutWriting) {
  Create("[core]\r\nbuff=700\r\n");
  window->Open();
  const QByteArray before = ReadAll(home.file("config.ini"));
  QSignalSpy round(window.get(), &SettingsWindow::RoundButtonsChanged);
  Ui().bufferSlider->setValue(2500);
  Ui().proxyCheck->setChecked(true);
  Ui().proxyEdit->setText(QString(120, 'p') + ":3128");
  Ui().roundButtonsCheck->setChecked(true);
  Set(Ui().oggModeList, "VBR");
  Set(Ui().oggQualityList, "8");
  Set(Ui().mp3PriorityList, "0");
  Set(Ui().aacQualityList, "500");
  Ui().echoLeftDelayField->setValue(120);
  window->Apply();
  const audio::Library& lib = *state.Engine->Library();
  EXPECT_EQ(lib.BufferMs(), 2500);
  EXPECT_EQ(lib.Proxy(), std::string(99, 'p'));  // at most 99 characters are handed on
  ASSERT_EQ(round.size(), 1);
  EXPECT_TRUE(round.at(0).at(0).toBool());
  EXPECT_EQ(state.Encoders.Ogg.UseBitrate, 0);
  EXPECT_EQ(state.Encoders.Ogg.Quality, "8");
  EXPECT_EQ(state.Encoders.Mp3.Priority, "0");
  EXPECT_EQ(state.Encoders.Aac.Quality, "500");
  EXPECT_EQ(state.Engine->Records.echo.leftDelay, 120);  // filled though the echo is off
  EXPECT_EQ(state.DestFolder, state.AppDir + "Decode/");
  EXPECT_EQ(ReadAll(home.file("config.ini")), before);
  EXPECT_TRUE(window->isVisible());
}

TEST_F(SettingsTest, CancelPutsBackTheStoredProxyBufferAndEncoders) {
  Create("[proxy]\r\non=1\r\nhttp=10.1.1.1:8080\r\n[core]\r\nbuff=700\r\n[aac]\r\nvbr=50\r\n");
  const audio::Library& lib = *state.Engine->Library();
  EXPECT_EQ(lib.Proxy(), "10.1.1.1:8080");
  window->Open();
  Ui().proxyCheck->setChecked(false);
  Ui().proxyEdit->setText("other:1");
  Ui().bufferSlider->setValue(4000);
  Set(Ui().aacQualityList, "300");
  window->Apply();
  EXPECT_EQ(lib.Proxy(), "");
  EXPECT_EQ(lib.BufferMs(), 4000);
  QSignalSpy round(window.get(), &SettingsWindow::RoundButtonsChanged);
  window->Cancel();
  EXPECT_EQ(lib.Proxy(), "10.1.1.1:8080");
  EXPECT_EQ(lib.BufferMs(), 700);
  EXPECT_EQ(state.Encoders.Aac.Quality, "50");
  EXPECT_TRUE(Ui().proxyCheck->isChecked());
  EXPECT_EQ(Ui().proxyEdit->text(), "10.1.1.1:8080");
  ASSERT_EQ(round.size(), 1);
  EXPECT_FALSE(round.at(0).at(0).toBool());
  EXPECT_FALSE(window->isVisible());
}

TEST_F(SettingsTest, ModeListsShowTheBitRateOrTheQuality) {
  Create();
  window->Open();
  const Controls c = Ui();
  EXPECT_FALSE(c.oggBitRateList->isHidden());
  EXPECT_TRUE(c.oggQualityList->isHidden());
  Set(c.oggModeList, "VBR");
  EXPECT_TRUE(c.oggBitRateList->isHidden());
  EXPECT_FALSE(c.oggQualityList->isHidden());
  Set(c.mp3ModeList, "VBR");
  EXPECT_TRUE(c.mp3BitRateList->isHidden());
  EXPECT_FALSE(c.mp3QualityList->isHidden());
  window->Save();
  EXPECT_EQ(Stored("ogg", "bm"), "1");
  EXPECT_EQ(Stored("mp3", "bm"), "1");
}

TEST_F(SettingsTest, BufferCaptionFollowsTheSlider) {
  Create();
  EXPECT_EQ(Ui().bufferGroup->title(), "Буферизация = 1000 мс.");
  Ui().bufferSlider->setValue(2500);
  EXPECT_EQ(Ui().bufferGroup->title(), "Буферизация: 2500");
}

// Typed values: beyond the bound away from zero at once, short of the other
// when the field is left; fractions are handed on rounded, halves to even.
TEST_F(SettingsTest, TypedValuesAreBroughtIntoRange) {
  Create();
  window->Open();
  struct Case {
    SpinField* field;
    const char* typed;
    double value;
    int handedOn;
  };
  const Controls c = Ui();
  const std::vector<Case> cases{
      {c.compressorThresholdField, "5", 0, 0},
      {c.compressorThresholdField, "-75", -60, -60},
      {c.compressorReleaseField, "20", 50, 50},
      {c.compressorReleaseField, "9999", 3000, 3000},
      {c.compressorAttackField, "2.5", 2.5, 2},
      {c.compressorAttackField, "3.5", 3.5, 4},
      {c.echoLeftDelayField, "2500", 2000, 2000},
      {c.flanger.delay, "0.5", 0.5, 0},
  };
  for (const Case& k : cases) {
    k.field->selectAll();
    QTest::keyClicks(k.field, QString::fromLatin1(k.typed));
    QTest::keyClick(k.field, Qt::Key_Return);  // the field is left
    EXPECT_DOUBLE_EQ(k.field->value(), k.value) << k.typed;
    EXPECT_EQ(k.field->WholeValue(), k.handedOn) << k.typed;
  }
  // A value still being typed when "Сохранить" is pressed counts as entered.
  c.compressorReleaseField->selectAll();
  QTest::keyClicks(c.compressorReleaseField, "7");
  window->Save();
  EXPECT_EQ(Stored("compressor", "release"), "50");
  EXPECT_EQ(Stored("compressor", "threshold"), "-60");
  EXPECT_EQ(Stored("compressor", "attack"), "4");
}

TEST_F(SettingsTest, FoldersAreKeptInOrderAndCaptionTheSlots) {
  Create();
  QSignalSpy captions(window.get(), &SettingsWindow::FolderSlotsChanged);
  window->Open();
  const Controls c = Ui();
  ASSERT_EQ(c.folderList->count(), 1);
  EXPECT_EQ(c.folderList->item(0)->text(), state.AppDir + "Decode");
  EXPECT_EQ(state.DestFolder, state.AppDir + "Decode/");
  EXPECT_FALSE(c.removeFolderButton->isEnabled());
  window->AddFolder(home.path() + "/Music");
  window->AddFolder("/");
  c.folderList->setCurrentRow(0);
  window->RemoveSelectedFolder();
  EXPECT_EQ(state.DestFolder, home.path() + "/Music/");
  window->Save();
  EXPECT_EQ(Stored("folder", "count"), "1");
  EXPECT_EQ(Stored("folder", "0"), home.path() + "/Music/");
  EXPECT_EQ(Stored("folder", "1"), "/");
  ASSERT_FALSE(captions.isEmpty());
  EXPECT_EQ(captions.last().at(0).toStringList(), QStringList({home.path() + "/Music/", "/"}));
  // At the next start the list and the destination come back.
  window = std::make_unique<SettingsWindow>(state);
  window->RestoreFromConfig();
  EXPECT_EQ(state.DestFolder, home.path() + "/Music/");
  EXPECT_EQ(Ui().folderList->count(), 2);
}

TEST_F(SettingsTest, TheListHoldsOneToTenFoldersEachOnce) {
  Create();
  window->Open();
  const Controls c = Ui();
  window->AddFolder(state.AppDir + "DECODE");  // the same folder to the user
  EXPECT_EQ(c.folderList->count(), 1);
  EXPECT_EQ(c.folderList->currentRow(), 0);
  for (int i = 1; i < 10; ++i) window->AddFolder(QString("/srv/music%1").arg(i));
  EXPECT_EQ(c.folderList->count(), 10);
  EXPECT_FALSE(c.addFolderButton->isEnabled());
  window->AddFolder("/srv/eleventh");
  EXPECT_EQ(c.folderList->count(), 10);
  for (int i = 0; i < 12; ++i) {
    c.folderList->setCurrentRow(0);
    window->RemoveSelectedFolder();
  }
  EXPECT_EQ(c.folderList->count(), 1);
  EXPECT_EQ(c.folderList->item(0)->text(), "/srv/music9");
}

TEST_F(SettingsTest, StoredFoldersAreReadAsTheirKeysSay) {
  // count 2 with only key "0": the missing keys read as the root.
  Create("[folder]\r\ncount=2\r\n0=/data/out/\r\n");
  EXPECT_EQ(state.DestFolder, "/data/out/");
  window->Open();
  QStringList folders;
  for (int i = 0; i < Ui().folderList->count(); ++i) folders << Ui().folderList->item(i)->text();
  EXPECT_EQ(folders, QStringList({"/data/out", "/", "/"}));
}

TEST_F(SettingsTest, TheCpuLoadIsShownWhileTheWindowIsOpen) {
  Create();
  EXPECT_FALSE(Ui().cpuTimer->isActive());
  window->Open();
  EXPECT_TRUE(Ui().cpuTimer->isActive());
  EXPECT_EQ(Ui().cpuTimer->interval(), 300);
  EXPECT_TRUE(Ui().cpuLabel->text().startsWith("CPU: ")) << Ui().cpuLabel->text().toStdString();
  const QString number = Ui().cpuLabel->text().mid(5);
  EXPECT_EQ(number.size() - number.indexOf(QLocale::system().decimalPoint()), 3);  // two decimals
  window->Cancel();
  EXPECT_FALSE(Ui().cpuTimer->isActive());
}

TEST_F(SettingsTest, LooksAndWaysOut) {
  Create();
  EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(window->windowTitle(), "Настройки");
  const QStringList pages{"ORVE", "MP3", "OGG Vorbis", "AAC", "Echo", "Flanger", "Chorus",
                          "Compressor", "Gargle", "3D Reverb", "Reverb"};
  ASSERT_EQ(Ui().pages->count(), pages.size());
  for (int i = 0; i < pages.size(); ++i) EXPECT_EQ(Ui().pages->tabText(i), pages[i]);
  EXPECT_EQ(Ui().applyButton->text(), "Применить");
  EXPECT_EQ(Ui().saveButton->text(), "Сохранить");
  EXPECT_EQ(Ui().cancelButton->text(), "Отмена");
  // Inactive, the window lets what it covers show through.
  QEvent deactivated(QEvent::ActivationChange);
  QApplication::sendEvent(window.get(), &deactivated);
  EXPECT_NEAR(window->windowOpacity(), 150.0 / 255.0, 0.01);
  // Escape leaves as "Отмена" does.
  window->Open();
  Ui().bufferSlider->setValue(3000);
  QTest::keyClick(window.get(), Qt::Key_Escape);
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(state.Engine->Library()->BufferMs(), 1000);
}

// A config.ini that cannot be written: Save says so, stores nothing and the
// window stays open with the user's values.
TEST_F(SettingsTest, AFailedSaveKeepsTheWindowAndTheFile) {
  const QByteArray stored = "[core]\r\nbuff=700\r\n";
  Create(stored, false);
  window->Open();
  const QString name = home.file("config.ini");
  QFile::setPermissions(name, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
  QFile::setPermissions(home.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                         QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther);
  const int result = RunUnprivileged([&] {
    Ui().bufferSlider->setValue(4321);
    try {
      window->Save();
      return 1;
    } catch (const FileError& e) {
      if (e.message() != "Unable to write to " + name) return 2;
    }
    if (!window->isVisible()) return 3;
    if (Ui().bufferSlider->value() != 4321) return 4;
    return 0;
  });
  QFile::setPermissions(home.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(ReadAll(name), stored);
}

}  // namespace
}  // namespace orve::test
