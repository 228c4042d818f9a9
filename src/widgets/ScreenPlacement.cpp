#include "widgets/ScreenPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cstdlib>

namespace orve {
namespace {

// How much of a window must show on a monitor for it to be reachable: a
// piece of its title strip to take it by.
constexpr int kReachableWidth = 32;
constexpr int kReachableHeight = 16;

long long OverlapArea(const QRect& a, const QRect& b) {
  const QRect both = a.intersected(b);
  return both.isEmpty() ? 0 : static_cast<long long>(both.width()) * both.height();
}

// The gap between two rectangles along one axis (0 when they overlap on it).
int Gap(int aStart, int aEnd, int bStart, int bEnd) { return std::max({0, bStart - aEnd, aStart - bEnd}); }

long long DistanceSquared(const QRect& a, const QRect& b) {
  const long long dx = Gap(a.left(), a.right(), b.left(), b.right());
  const long long dy = Gap(a.top(), a.bottom(), b.top(), b.bottom());
  return dx * dx + dy * dy;
}

// `start` moved so that [start, start + length) lies inside [low, high];
// a window longer than the range keeps its start at `low`.
int Inside(int start, int length, int low, int high) { return std::max(low, std::min(start, high + 1 - length)); }

}  // namespace

QList<Monitor> Monitors() {
  QList<Monitor> monitors;
  const QScreen* primary = QGuiApplication::primaryScreen();
  if (primary != nullptr) monitors.append({primary->geometry(), primary->availableGeometry()});
  for (const QScreen* screen : QGuiApplication::screens()) {
    if (screen != primary) monitors.append({screen->geometry(), screen->availableGeometry()});
  }
  return monitors;
}

QRect PrimaryWorkArea() {
  const QScreen* primary = QGuiApplication::primaryScreen();
  return primary == nullptr ? QRect() : primary->availableGeometry();
}

QPoint CentredOnPrimary(const QSize& size) {
  return PrimaryWorkArea().center() - QRect(QPoint(0, 0), size).center();
}

int MonitorOf(const QRect& window, const QList<Monitor>& monitors) {
  int best = -1;
  long long bestOverlap = 0;
  for (int i = 0; i < monitors.size(); ++i) {
    const long long overlap = OverlapArea(window, monitors[i].geometry);
    if (overlap > bestOverlap) {
      best = i;
      bestOverlap = overlap;
    }
  }
  if (best >= 0) return best;
  long long nearest = 0;
  for (int i = 0; i < monitors.size(); ++i) {
    const long long d = DistanceSquared(window, monitors[i].geometry);
    if (best < 0 || d < nearest) {
      best = i;
      nearest = d;
    }
  }
  return best;
}

QPoint SnapToEdges(const QRect& window, const QRect& workArea) {
  QPoint p = window.topLeft();
  const int rightEdge = window.left() + window.width();
  const int bottomEdge = window.top() + window.height();
  const int areaRight = workArea.left() + workArea.width();
  const int areaBottom = workArea.top() + workArea.height();
  if (std::abs(window.left() - workArea.left()) <= kSnapDistance) {
    p.setX(workArea.left());
  } else if (std::abs(rightEdge - areaRight) <= kSnapDistance) {
    p.setX(areaRight - window.width());
  }
  if (std::abs(window.top() - workArea.top()) <= kSnapDistance) {
    p.setY(workArea.top());
  } else if (std::abs(bottomEdge - areaBottom) <= kSnapDistance) {
    p.setY(areaBottom - window.height());
  }
  return p;
}

QPoint KeptOnScreen(const QRect& window, bool keepWhole, const QList<Monitor>& monitors) {
  const int i = MonitorOf(window, monitors);
  if (i < 0) return window.topLeft();
  const Monitor& m = monitors[i];
  QPoint p = window.topLeft();
  if (keepWhole) {
    const QRect& area = m.workArea;
    if (p.y() + window.height() > area.top() + area.height()) p.setY(area.top() + area.height() - window.height());
    if (p.x() + window.width() > area.left() + area.width()) p.setX(area.left() + area.width() - window.width());
  }
  // The title strip is never out of reach above or left of the monitor;
  // a corner on another monitor (side by side with this one) is in reach.
  const bool cornerShown = std::any_of(monitors.begin(), monitors.end(),
                                       [&p](const Monitor& other) { return other.geometry.contains(p); });
  if (!cornerShown) {
    p.setY(std::max(p.y(), m.geometry.top()));
    p.setX(std::max(p.x(), m.geometry.left()));
  }
  return p;
}

QPoint PlaceDragged(const QRect& proposed, bool keepWhole, const QList<Monitor>& monitors) {
  const int i = MonitorOf(proposed, monitors);
  if (i < 0) return proposed.topLeft();
  const QRect snapped(SnapToEdges(proposed, monitors[i].workArea), proposed.size());
  return KeptOnScreen(snapped, keepWhole, monitors);
}

QPoint OntoSomeMonitor(const QRect& window, const QList<Monitor>& monitors) {
  for (const Monitor& m : monitors) {
    const QRect shown = window.intersected(m.geometry);
    if (shown.width() >= std::min(kReachableWidth, window.width()) &&
        shown.height() >= std::min(kReachableHeight, window.height())) {
      return window.topLeft();
    }
  }
  const int i = MonitorOf(window, monitors);
  if (i < 0) return window.topLeft();
  const QRect& area = monitors[i].workArea;
  return {Inside(window.left(), window.width(), area.left(), area.right()),
          Inside(window.top(), window.height(), area.top(), area.bottom())};
}

QPoint PlaceDragged(const QRect& proposed, bool keepWhole) { return PlaceDragged(proposed, keepWhole, Monitors()); }

QPoint KeptOnScreen(const QRect& window, bool keepWhole) { return KeptOnScreen(window, keepWhole, Monitors()); }

}  // namespace orve
