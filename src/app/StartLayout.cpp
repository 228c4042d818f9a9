#include "app/StartLayout.h"

#include <algorithm>

#include "app/Docking.h"
#include "app/MainWindow.h"
#include "equalizer/EqualizerWindow.h"
#include "playlist/PlaylistWindow.h"
#include "settings/ConfigKeys.h"
#include "settings/IniFile.h"

namespace orve {
namespace {

namespace ck = config;

// Beyond any desktop, yet far from where rectangle arithmetic overflows.
constexpr int kFarthest = 1'000'000;
constexpr int kNoScreenLimit = 4096;  // without a monitor to measure by

std::optional<QPoint> StoredPosition(IniFile& config, const ck::IntKey& x, const ck::IntKey& y) {
  if (!config.ValueExists(QString::fromLatin1(x.section), QString::fromLatin1(x.key)) ||
      !config.ValueExists(QString::fromLatin1(y.section), QString::fromLatin1(y.key))) {
    return std::nullopt;
  }
  return QPoint(config.Read(x), config.Read(y));
}

std::optional<QPoint> WithinReach(const std::optional<QPoint>& stored) {
  if (!stored) return std::nullopt;
  return QPoint(std::clamp(stored->x(), -kFarthest, kFarthest), std::clamp(stored->y(), -kFarthest, kFarthest));
}

// A stored size is kept within the largest work area: a damaged one
// (60000 x 60000) would otherwise ask for a backing store of gigabytes.
QSize PlaylistSize(const QSize& stored, const QList<Monitor>& monitors) {
  int widest = PlaylistWindow::kWidth, tallest = PlaylistWindow::kMinHeight;
  for (const Monitor& m : monitors) {
    widest = std::max(widest, m.workArea.width());
    tallest = std::max(tallest, m.workArea.height());
  }
  if (monitors.isEmpty()) widest = tallest = kNoScreenLimit;
  return {std::clamp(stored.width(), PlaylistWindow::kWidth, widest),
          std::clamp(stored.height(), PlaylistWindow::kMinHeight, tallest)};
}

// The main window centred on the primary monitor's work area, raised as
// far as needed (not above the work area) for the two windows below it to fit.
QPoint FirstRunMain(const QList<Monitor>& monitors, int groupHeight) {
  if (monitors.isEmpty()) return {0, 0};
  const QRect& area = monitors.front().workArea;
  const int x = area.left() + (area.width() - MainWindow::kWidth) / 2;
  int y = area.top() + (area.height() - MainWindow::kHeight) / 2;
  const int overflow = y + groupHeight - (area.top() + area.height());
  if (overflow > 0) y = std::max(area.top(), y - overflow);
  return {x, y};
}

}  // namespace

StoredPlacement ReadStoredPlacement(IniFile& config) {
  StoredPlacement stored;
  stored.main = StoredPosition(config, ck::main::kX, ck::main::kY);
  stored.equalizer = StoredPosition(config, ck::eq::kX, ck::eq::kY);
  stored.playlist = StoredPosition(config, ck::pls::kX, ck::pls::kY);
  stored.playlistSize = QSize(config.Read(ck::pls::kWidth), config.Read(ck::pls::kHeight));
  return stored;
}

WindowLayout StartLayout(const StoredPlacement& stored, const QList<Monitor>& monitors) {
  const QSize playlistSize = PlaylistSize(stored.playlistSize, monitors);
  const int groupHeight = MainWindow::kHeight + EqualizerWindow::kHeight + playlistSize.height();
  WindowLayout layout;
  layout.main = QRect(WithinReach(stored.main).value_or(FirstRunMain(monitors, groupHeight)),
                      QSize(MainWindow::kWidth, MainWindow::kHeight));
  layout.equalizer = QRect(WithinReach(stored.equalizer).value_or(layout.main.bottomLeft() + QPoint(0, 1)),
                           QSize(EqualizerWindow::kWidth, EqualizerWindow::kHeight));
  layout.playlist =
      QRect(WithinReach(stored.playlist).value_or(layout.equalizer.bottomLeft() + QPoint(0, 1)), playlistSize);

  // Off every monitor, the main window comes back with the windows docked
  // to it, as one group; then any window still off comes back by itself.
  const SatelliteDocks docks = DetectDocks(layout.main, layout.equalizer, layout.playlist);
  const bool equalizerDocked = docks.equalizer.Docked();
  const bool playlistDocked = docks.playlist.Docked();
  QRect group = layout.main;
  if (equalizerDocked) group |= layout.equalizer;
  if (playlistDocked) group |= layout.playlist;
  const QPoint shift = OntoSomeMonitor(group, monitors) - group.topLeft();
  layout.main.translate(shift);
  if (equalizerDocked) layout.equalizer.translate(shift);
  if (playlistDocked) layout.playlist.translate(shift);
  for (QRect* window : {&layout.main, &layout.equalizer, &layout.playlist}) {
    window->moveTopLeft(OntoSomeMonitor(*window, monitors));
  }
  return layout;
}

}  // namespace orve
