// The music base at 1,000 titles by 200 artists and at 10,000 titles by
// 2,000 artists (run by hand: bench/library/bench_music_base [parent folder
// of the temporary files]):
// - registering every title, then the one save;
// - the window opened (filled and shown) and Reload, each all on the UI
//   thread, so its time is also the longest the UI is held;
// - a random pick, "Случайный из МБ" as a whole, and dynamic adding when
//   every title is already in the playlist (every candidate tried);
// - 1,000 files added through EntryAdder with the base registering them as
//   the program does: how many times base.dbm is saved.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "library/MusicBase.h"
#include "library/MusicBaseWindow.h"
#include "playlist/EntryAdder.h"
#include "session/AppState.h"

namespace {

double Millis(const QElapsedTimer& t) { return static_cast<double>(t.nsecsElapsed()) / 1e6; }

template <typename F>
double MedianMillis(int runs, F&& f) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    QElapsedTimer t;
    t.start();
    f();
    times.push_back(Millis(t));
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

void Measure(const QString& folder, int titles, int artists) {
  QTemporaryDir dir(folder + "/baseXXXXXX");
  const QString appDir = dir.path() + "/";
  orve::AppState state;
  state.AppDir = appDir;
  orve::MusicBase base(appDir);
  QStringList paths;
  for (int i = 0; i < titles; ++i) {
    const QString path = appDir + QStringLiteral("song%1.mp3").arg(i);
    QFile(path).open(QIODevice::WriteOnly);
    paths << path;
  }
  QElapsedTimer fill;
  fill.start();
  for (int i = 0; i < titles; ++i) {
    base.AddFile(paths[i], QStringLiteral("Исполнитель %1").arg(i % artists), QStringLiteral("Песня номер %1").arg(i));
  }
  base.Flush();
  const double fillMs = Millis(fill);

  orve::MusicBaseWindow window(state, base);
  QObject::connect(&window, &orve::MusicBaseWindow::AppendRequested,
                   [&](const QString& path, bool) { state.Engine->Paths.append(path); });
  QElapsedTimer open;
  open.start();
  window.Open();
  const double openMs = Millis(open);
  const double reloadMs = MedianMillis(11, [&] { window.Reload(); });
  window.hide();
  std::mt19937 random(1);
  const double pickMs = MedianMillis(101, [&] { base.RandomPick(random); });
  const double playMs = MedianMillis(11, [&] {
    state.Engine->Paths.clear();
    window.PlayRandomTitle();
  });
  state.Engine->Paths = paths;
  QElapsedTimer exhaust;
  exhaust.start();
  const bool appended = window.AppendRandomTitle();
  const double exhaustMs = Millis(exhaust);
  std::printf("%6d titles by %5d artists: registering %7.1f ms (one save); window opened %6.1f ms; Reload %6.1f ms; "
              "random pick %5.2f ms; \"Случайный из МБ\" %5.2f ms; dynamic adding with all %d in the playlist %6.1f ms%s\n",
              titles, artists, fillMs, openMs, reloadMs, pickMs, playMs, titles, exhaustMs,
              appended ? " (appended: wrong)" : "");
}

// 1,000 files through EntryAdder, registered as the program registers them.
void CountSaves(const QString& folder, const QString& fixture) {
  QTemporaryDir dir(folder + "/addXXXXXX");
  const QString appDir = dir.path() + "/";
  orve::TCore engine;
  orve::MusicBase base(appDir);
  int saves = 0;
  QObject::connect(&base, &orve::MusicBase::Changed, [&] { ++saves; });
  engine.RegisterFile = [&](const orve::TCore::MeasuredEntry& e) {
    base.AddFile(e.path, e.artist, QStringLiteral("%1").arg(e.path.section('/', -1)));
  };
  orve::EntryAdder adder(engine, [] {});
  adder.SetSliceEnd([&] { base.Flush(); });
  QList<orve::EntryAdder::Item> items;
  for (int i = 0; i < 1000; ++i) {
    const QString path = appDir + QStringLiteral("song%1.mp3").arg(i);
    QFile::copy(fixture, path);
    items.append({path, false});
  }
  QElapsedTimer t;
  t.start();
  bool done = false;
  adder.Add(items, [&] { done = true; });
  while (!done) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  std::printf("1,000 files added through EntryAdder: %lld entries, base.dbm saved %d times, %.0f ms\n",
              static_cast<long long>(engine.Paths.size()), saves, Millis(t));
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath();
  Measure(folder, 1000, 200);
  Measure(folder, 10000, 2000);
  CountSaves(folder, QStringLiteral(ORVE_FIXTURES_DIR "/audio/cbr.mp3"));
  return 0;
}
