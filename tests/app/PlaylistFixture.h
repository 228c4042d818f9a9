#pragma once
// A whole program run for the playlist tests: start-up from a prepared
// folder (config.ini, Default.pld, arguments), the windows, and the
// end of the run with everything it writes.

#include <gtest/gtest.h>

#include <QFile>
#include <QTest>

#include "app/Application.h"
#include "app/Startup.h"
#include "app/Unit1.h"
#include "equalizer/Unit6.h"
#include "playlist/Unit2.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"
#include "support/Wait.h"

// `actual` comes to equal `expected` within `ms` of the event loop running.
#define EXPECT_EQ_SOON(actual, expected, ms)                                   \
  do {                                                                        \
    ::orve::test::WaitUntil([&] { return (actual) == (expected); }, (ms));    \
    EXPECT_EQ(actual, expected);                                              \
  } while (false)

namespace orve::test {

inline const QString kFixtures = QStringLiteral(ORVE_FIXTURES_DIR "/audio/");

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

  TApplication& app = *TApplication::Instance();
  TempDir home;
  TForm1* main = nullptr;
  TForm2* pls = nullptr;
  TForm6* eq = nullptr;
  TCore* engine = nullptr;
  bool started = false;
};

}  // namespace orve::test
