// Adding 1,000 four-minute MP3 files to the playlist (run by hand:
// bench/playlist/bench_add [parent folder of the temporary files]):
// (a) through EntryAdder, measuring on workers: wall time until Idle, and
//     the longest gap between two ticks of a 0 ms UI timer meanwhile (the
//     worst stall of the UI thread); once more without the timer, whose
//     busy loop takes a core from the workers;
// (b) the same paths one by one with TCore::AddEntry on the UI thread; the
//     event loop does not run in between, so its stall is the whole loop.
// The files are copies of one 128 kbit/s MP3 of a sine that ffmpeg makes
// once; all of them are removed at the end (about 3.8 GB while it runs).
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "engine/Core.h"
#include "playlist/EntryAdder.h"

namespace {

constexpr int kFiles = 1000;
constexpr int kSeconds = 240;

double Millis(const QElapsedTimer& t) { return static_cast<double>(t.nsecsElapsed()) / 1e6; }

bool MakeMp3(const QString& ffmpeg, const QString& name) {
  QProcess p;
  p.start(ffmpeg, {"-nostdin", "-v", "error", "-y", "-f", "lavfi", "-i",
                   QStringLiteral("sine=frequency=440:sample_rate=44100:duration=%1").arg(kSeconds), "-ac", "2",
                   "-c:a", "libmp3lame", "-b:a", "128k", "-metadata", "artist=Bench", "-metadata", "title=Sine",
                   name});
  if (!p.waitForFinished(-1) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
    std::fprintf(stderr, "ffmpeg failed: %s\n", p.readAllStandardError().constData());
    return false;
  }
  return true;
}

QStringList MakeCopies(const QString& source, const QString& folder) {
  QStringList paths;
  for (int i = 0; i < kFiles; ++i) {
    const QString name = folder + QStringLiteral("/song%1.mp3").arg(i, 4, 10, QLatin1Char('0'));
    if (!QFile::copy(source, name)) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(name));
      return {};
    }
    paths.append(name);
  }
  return paths;
}

struct AdderFigures {
  double wallMs = 0;
  double worstGapMs = 0;
  int ticks = 0;
  int progressSignals = 0;
};

// (a): the event loop runs until Idle; with `probe`, a 0 ms timer notes its
// gaps (and keeps one core busy, which the workers then miss).
AdderFigures AddThroughAdder(orve::TCore& engine, const QStringList& paths, bool probe) {
  AdderFigures f;
  orve::EntryAdder adder(engine, [] {});
  QList<orve::EntryAdder::Item> items;
  for (const QString& path : paths) items.append({path, false});

  QElapsedTimer wall;
  QElapsedTimer sinceTick;
  const auto noteGap = [&] {
    f.worstGapMs = std::max(f.worstGapMs, Millis(sinceTick));
    sinceTick.start();
  };
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    ++f.ticks;
    noteGap();
  });
  QObject::connect(&adder, &orve::EntryAdder::Progress, [&] { ++f.progressSignals; });
  QObject::connect(&adder, &orve::EntryAdder::Idle, [&] {
    noteGap();
    f.wallMs = Millis(wall);
    QCoreApplication::quit();
  });
  wall.start();
  sinceTick.start();
  if (probe) ticker.start(0);
  adder.Add(items);
  QCoreApplication::exec();
  return f;
}

struct SyncFigures {
  double wallMs = 0;
  double longestAddMs = 0;
};

// (b): one call per file, as a loop on the UI thread would do it.
SyncFigures AddOneByOne(orve::TCore& engine, const QStringList& paths) {
  SyncFigures f;
  QElapsedTimer wall;
  wall.start();
  for (const QString& path : paths) {
    QElapsedTimer one;
    one.start();
    engine.AddEntry(path);
    f.longestAddMs = std::max(f.longestAddMs, Millis(one));
  }
  f.wallMs = Millis(wall);
  return f;
}

bool SameLists(const orve::TCore& a, const orve::TCore& b) {
  return a.Paths == b.Paths && a.Titles == b.Titles && a.Durations == b.Durations && a.Kinds == b.Kinds &&
         a.TotalSeconds == b.TotalSeconds;
}

}  // namespace

int main(int argc, char** argv) {
  setenv("ORVE_AUDIO_OUTPUT", "null", 1);
  QCoreApplication app(argc, argv);
  const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
  if (ffmpeg.isEmpty()) {
    std::printf("skipped: ffmpeg is not installed (it makes the test MP3)\n");
    return 0;
  }
  QTemporaryDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) + "/addXXXXXX" : QString());
  if (!dir.isValid()) {
    std::fprintf(stderr, "cannot create a temporary folder: %s\n", qPrintable(dir.errorString()));
    return 1;
  }
  const QString source = dir.filePath(QStringLiteral("source.mp3"));
  if (!MakeMp3(ffmpeg, source)) return 1;
  const QStringList paths = MakeCopies(source, dir.path());
  if (paths.isEmpty()) return 1;

  orve::TCore viaAdder;
  viaAdder.Init(dir.path() + "/");
  const AdderFigures a = AddThroughAdder(viaAdder, paths, true);
  orve::TCore unprobed;
  unprobed.Init(dir.path() + "/");
  const AdderFigures quiet = AddThroughAdder(unprobed, paths, false);
  orve::TCore oneByOne;
  oneByOne.Init(dir.path() + "/");
  const SyncFigures b = AddOneByOne(oneByOne, paths);

  std::printf("%d files of %lld bytes, %d s each; %u hardware threads\n", kFiles,
              static_cast<long long>(QFile(source).size()), kSeconds, std::thread::hardware_concurrency());
  std::printf("%-34s %12s %22s\n", "", "wall time", "longest UI stall");
  std::printf("%-34s %9.0f ms %19.1f ms\n", "(a) EntryAdder, until Idle", a.wallMs, a.worstGapMs);
  std::printf("%-34s %9.0f ms %22s\n", "(a) the same, no timer probing", quiet.wallMs, "-");
  std::printf("%-34s %9.0f ms %19.0f ms\n", "(b) TCore::AddEntry one by one", b.wallMs, b.wallMs);
  std::printf("(a): %d ticks of the 0 ms timer, %d Progress signals; (b): longest single AddEntry %.1f ms\n",
              a.ticks, a.progressSignals, b.longestAddMs);
  if (!SameLists(viaAdder, oneByOne) || !SameLists(unprobed, oneByOne) || viaAdder.Paths.size() != kFiles) {
    std::fprintf(stderr, "the two ways gave different playlists\n");
    return 1;
  }
  return 0;
}
