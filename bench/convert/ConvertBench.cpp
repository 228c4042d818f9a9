// Conversion speed and the UI during a conversion (run by hand:
// build/bench/convert/bench_convert [runs]).
//
// The input is a five-minute, music-like MP3 (a chord progression with
// drums and pink noise, 192 kbit/s, tagged), made once with ffmpeg.
// 1. Speed, whole process against whole process, alternating runs, medians:
//    - WAV: bench_convert_one converting the file (a process that runs one
//      conversion, as the player does) against `ffmpeg -i in.mp3 out.wav`;
//    - MP3, Ogg: the same against lame / oggenc run by hand with the same
//      settings on ffmpeg's WAV of the file (decoding not counted for them);
//    - AAC: the same against ffmpeg's own AAC encoder from the MP3.
// 2. The whole player (null output, offscreen) playing the file while it
//    converts it to MP3 from the playlist's menu: how late a 10 ms timer
//    runs, and the longest tick of the playlist's 50 ms timer. Goal: under
//    100 ms.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/Application.h"
#include "app/Startup.h"
#include "engine/Core.h"
#include "playlist/PlaylistWindow.h"
#include "session/AppState.h"

namespace {

using orve::ConvertFormat;

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

// Wall time of a whole process, in seconds; negative when it fails.
double Timed(const QString& program, const QStringList& arguments) {
  QProcess p;
  p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  p.setStandardOutputFile(QProcess::nullDevice());
  QElapsedTimer t;
  t.start();
  p.start(program, arguments);
  if (!p.waitForFinished(-1) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) return -1;
  return static_cast<double>(t.nsecsElapsed()) / 1e9;
}

bool MakeInput(const QString& file) {
  // A chord that changes every two seconds, a kick and pink noise.
  const QString music = QStringLiteral(
      "aevalsrc='0.18*sin(2*PI*(220+55*floor(mod(t,8)/2))*t)+0.12*sin(2*PI*(330+55*floor(mod(t,8)/2))*t)"
      "+0.1*sin(2*PI*(440+110*floor(mod(t,8)/2))*t)+0.3*sin(2*PI*60*t)*exp(-12*mod(t,0.5))|"
      "0.12*sin(2*PI*(220+55*floor(mod(t,8)/2))*t)+0.18*sin(2*PI*(277+55*floor(mod(t,8)/2))*t)"
      "+0.3*sin(2*PI*60*t)*exp(-12*mod(t,0.5))':s=44100:d=300[m];"
      "anoisesrc=color=pink:amplitude=0.05:d=300:r=44100,aformat=channel_layouts=stereo[n];"
      "[m][n]amix=inputs=2:normalize=0");
  return Timed(QStringLiteral("ffmpeg"), {"-v", "error", "-y", "-filter_complex", music, "-c:a", "libmp3lame", "-b:a",
                                          "192k", "-metadata", "title=Пятиминутная пьеса", "-metadata",
                                          "artist=Оркестр", file}) > 0;
}

struct Pair {
  const char* what;
  QStringList ours;  // arguments of bench_convert_one
  QString peer;
  QStringList peerArguments;
};

void CompareSpeed(const QString& dir, const QString& input, int runs) {
  const QString runner = QCoreApplication::applicationDirPath() + QStringLiteral("/bench_convert_one");
  const QString out = dir + QStringLiteral("/out/");
  QDir().mkpath(out);
  const QString wav = dir + QStringLiteral("/ffmpeg.wav");
  Timed(QStringLiteral("ffmpeg"), {"-v", "error", "-y", "-i", input, wav});
  const Pair pairs[] = {
      {"WAV", {"Wave", input, out}, "ffmpeg", {"-v", "error", "-y", "-i", input, out + "peer.wav"}},
      {"MP3", {"Mp3", input, out}, "lame",
       {"-m", "s", "--silent", "-q", "2", "-b", "128", "-k", "--id3v2-only", wav, out + "peer.mp3"}},
      {"Ogg", {"Ogg", input, out}, "oggenc", {"-Q", "-b", "128", "-o", out + "peer.ogg", wav}},
      {"AAC", {"Aac", input, out}, "ffmpeg", {"-v", "error", "-y", "-i", input, "-c:a", "aac", "-b:a", "128k", out + "peer.aac"}},
  };
  std::printf("%-4s %10s %10s %8s   (medians of %d alternating runs, whole processes)\n", "", "ORVE s", "peer s",
              "ratio", runs);
  for (const Pair& p : pairs) {
    std::vector<double> ours, peer;
    for (int i = 0; i < runs; ++i) {
      // Both write a new file each time: replacing one costs the player a
      // flush to disk that ffmpeg and the encoders never make.
      for (const QString& name : QDir(out).entryList(QDir::Files)) QFile::remove(out + name);
      ours.push_back(Timed(runner, p.ours));
      peer.push_back(Timed(p.peer, p.peerArguments));
    }
    const double o = Median(ours), q = Median(peer);
    std::printf("%-4s %10.2f %10.2f %7.2fx   peer: %s\n", p.what, o, q, q > 0 ? o / q : 0.0,
                p.peer.toUtf8().constData());
  }
}

// The whole player converting while it plays.
void MeasureLateness(const QString& dir, const QString& input) {
  qputenv("ORVE_HOME", (dir + QStringLiteral("/home")).toUtf8());
  qputenv("ORVE_AUDIO_OUTPUT", "null");
  const QString out = dir + QStringLiteral("/player-out/");
  QDir().mkpath(out);
  QDir().mkpath(dir + QStringLiteral("/home"));
  QFile config(dir + QStringLiteral("/home/config.ini"));
  if (!config.open(QIODevice::WriteOnly)) return;
  config.write(("[folder]\r\ncount=0\r\n0=" + out + "\r\n[core]\r\nsplash=0\r\n").toUtf8());
  config.close();
  orve::Application& app = *orve::Application::Instance();
  if (!orve::Startup(app, {input})) return;
  orve::PlaylistWindow* pls = app.Windows().playlist;
  QElapsedTimer wait;
  wait.start();
  while (pls->Adding() && wait.elapsed() < 30000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  pls->SelectIndex(0);
  const auto folderSlots = pls->ControlsForTest().folderSlots;
  std::vector<double> late;
  QElapsedTimer clock, convert;
  clock.start();
  QTimer timer;
  double last = 0;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    const double now = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    late.push_back(std::max(0.0, now - last - 10));
    last = now;
    if (pls->Conversions().empty()) QCoreApplication::quit();
  });
  convert.start();
  folderSlots[static_cast<size_t>(ConvertFormat::kMp3)][0]->trigger();
  last = static_cast<double>(clock.nsecsElapsed()) / 1e6;
  timer.start(10);
  QCoreApplication::exec();
  const double seconds = static_cast<double>(convert.elapsed()) / 1000;
  const bool playing = app.State().Engine->PlayState == orve::kPlaying;
  orve::Shutdown(app);
  std::sort(late.begin(), late.end());
  if (late.empty()) return;
  std::printf("\nplayer converting to MP3 while playing (%s): %.1f s; 10 ms timer late by median %.2f ms, "
              "99th percentile %.2f ms, at most %.2f ms; output %lld bytes\n",
              playing ? "still playing" : "NOT playing", seconds, late[late.size() / 2], late[late.size() * 99 / 100],
              late.back(), static_cast<long long>(QFileInfo(out + "bench.mp3").size()));
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  orve::Application app(argc, argv);
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  QTemporaryDir dir;
  const QString input = dir.path() + QStringLiteral("/bench.mp3");
  if (!MakeInput(input)) {
    std::fprintf(stderr, "ffmpeg could not make the input\n");
    return 1;
  }
  CompareSpeed(dir.path(), input, runs);
  MeasureLateness(dir.path(), input);
  return 0;
}
