// What it costs to scroll a playlist of 10,000 rows: filling the list, then
// painting the playlist-sized view at every scroll position from top to
// bottom (first pass parses each row on the way, second pass reuses the
// parsed rows), then jumps to random places. Reports the mean and the worst
// frame; a frame well under 16 ms scrolls smoothly.
#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QRandomGenerator>
#include <algorithm>
#include <cstdio>

#include "widgets/MarkupListBox.h"

namespace {

constexpr int kRows = 10000;

QString Row(int i) {
  return QStringLiteral("<FONT color=\"#D6E4F5\"><B>Artist number %1 - A title of average length %2<BR>%3:%4</B></FONT>")
      .arg(i / 12)
      .arg(i)
      .arg(2 + i % 5)
      .arg(i % 60, 2, 10, QChar(u'0'));
}

struct Frames {
  double total = 0;
  double worst = 0;
  int count = 0;
  void Add(double ms) {
    total += ms;
    worst = std::max(worst, ms);
    ++count;
  }
  void Print(const char* what) const {
    std::printf("%-32s %6d frames  mean %7.3f ms  worst %7.3f ms\n", what, count, total / count, worst);
  }
};

double PaintMs(orve::MarkupListBox& list, QPixmap& target) {
  QElapsedTimer timer;
  timer.start();
  list.viewport()->render(&target);
  return timer.nsecsElapsed() / 1e6;
}

Frames ScrollThrough(orve::MarkupListBox& list, QPixmap& target) {
  Frames frames;
  const int last = kRows - list.VisibleRowCount();
  for (int top = 0; top <= last; ++top) {
    list.SetTopIndex(top);
    frames.Add(PaintMs(list, target));
  }
  return frames;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  orve::MarkupListBox list;
  list.resize(288, 148);
  list.show();

  QElapsedTimer timer;
  timer.start();
  for (int i = 0; i < kRows; ++i) list.AddItem(Row(i));
  std::printf("%-32s %10.3f ms\n", "adding 10,000 rows", timer.nsecsElapsed() / 1e6);

  QPixmap target(list.viewport()->size() * list.devicePixelRatio());
  target.setDevicePixelRatio(list.devicePixelRatio());
  ScrollThrough(list, target).Print("scroll, rows parsed on the way");
  ScrollThrough(list, target).Print("scroll, rows already parsed");

  Frames jumps;
  QRandomGenerator random(7);
  for (int i = 0; i < 2000; ++i) {
    list.SetTopIndex(random.bounded(kRows));
    jumps.Add(PaintMs(list, target));
  }
  jumps.Print("random jumps");
  return 0;
}
