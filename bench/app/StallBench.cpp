// The whole program's event loop while a radio station stalls (run by hand:
// bench/app/bench_stall). The program runs in-process with the null output
// in a temporary ORVE_HOME (offscreen unless QT_QPA_PLATFORM says otherwise);
// a stream entry on the test suite's ICY server is started as a double-click
// does. The server stops sending after 200,000 bytes (12.5 s of sound) for
// 10 s; the library gives the silent connection up and reconnects.
// A 10 ms timer notes the gap between its ticks (latency = gap - 10 ms) for
// about 25 s, by phase: connect/play (until the stream runs dry), stall
// (until the library reconnects), reconnect/after. On each tick it also
// makes the library calls a window makes while it waits (position, length,
// metadata, wave, FFT, attributes, status) and keeps the longest, and it
// times every tick of the playlist's 50 ms timer. Goal: no latency or call
// over 100 ms.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "app/Application.h"
#include "app/Startup.h"
#include "engine/Core.h"
#include "playlist/PlaylistWindow.h"
#include "widgets/MarkupListBox.h"
#include "support/IcyServerProcess.h"

namespace {

using orve::audio::ActiveState;

constexpr int kTickMs = 10;
constexpr double kRunSeconds = 25.0;        // at least this long
constexpr double kAfterSoundSeconds = 3.0;  // of sound after the reconnection
constexpr double kMaxSeconds = 60.0;        // when the sound never comes back
constexpr char kStallPath[] = "/stream.mp3?stall=200000&pause=10";

double Millis(const QElapsedTimer& t) { return static_cast<double>(t.nsecsElapsed()) / 1e6; }

// Runs `call` and keeps its duration in `longestMs` when it is the longest.
template <typename F>
auto Timed(double& longestMs, F call) {
  QElapsedTimer t;
  t.start();
  auto result = call();
  longestMs = std::max(longestMs, Millis(t));
  return result;
}

enum Phase { kConnectPlay, kStall, kReconnectAfter, kPhaseCount };
constexpr std::array<const char*, kPhaseCount> kPhaseNames = {"connect/play", "stall", "reconnect/after"};

struct PhaseFigures {
  std::vector<double> latenciesMs;
  double longestPlaylistTickMs = 0;
  double longestLibraryCallMs = 0;
};

// Seconds since the entry was started; negative: not seen.
struct Moments {
  double firstSound = -1;
  double stalled = -1;
  double reconnecting = -1;
  double soundAgain = -1;
};

struct StatusChange {
  double at;
  std::string text;
};

// Watches the running program from a 10 ms timer on the UI thread.
class Probe {
 public:
  explicit Probe(orve::TCore& engine) : engine_(engine) {}

  void Start() {
    sinceStart_.start();
    sinceTick_.start();
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(kTickMs);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
    timer_.start();
  }
  void NotePlaylistTick(double ms) {
    figures_[phase_].longestPlaylistTickMs = std::max(figures_[phase_].longestPlaylistTickMs, ms);
  }
  const std::array<PhaseFigures, kPhaseCount>& Figures() const { return figures_; }
  const Moments& Seen() const { return seen_; }
  const std::vector<StatusChange>& Statuses() const { return statuses_; }

 private:
  struct Observation {
    bool sound = false;
    ActiveState state = ActiveState::kStopped;
    std::string status;
  };

  void Tick() {
    // A tick that comes early after a late one has no latency of its own.
    figures_[phase_].latenciesMs.push_back(std::max(0.0, Millis(sinceTick_) - kTickMs));
    sinceTick_.start();
    const double now = Millis(sinceStart_) / 1000.0;
    const Observation o = Observe();
    NoteStatus(now, o.status);
    Advance(now, o);
    if (Finished(now)) {
      timer_.stop();
      QCoreApplication::quit();
    }
  }

