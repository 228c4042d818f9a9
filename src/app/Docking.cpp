#include "app/Docking.h"

#include "app/Application.h"
#include "app/MainWindow.h"
#include "equalizer/EqualizerWindow.h"
#include "playlist/PlaylistWindow.h"
#include "widgets/TitleStrip.h"

namespace orve {
namespace {

// The right and bottom edges as the docking rules count them: left + width.
int RightOf(const QRect& r) { return r.left() + r.width(); }
int BottomOf(const QRect& r) { return r.top() + r.height(); }

// A satellite touching nothing of the main window docks to the other
// satellite when that one is docked to the main window itself.
void Chain(DockRecord& dock, const DockRecord& other, const QRect& otherWindow, const QRect& satellite) {
  if (dock.Docked() || !other.Docked() || other.chained) return;
  DockRecord onOther = DetectDock(otherWindow, satellite);
  if (!onOther.Docked()) return;
  onOther.chained = true;
  dock = onOther;
}

// Both records from the windows as they stand now.
void Record(AppState& state, const QWidget* main, const QWidget* playlist, const QWidget* equalizer) {
  const SatelliteDocks docks =
      DetectDocks(main->frameGeometry(), equalizer->frameGeometry(), playlist->frameGeometry());
  state.EqualizerDock = docks.equalizer;
  state.PlaylistDock = docks.playlist;
}

void Follow(const DockRecord& dock, const QWidget* anchor, QWidget* satellite) {
  // A hidden satellite moves all the same, to show up in its place.
  satellite->move(FollowPosition(dock, anchor->frameGeometry(), satellite->frameGeometry().size(), satellite->pos()));
}

// The satellites docked to the main window first (the equalizer, then the
// playlist), then one chained to the other, from where that one went.
void FollowMain(const AppState& state, const QWidget* main, QWidget* playlist, QWidget* equalizer) {
  if (state.EqualizerDock.Docked() && !state.EqualizerDock.chained) Follow(state.EqualizerDock, main, equalizer);
  if (state.PlaylistDock.Docked() && !state.PlaylistDock.chained) Follow(state.PlaylistDock, main, playlist);
  if (state.EqualizerDock.chained) Follow(state.EqualizerDock, playlist, equalizer);
  if (state.PlaylistDock.chained) Follow(state.PlaylistDock, equalizer, playlist);
}

}  // namespace

DockRecord DetectDock(const QRect& main, const QRect& satellite) {
  DockRecord dock;
  dock.right = RightOf(main) == satellite.left();
  dock.top = BottomOf(satellite) == main.top();
  dock.left = RightOf(satellite) == main.left();
  dock.bottom = BottomOf(main) == satellite.top();
  dock.dy = satellite.top() - main.top();
  dock.dx = satellite.left() - main.left();
  return dock;
}

SatelliteDocks DetectDocks(const QRect& main, const QRect& equalizer, const QRect& playlist) {
  SatelliteDocks docks{DetectDock(main, equalizer), DetectDock(main, playlist)};
  Chain(docks.equalizer, docks.playlist, playlist, equalizer);
  Chain(docks.playlist, docks.equalizer, equalizer, playlist);
  return docks;
}

QPoint FollowPosition(const DockRecord& dock, const QRect& main, const QSize& satelliteSize, QPoint current) {
  if (dock.right) current = {RightOf(main), main.top() + dock.dy};
  if (dock.top) current = {main.left() + dock.dx, main.top() - satelliteSize.height()};
  if (dock.left) current = {main.left() - satelliteSize.width(), main.top() + dock.dy};
  if (dock.bottom) current = {main.left() + dock.dx, BottomOf(main)};
  return current;
}

void InstallDocking(Application& app) {
  AppState& state = app.State();
  MainWindow* main = app.Windows().main;
  PlaylistWindow* playlist = app.Windows().playlist;
  EqualizerWindow* equalizer = app.Windows().equalizer;
  const auto record = [&state, main, playlist, equalizer] { Record(state, main, playlist, equalizer); };
  record();
  // A satellite taken by its strip, dragged or let go, or aligned to the
  // screen's edge and back, docks or undocks by where it stands.
  for (const TitleStrip* strip : {playlist->TitleBar(), equalizer->TitleBar()}) {
    QObject::connect(strip, &TitleStrip::Pressed, main, record);
    QObject::connect(strip, &TitleStrip::WindowMoved, main, record);
    QObject::connect(strip, &TitleStrip::Released, main, record);
  }
  QObject::connect(playlist, &PlaylistWindow::RightEdgeToggled, main, record);
  // Placed from where the main window went, in the same step: never behind it.
  QObject::connect(main->TitleBar(), &TitleStrip::WindowMoved, main,
                   [&state, main, playlist, equalizer] { FollowMain(state, main, playlist, equalizer); });
}

}  // namespace orve
