#pragma once
// A whole program run for the playlist tests: start-up from a prepared
// folder (config.ini, Default.pld, arguments), the windows, and the
// end of the run with everything it writes.

#include <gtest/gtest.h>

#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include "app/Application.h"
#include "app/Startup.h"
#include "app/MainWindow.h"
#include "equalizer/EqualizerWindow.h"
#include "playlist/PlaylistWindow.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"
#include "support/Wait.h"
#include "widgets/ClickLabel.h"
#include "widgets/GlassButton.h"
#include "widgets/GradientBackground.h"
#include "widgets/MarkupListBox.h"
#include "widgets/TitleStrip.h"
#include "widgets/TrackBar.h"

// `actual` comes to equal `expected` within `ms` of the event loop running.
#define EXPECT_EQ_SOON(actual, expected, ms)                                   \
  do {                                                                        \
    ::orve::test::WaitUntil([&] { return (actual) == (expected); }, (ms));    \
    EXPECT_EQ(actual, expected);                                              \
  } while (false)

namespace orve::test {

inline const QString kFixtures = QStringLiteral(ORVE_FIXTURES_DIR "/audio/");

// Answers the next message box that opens (as OK) and keeps its text;
// checks every 10 ms of the event loop until one has come.
class NextMessageBox {
 public:
  NextMessageBox();
  QString text;

 private:
  QTimer timer_;
};

// A WAV of `seconds` (8 kHz mono 16-bit) holding a sine of `hz` (0: silence).
QByteArray SineWav(double seconds, int hz);

class PlaylistFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Starts the program; waits until the playlist has been filled.
  void Start(const QStringList& arguments = {});
  void End();
  // Adds local files through the playlist window's road and waits for them.
  void Add(const QStringList& paths);
  void WaitAdded();
  // Selects row i and starts it as a double-click does.
  void StartRow(int i);
  // The current entry's row is drawn as current.
  bool DrawnCurrent(int i) const;
  MainWindow::Controls mainUi() const { return main->ControlsForTest(); }
  PlaylistWindow::Controls plsUi() const { return pls->ControlsForTest(); }
  EqualizerWindow::Controls eqUi() const { return eq->ControlsForTest(); }

  Application& app = *Application::Instance();
  TempDir home;
  MainWindow* main = nullptr;
  PlaylistWindow* pls = nullptr;
  EqualizerWindow* eq = nullptr;
  TCore* engine = nullptr;
  bool started = false;
};

}  // namespace orve::test