  // What a window asks while it waits, each call timed.
  Observation Observe() {
    orve::audio::Library& lib = *engine_.Library();
    const orve::audio::Handle h = engine_.Handle();
    double& longest = figures_[phase_].longestLibraryCallMs;
    int frequency = 0, volume = 0;
    Timed(longest, [&] { return lib.Position(h); });
    Timed(longest, [&] { return lib.Length(h); });
    Timed(longest, [&] { return lib.GetMetadata(h); });
    Timed(longest, [&] { return lib.GetFft(h, fft_.data(), 512); });
    if (Timed(longest, [&] { return lib.GetAttributes(h, frequency, volume); })) {
      Timed(longest, [&] { return lib.SetAttributes(h, frequency, volume); });  // as they are
    }
    Observation o;
    const bool loud = Timed(longest, [&] { return lib.GetWave(h, wave_.data()); }) > 0 && Loud();
    o.state = Timed(longest, [&] { return lib.IsActive(h); });
    o.status = Timed(longest, [&] { return lib.StreamStatus(h); });
    // While a stream is dry GetWave keeps answering the last sound heard,
    // so sound counts only while the channel is fed.
    o.sound = loud && o.state == ActiveState::kPlaying && o.status.empty();
    return o;
  }

  // The tone is at about -6 dBFS; silence is 0.
  bool Loud() const {
    return std::any_of(wave_.begin(), wave_.end(), [](int16_t s) { return std::abs(static_cast<int>(s)) > 3000; });
  }

  void NoteStatus(double now, const std::string& status) {
    if (statuses_.empty() || statuses_.back().text != status) statuses_.push_back({now, status});
  }

  // Connecting is silent too: a stall counts only after the first sound.
  void Advance(double now, const Observation& o) {
    if (seen_.firstSound < 0) {
      if (o.sound) seen_.firstSound = now;
    } else if (seen_.stalled < 0) {
      if (o.state == ActiveState::kStalled || !o.status.empty()) Enter(kStall, seen_.stalled, now);
    } else if (seen_.reconnecting < 0) {
      if (!o.status.empty()) Enter(kReconnectAfter, seen_.reconnecting, now);
    } else if (seen_.soundAgain < 0 && o.sound) {
      seen_.soundAgain = now;
    }
  }
  void Enter(Phase phase, double& moment, double now) {
    phase_ = phase;
    moment = now;
  }

  bool Finished(double now) const {
    const bool heardAgain = seen_.soundAgain >= 0 && now - seen_.soundAgain >= kAfterSoundSeconds;
    return now >= kMaxSeconds || (now >= kRunSeconds && heardAgain);
  }

