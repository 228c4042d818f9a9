// What the display area costs (run by hand: bench/app/bench_display
// [SCREENSHOT_FOLDER]). The whole player runs in-process with the null
// output in a temporary ORVE_HOME, playing a 320 kbit/s MP3 of music-like
// sound (a chord over pink noise, made by ffmpeg). For each of the five
// modes: the process's CPU time with the main window shown (the
// visualisation drawing every 30 ms) and with it hidden (no drawing), in 3 s
// windows that alternate seven times, the medians kept; and one drawing tick (library data + picture) timed alone, the
// median and the worst of 300. With a folder, a picture of the main window
// in each mode is saved there (display-mode-N.png); run it under Xvfb with
// QT_QPA_PLATFORM=xcb for what a desktop shows.
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

#include "app/Application.h"
#include "app/Display.h"
#include "app/MainWindow.h"
#include "app/Platform.h"
#include "app/Startup.h"
#include "engine/Core.h"

namespace {

constexpr double kMeasureSeconds = 3;
constexpr int kRounds = 7;  // shown and hidden alternate; the medians are kept

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

double CpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// CPU time of the whole process per wall second over `seconds`, in percent of one core.
double CpuPercent(double seconds) {
  const double before = CpuSeconds();
  QElapsedTimer wall;
  wall.start();
  QTest::qWait(static_cast<int>(seconds * 1000));
  return 100.0 * (CpuSeconds() - before) / (static_cast<double>(wall.nsecsElapsed()) / 1e9);
}

bool MakeMusic(const QString& name) {
  // A chord over pink noise, about as loud as mastered music.
  QProcess p;
  p.start("ffmpeg", {"-nostdin", "-v", "error", "-y", "-f", "lavfi", "-i", "anoisesrc=color=pink:amplitude=0.5:duration=400",
                     "-f", "lavfi", "-i",
                     "aevalsrc=0.25*sin(2*PI*110*t)+0.2*sin(2*PI*220*t)*(0.6+0.4*sin(2*PI*2*t))+0.15*sin(2*PI*330*t)"
                     "+0.1*sin(2*PI*1320*t)*(0.5+0.5*sin(2*PI*0.5*t))+0.05*sin(2*PI*3520*t):s=44100:d=400",
                     "-filter_complex", "amix=inputs=2:normalize=0,alimiter=limit=0.9", "-ac", "2", "-ar", "44100",
                     "-c:a", "libmp3lame", "-b:a", "320k", name});
  return p.waitForFinished(-1) && p.exitCode() == 0;
}

// One drawing tick as the main window makes it: the library's data for the
// mode, then the picture.
double TickMillis(const orve::TCore& engine, int mode, QImage& canvas) {
  static std::vector<float> magnitudes(512);
  static std::vector<int16_t> wave(1024);
  const orve::DisplayColours colours{Qt::black, Qt::cyan, Qt::blue, Qt::white};
  QElapsedTimer t;
  t.start();
  QPainter painter(&canvas);
  const orve::audio::Library& lib = *engine.Library();
  if (mode == 0 && lib.GetFft(engine.Handle(), magnitudes.data(), 1024) > 0) {
    orve::DrawSpectrumLines(painter, magnitudes.data(), colours);
  } else if (mode == 1 && lib.GetFft(engine.Handle(), magnitudes.data(), 512) > 0) {
    orve::DrawSpectrumBars(painter, magnitudes.data(), colours);
  } else if (mode >= 2 && lib.GetWave(engine.Handle(), wave.data()) > 0) {
    orve::DrawWave(painter, mode, wave.data(), colours);
  }
  painter.end();
  return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  QTemporaryDir home;
  qputenv("ORVE_HOME", home.path().toUtf8());
  qputenv("ORVE_AUDIO_OUTPUT", "null");
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  orve::ChoosePlatformDefaults();  // as the program starts
  orve::Application app(argc, argv);
  const QString shots = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
  const QString music = home.filePath("music.mp3");
  if (!MakeMusic(music)) {
    std::fprintf(stderr, "ffmpeg could not make the music\n");
    return 1;
  }
  if (!orve::Startup(app, {music})) return 1;
  orve::MainWindow* main = app.Windows().main;
  orve::TCore& engine = *app.State().Engine;
  QTest::qWait(1000);
  if (engine.PlayState != orve::kPlaying) {
    std::fprintf(stderr, "the music does not play\n");
    return 1;
  }
  std::printf("mode | CPU shown | CPU hidden | ratio | tick median | tick worst\n");
  for (int mode = 0; mode < orve::kVisModes; ++mode) {
    app.State().VisMode = static_cast<quint8>(mode);
    std::vector<double> shownRounds, hiddenRounds;
    for (int round = 0; round < kRounds; ++round) {
      main->show();
      shownRounds.push_back(CpuPercent(kMeasureSeconds));
      main->hide();
      hiddenRounds.push_back(CpuPercent(kMeasureSeconds));
    }
    const double shown = Median(shownRounds);
    const double hidden = Median(hiddenRounds);
    if (!shots.isEmpty()) {
      main->show();
      QTest::qWait(500);
      main->grab().save(QStringLiteral("%1/display-mode-%2.png").arg(shots).arg(mode));
      main->hide();
    }
    QImage canvas(orve::kSurfaceWidth, orve::kSurfaceHeight, QImage::Format_RGB32);
    std::vector<double> ticks;
    for (int i = 0; i < 300; ++i) ticks.push_back(TickMillis(engine, mode, canvas));
    std::sort(ticks.begin(), ticks.end());
    std::printf("%4d | %8.2f %% | %9.2f %% | %5.2f | %8.3f ms | %7.3f ms\n", mode, shown, hidden, shown / hidden,
                ticks[ticks.size() / 2], ticks.back());
    std::fflush(stdout);
  }
  if (!shots.isEmpty()) {
    // The idle display: paused, the greeting and the clock after 18 s.
    main->show();
    main->Pause();
    QTest::qWait(18500);
    main->grab().save(QStringLiteral("%1/display-idle.png").arg(shots));
  }
  orve::Shutdown(app);
  return 0;
}
