// The main window's display area: the visualisation every 30 ms (or the
// equalizer curve while a band is dragged), the idle animation every 50 ms
// while nothing plays, the time display's blink near the end of an entry
// and the now-playing text scrolled through the window title, which the
// taskbar shows.
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <QWindow>

#include "app/Display.h"
#include "app/MainWindow.h"
#include "session/AppState.h"
#include "widgets/DrawingSurface.h"
#include "widgets/SkinColours.h"
#include "widgets/TrackBar.h"

namespace orve {
namespace {

QTimer* Timer(int ms, QObject* parent) {
  auto* timer = new QTimer(parent);
  timer->setInterval(ms);
  return timer;
}

QTimer* StartedTimer(int ms, QObject* parent) {
  QTimer* timer = Timer(ms, parent);
  timer->start();
  return timer;
}

void SetRunning(QTimer* timer, bool running) {
  if (running && !timer->isActive()) timer->start();
  if (!running) timer->stop();
}

}  // namespace

void MainWindow::BuildDisplayTimers() {
  entryEndTimer_ = StartedTimer(400, this);
  visualisationTimer_ = Timer(30, this);  // these two run while the display is seen
  idleTimer_ = Timer(50, this);
  titleTimer_ = StartedTimer(200, this);
}

DisplayColours MainWindow::Colours() const {
  const ColourScheme& s = state_.Scheme;
  return {s.Colour(ColourRole::Panel), s.Colour(ColourRole::Visualisation), s.Colour(ColourRole::ButtonFace),
          s.Colour(ColourRole::SpectrumTop)};
}

// Whether the display can be seen: shown, not minimised, and its window on
// the screen (not on another desktop).
bool MainWindow::DisplayShown() const {
  const QWindow* window = windowHandle();
  return visualisationSurface_->isVisible() && !isMinimized() && window != nullptr && window->isExposed();
}

// A window on another desktop, minimised or unmapped is told by an expose
// event on its native window; showing and hiding the widget by its own events.
// While music plays the visualisation owns the surface: the idle animation
// rests (it starts again from its first tick) and wakes nobody.
void MainWindow::FollowDisplayVisibility(bool hiding) {
  const bool shown = !hiding && DisplayShown();
  const bool playing = state_.Engine->PlayState == kPlaying;
  if (playing) state_.LogoTick = 0;
  SetRunning(visualisationTimer_, shown);
  SetRunning(idleTimer_, shown && !playing);
}

void MainWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (QWindow* window = windowHandle(); window != nullptr && !watchingWindow_) {
    window->installEventFilter(this);
    watchingWindow_ = true;
  }
  FollowDisplayVisibility();
}

void MainWindow::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  FollowDisplayVisibility(true);  // still counted visible while its hide event is sent
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Expose && watched == windowHandle()) FollowDisplayVisibility();
  return QWidget::eventFilter(watched, event);
}

void MainWindow::DrawVisualisation() {
  // Nothing on screen to draw for: no work at all.
  if (!DisplayShown()) return;
  const TCore& engine = *state_.Engine;
  if (state_.EqDragging) {
    std::array<int, kEqBands> positions{};
    for (int k = 1; k <= kEqBands; ++k) positions[static_cast<size_t>(k - 1)] = engine.BandPosition(k);
    QPainter painter(&visualisationSurface_->Canvas());
    DrawEqualizerCurve(painter, positions, Colours());
  } else {
    // Paused, stopped or without data: the surface keeps what it shows.
    const audio::Library* lib = engine.Library();
    if (engine.PlayState != kPlaying || lib == nullptr) return;
    const audio::Handle h = engine.Handle();
    const int mode = state_.VisMode;
    constexpr int kWaveBytes = 2 * kSurfaceWidth * static_cast<int>(sizeof(int16_t));
    const bool data = mode == 0   ? lib->GetFft(h, magnitudes_.data(), 1024) >= kSurfaceWidth
                      : mode == 1 ? lib->GetFft(h, magnitudes_.data(), 512) >= 144
                      : mode < kVisModes && lib->GetWave(h, wave_.data()) >= kWaveBytes;
    if (!data) return;
    QPainter painter(&visualisationSurface_->Canvas());
    if (mode == 0) {
      DrawSpectrumLines(painter, magnitudes_.data(), Colours());
    } else if (mode == 1) {
      DrawSpectrumBars(painter, magnitudes_.data(), Colours());
    } else {
      DrawWave(painter, mode, wave_.data(), Colours());
    }
  }
  visualisationSurface_->update();
}

void MainWindow::AnimateIdle() {
  if (state_.Engine->PlayState == kPlaying || !DisplayShown()) return;
  QPainter painter(&visualisationSurface_->Canvas());
  IdleAnimationTick(painter, state_.LogoTick, QTime::currentTime(), Colours());
  visualisationSurface_->update();
}

void MainWindow::BlinkNearTheEnd() {
  ColourRole colour = ColourRole::Highlight;
  if (TimeDisplayBlinks(state_.Engine->PlayState == kPlaying, seekBar_->maximum() - seekBar_->value(),
                        timeLabel_->text() == QLatin1String(kTimeAtRest))) {
    colour = state_.BlinkPhase ? ColourRole::LabelText : ColourRole::Highlight;
    state_.BlinkPhase = !state_.BlinkPhase;
  }
  SetTextColour(timeLabel_, state_.Scheme.Colour(colour));
}

void MainWindow::ScrollWindowTitle() {
  setWindowTitle(ScrollTitle(state_.NowArtist + QStringLiteral(" - ") + state_.NowTitle, state_.TitleScrollPos));
}

void MainWindow::CycleVisMode() { state_.VisMode = static_cast<quint8>((state_.VisMode + 1) % kVisModes); }

}  // namespace orve
