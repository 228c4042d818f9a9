#pragma once
// The settings window on a real engine (null output unless a test chooses a
// capture) in a fresh program folder.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTimer>
#include <memory>

#include "session/AppState.h"
#include "settings/IniFile.h"
#include "settings/window/SettingsWindow.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"
#include "widgets/GlassButton.h"
#include "widgets/SpinField.h"
#include "widgets/TrackBar.h"

namespace orve::test {

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qputenv("ORVE_AUDIO_OUTPUT", "null");
    state.AppDir = home.path() + "/";
    state.Scheme = BuiltInColourScheme();
  }
  void TearDown() override {
    window.reset();
    state.Engine->Shutdown();
  }
  // The engine started and the window created from `config` as start-up does.
  void Create(const QByteArray& config = {}, bool engine = true) {
    if (!config.isEmpty()) home.write("config.ini", config);
    if (engine) state.Engine->Init(state.AppDir);
    window = std::make_unique<SettingsWindow>(state);
    window->RestoreFromConfig();
  }
  SettingsWindow::Controls Ui() const { return window->ControlsForTest(); }
  QString Stored(const char* section, const char* key) {
    IniFile config(home.file("config.ini"));
    return config.ReadString(QString::fromLatin1(section), QString::fromLatin1(key), QStringLiteral("<missing>"));
  }

  TempDir home;
  AppState state;
  std::unique_ptr<SettingsWindow> window;
};

}  // namespace orve::test
