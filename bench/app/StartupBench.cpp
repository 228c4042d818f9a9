// Start-up with a large playlist (run by hand: build/bench/app/bench_startup
// [entries] [parent folder]): the whole player in-process (windows offscreen
// unless QT_QPA_PLATFORM says otherwise, null output) starts with a
// Default.pld of N entries (default 10,000): hard links to one tagged
// four-minute MP3, so every entry is a file of its own path. Measured from
// Startup() to the list complete (the adder idle), the longest gap of a
// 10 ms UI timer meanwhile, and the resident memory once idle; first with
// an empty measurement cache, then again with the cache the first run left.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <unistd.h>

#include "app/Application.h"
#include "app/Startup.h"
#include "engine/Core.h"
#include "playlist/PlaylistWindow.h"
#include "session/AppState.h"

namespace {

double Millis(const QElapsedTimer& t) { return static_cast<double>(t.nsecsElapsed()) / 1e6; }

long ResidentKb() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
  }
  return -1;
}

struct Run {
  double listCompleteMs = 0;
  double longestGapMs = 0;
  int entries = 0;
  long rssKb = 0;
};

Run StartOnce(orve::Application& app) {
  Run r;
  QElapsedTimer wall, sinceTick;
  wall.start();
  app.State() = orve::AppState();
  if (!orve::Startup(app, {})) return r;
  orve::PlaylistWindow* pls = app.Windows().playlist;
  QTimer ticker;
  sinceTick.start();
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    r.longestGapMs = std::max(r.longestGapMs, Millis(sinceTick));
    sinceTick.start();
    if (!pls->Adding()) QCoreApplication::quit();
  });
  ticker.start(10);
  QCoreApplication::exec();
  r.listCompleteMs = Millis(wall);
  r.entries = static_cast<int>(app.State().Engine->Paths.size());
  r.rssKb = ResidentKb();
  orve::Shutdown(app);
  return r;
}

}  // namespace

int main(int argc, char** argv) {
  const int entries = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("ORVE_AUDIO_OUTPUT", "null");
  QTemporaryDir dir(argc > 2 ? QString::fromLocal8Bit(argv[2]) + "/startupXXXXXX" : QString());
  qputenv("ORVE_HOME", (dir.path() + "/home").toUtf8());
  qputenv("XDG_CACHE_HOME", (dir.path() + "/cache").toUtf8());
  QDir().mkpath(dir.path() + "/home");
  QDir().mkpath(dir.path() + "/music");
  orve::Application app(argc, argv);
  const QString source = dir.path() + "/source.mp3";
  QProcess ffmpeg;
  ffmpeg.start(QStringLiteral("ffmpeg"),
               {"-nostdin", "-v", "error", "-y", "-f", "lavfi", "-i", "sine=frequency=440:duration=240", "-ac", "2",
                "-c:a", "libmp3lame", "-b:a", "128k", "-metadata", "artist=Исполнитель", "-metadata", "title=Песня",
                source});
  if (!ffmpeg.waitForFinished(-1) || ffmpeg.exitCode() != 0) {
    std::fprintf(stderr, "ffmpeg could not make the MP3\n");
    return 1;
  }
  QByteArray pld;
  for (int i = 0; i < entries; ++i) {
    const QString link = QStringLiteral("%1/music/%2 - Песня.mp3").arg(dir.path()).arg(i, 5, 10, QLatin1Char('0'));
    if (::link(QFile::encodeName(source).constData(), QFile::encodeName(link).constData()) != 0) {
      std::fprintf(stderr, "cannot link %s\n", qPrintable(link));
      return 1;
    }
    pld += link.toUtf8() + "\r\n";
  }
  QFile file(dir.path() + "/home/Default.pld");
  if (!file.open(QIODevice::WriteOnly)) return 1;
  file.write(pld);
  file.close();
  QFile config(dir.path() + "/home/config.ini");
  if (!config.open(QIODevice::WriteOnly)) return 1;
  config.write("[core]\r\nsplash=0\r\n");
  config.close();

  std::printf("%d entries (hard links to one 240 s MP3), %s\n", entries, qgetenv("QT_QPA_PLATFORM").constData());
  std::printf("%-22s %14s %16s %10s %8s\n", "", "list complete", "longest UI gap", "RSS", "entries");
  for (const char* what : {"empty cache", "cache from the run"}) {
    // Default.pld is rewritten at exit: the same list each time.
    QFile::remove(dir.path() + "/home/Default.pld");
    QFile again(dir.path() + "/home/Default.pld");
    if (!again.open(QIODevice::WriteOnly)) return 1;
    again.write(pld);
    again.close();
    const Run r = StartOnce(app);
    std::printf("%-22s %11.0f ms %13.1f ms %7ld MB %8d\n", what, r.listCompleteMs, r.longestGapMs, r.rssKb / 1024,
                r.entries);
  }
  return 0;
}
