#include "app/Trace.h"

#include <time.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "app/Application.h"
#include "engine/Core.h"
#include "playlist/EntryAdder.h"
#include "playlist/PlaylistWindow.h"

namespace orve {
namespace {

// An event that held the event loop this long is a stall a user sees.
constexpr double kStallMs = 50;

// The clock Python's time.monotonic() and the shell's tools read too.
double MonotonicMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return 1e3 * static_cast<double>(ts.tv_sec) + 1e-6 * static_cast<double>(ts.tv_nsec);
}

QByteArray Millis(double ms) { return QByteArray::number(ms, 'f', 1); }

}  // namespace

std::unique_ptr<Trace> Trace::FromEnvironment(Application& app) {
  const QByteArray target = qgetenv("ORVE_TRACE");
  if (target.isEmpty()) return nullptr;
  if (target == "-") return std::make_unique<Trace>(app, stderr, false);
  std::FILE* f = std::fopen(target.constData(), "a");
  if (f == nullptr) {
    std::fprintf(stderr, "orve: ORVE_TRACE: %s: %s\n", target.constData(), std::strerror(errno));
    return nullptr;
  }
  return std::make_unique<Trace>(app, f, true);
}

Trace::Trace(Application& app, std::FILE* out, bool ownsFile) : app_(app), out_(out), ownsFile_(ownsFile) {
  // Each line reaches a reader as it is written.
  std::setvbuf(out_, nullptr, _IOLBF, 0);
  PlaylistWindow* playlist = app_.Windows().playlist;
  connect(&playlist->Adder(), &EntryAdder::Idle, this, &Trace::ReportListIfComplete);
  // Switching an effect pauses and resumes the channel: a resume is no start.
  connect(app_.State().Engine.get(), &TCore::TransportChanged, this, [this](quint8 state) {
    if (state == kPlaying && lastState_ != kPlaying && lastState_ != kPaused) Write("playing");
    lastState_ = state;
  });
  // Timed as events are handled: no timer of its own wakes the program.
  app_.WatchEvents([this](double ms) { EventHandled(ms); });
  Write("ready");
  ReportListIfComplete();
}

Trace::~Trace() {
  app_.WatchEvents({});
  Write("exit", Millis(longestMs_));
  if (ownsFile_) std::fclose(out_);
}

void Trace::Write(const char* event, const QByteArray& value) {
  if (value.isEmpty()) {
    std::fprintf(out_, "%.1f %s\n", MonotonicMs(), event);
  } else {
    std::fprintf(out_, "%.1f %s %s\n", MonotonicMs(), event, value.constData());
  }
}

void Trace::EventHandled(double ms) {
  longestMs_ = std::max(longestMs_, ms);
  if (ms > kStallMs) Write("stall", Millis(ms));
}

void Trace::ReportListIfComplete() {
  const PlaylistWindow* playlist = app_.Windows().playlist;
  if (playlist == nullptr || playlist->Adding()) return;
  Write("list-complete", QByteArray::number(app_.State().Engine->Paths.size()));
}

}  // namespace orve