  orve::TCore& engine_;
  QTimer timer_;
  QElapsedTimer sinceStart_;
  QElapsedTimer sinceTick_;
  Phase phase_ = kConnectPlay;
  std::array<PhaseFigures, kPhaseCount> figures_;
  Moments seen_;
  std::vector<StatusChange> statuses_;
  std::vector<int16_t> wave_ = std::vector<int16_t>(1024);
  std::array<float, 256> fft_{};
};

// Every tick of the playlist's timer through a clock; false when its
// connection is not the one the window makes.
bool TimePlaylistTicks(orve::PlaylistWindow& playlist, Probe& probe) {
  QTimer* tick = playlist.ControlsForTest().tickTimer;
  if (!QObject::disconnect(tick, &QTimer::timeout, &playlist, &orve::PlaylistWindow::Tick)) return false;
  QObject::connect(tick, &QTimer::timeout, &playlist, [&playlist, &probe] {
    QElapsedTimer t;
    t.start();
    playlist.Tick();
    probe.NotePlaylistTick(Millis(t));
  });
  return true;
}

// Start-up has queued its playlist work; the event loop finishes it.
bool WaitUntilAdded(orve::PlaylistWindow& playlist) {
  QElapsedTimer t;
  t.start();
  while (playlist.Adding() && t.elapsed() < 30000) {
    QCoreApplication::processEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  QCoreApplication::processEvents();
  return !playlist.Adding();
}

void StartStream(orve::PlaylistWindow& playlist, const QString& url) {
  playlist.AddStream(url);
  playlist.StartIndex(playlist.ControlsForTest().entryList->Count() - 1);
}

double Percentile(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  const auto rank = static_cast<size_t>(std::ceil(p * static_cast<double>(values.size())));
  return values[std::clamp<size_t>(rank, 1, values.size()) - 1];
}

void PrintRow(const char* name, const std::vector<double>& latencies, double tickMs, double callMs, bool timedTicks) {
  if (latencies.empty()) {
    std::printf("%-16s %6d %8s %8s %8s\n", name, 0, "-", "-", "-");
    return;
  }
  std::printf("%-16s %6zu %8.2f %8.2f %8.2f", name, latencies.size(), Percentile(latencies, 0.5),
              Percentile(latencies, 0.99), *std::max_element(latencies.begin(), latencies.end()));
  if (timedTicks) {
    std::printf(" %14.2f", tickMs);
  } else {
    std::printf(" %14s", "n/a");
  }
  std::printf(" %14.3f\n", callMs);
}

void PrintTable(const Probe& probe, bool timedTicks) {
  std::printf("%-16s %6s %8s %8s %8s %14s %14s\n", "phase", "ticks", "median", "p99", "max", "playlist tick",
              "library call");
  std::printf("%-16s %6s %8s %8s %8s %14s %14s\n", "", "", "(ms late)", "", "", "(longest, ms)", "(longest, ms)");
  std::vector<double> all;
  double tick = 0, call = 0;
  for (int p = 0; p < kPhaseCount; ++p) {
    const PhaseFigures& f = probe.Figures()[p];
    PrintRow(kPhaseNames[p], f.latenciesMs, f.longestPlaylistTickMs, f.longestLibraryCallMs, timedTicks);
    all.insert(all.end(), f.latenciesMs.begin(), f.latenciesMs.end());
    tick = std::max(tick, f.longestPlaylistTickMs);
    call = std::max(call, f.longestLibraryCallMs);
  }
  PrintRow("all", all, tick, call, timedTicks);
}

void PrintMoment(const char* what, double seconds) {
  if (seconds < 0) {
    std::printf("  %-40s not seen\n", what);
  } else {
    std::printf("  %-40s %6.2f s\n", what, seconds);
  }
}

void PrintMoments(const Probe& probe) {
  const Moments& m = probe.Seen();
  std::printf("after the double-click:\n");
  PrintMoment("first sound heard", m.firstSound);
  PrintMoment("stream ran dry (stalled)", m.stalled);
  PrintMoment("library reconnecting (status shown)", m.reconnecting);
  PrintMoment("sound heard again", m.soundAgain);
  std::printf("status texts in order:");
  for (const StatusChange& s : probe.Statuses()) {
    std::printf(" %s%.2f s \"%s\"", &s == probe.Statuses().data() ? "" : "-> ", s.at, s.text.c_str());
  }
  std::printf("\n");
}

bool Complete(const Moments& m) {
  return m.firstSound >= 0 && m.stalled >= 0 && m.reconnecting >= 0 && m.soundAgain >= 0;
}

// Starts the program, plays the station while the probe watches, ends the program.
int Run(orve::Application& app, const QString& url) {
  if (!orve::Startup(app, {})) {
    std::fprintf(stderr, "the program did not start\n");
    return 1;
  }
  orve::PlaylistWindow& playlist = *app.Windows().playlist;
  orve::TCore& engine = *app.State().Engine;
  Probe probe(engine);
  int result = 1;
  if (!WaitUntilAdded(playlist)) {
    std::fprintf(stderr, "start-up's playlist work did not finish\n");
  } else {
    const bool timedTicks = TimePlaylistTicks(playlist, probe);
    probe.Start();  // the double-click's own time counts in the first gap
    QElapsedTimer click;
    click.start();
    StartStream(playlist, url);
    const double clickMs = Millis(click);
    QCoreApplication::exec();
    std::printf("stream %s (%u hardware threads)\n", qPrintable(url), std::thread::hardware_concurrency());
    PrintTable(probe, timedTicks);
    std::printf("the double-click (adding the entry and starting it) took %.2f ms\n", clickMs);
    PrintMoments(probe);
    result = Complete(probe.Seen()) ? 0 : 1;
    if (result != 0) std::fprintf(stderr, "the run did not see every phase\n");
  }
  QElapsedTimer end;
  end.start();
  orve::Shutdown(app);  // with the stream still playing
  std::printf("shutdown took %.1f ms\n", Millis(end));
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setenv("ORVE_AUDIO_OUTPUT", "null", 1);
  QTemporaryDir dir;
  if (!dir.isValid()) {
    std::fprintf(stderr, "cannot create a temporary folder: %s\n", qPrintable(dir.errorString()));
    return 1;
  }
  setenv("ORVE_HOME", qPrintable(dir.filePath(QStringLiteral("home"))), 1);
  orve::bench::IcyServerProcess server(dir.filePath(QStringLiteral("server")).toStdString());
  if (!server.Running()) {
    std::fprintf(stderr, "the ICY server did not start (python3, ffmpeg?)\n");
    return 1;
  }
  orve::Application app(argc, argv);
  return Run(app, QString::fromStdString(server.Url(kStallPath)));
}
