// Damaged media in the whole program (run by hand: build/bench/app/bench_corrupt).
// The player runs in-process (offscreen unless QT_QPA_PLATFORM says
// otherwise, null output) in a temporary ORVE_HOME. The corrupt-media
// corpus of the tests (files cut short, flipped header bits, lying sizes,
// absurd rates and channel counts, special files) is added by the adder,
// then once more one file at a time on the UI thread, then every entry is
// started as a double-click does, and the program is shut down. Measured:
// the longest event the UI thread handled while adding, the longest single
// add and start, the shutdown, and the largest single memory request.
// Goal: no UI call over 100 ms, no request over 64 MB.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <string>

#include "app/Application.h"
#include "app/Startup.h"
#include "engine/Core.h"
#include "playlist/PlaylistWindow.h"
#include "session/AppState.h"
#include "support/CorruptMedia.h"
#include "support/LargestAllocation.h"

namespace {

double Millis(const QElapsedTimer& t) { return static_cast<double>(t.nsecsElapsed()) / 1e6; }

struct Slowest {
  double ms = 0;
  std::string what;
  void Note(double taken, const std::string& name) {
    if (taken > ms) {
      ms = taken;
      what = name;
    }
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("ORVE_AUDIO_OUTPUT", "null");
  QTemporaryDir dir;
  qputenv("ORVE_HOME", (dir.path() + "/home").toUtf8());
  qputenv("XDG_CACHE_HOME", (dir.path() + "/cache").toUtf8());
  QDir().mkpath(dir.path() + "/home");
  QDir().mkpath(dir.path() + "/media");
  orve::Application app(argc, argv);
  const auto cases = orve::test::MakeCorruptMedia(ORVE_FIXTURES_DIR "/audio", (dir.path() + "/media").toStdString());
  QStringList paths;
  for (const orve::test::CorruptCase& c : cases) paths << QString::fromStdString(c.path);

  app.State() = orve::AppState();
  if (!orve::Startup(app, {})) return 1;
  orve::PlaylistWindow* pls = app.Windows().playlist;
  orve::test::allocation::Reset();

  Slowest event, add, start;
  app.WatchEvents([&event](double ms) { event.Note(ms, "an event while adding"); });
  pls->AddFiles(paths);
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (!pls->Adding()) QCoreApplication::quit();
  });
  poll.start(10);
  QCoreApplication::exec();
  app.WatchEvents({});

  for (int i = 0; i < static_cast<int>(paths.size()); ++i) {
    QElapsedTimer t;
    t.start();
    pls->AppendFile(paths[i], false);
    add.Note(Millis(t), cases[static_cast<size_t>(i)].what);
  }
  for (int i = 0; i < static_cast<int>(paths.size()); ++i) {
    QElapsedTimer t;
    t.start();
    pls->SelectIndex(i);
    pls->StartSelected();
    QCoreApplication::processEvents();
    start.Note(Millis(t), cases[static_cast<size_t>(i)].what);
  }
  QElapsedTimer exit;
  exit.start();
  orve::Shutdown(app);
  const double exitMs = Millis(exit);

  std::printf("%zu damaged files and special files, %s\n", cases.size(), qgetenv("QT_QPA_PLATFORM").constData());
  std::printf("longest UI event while the adder measured: %7.1f ms\n", event.ms);
  std::printf("longest add on the UI thread:              %7.1f ms  (%s)\n", add.ms, add.what.c_str());
  std::printf("longest start (open and play):             %7.1f ms  (%s)\n", start.ms, start.what.c_str());
  std::printf("shutdown:                                  %7.1f ms\n", exitMs);
  std::printf("largest single memory request:             %7.1f MB\n",
              static_cast<double>(orve::test::allocation::Largest()) / (1 << 20));
  return 0;
}
