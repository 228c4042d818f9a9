// The five sequences stay in step under random sequences of adding,
// removing, clearing, dragging and starting: after every step the engine's
// lists, the rows, the total and the current entry match a plain model of
// what each command must do.
#include <random>

#include "PlaylistFixture.h"
#include "engine/TimeText.h"

namespace orve::test {
namespace {

struct ModelEntry {
  int id;
  QString path, title, duration, kind;
};

class PlaylistModelTest : public PlaylistFixture {
 protected:
  void ExpectInStep(int step) {
    ASSERT_TRUE(pls->Consistent()) << step;
    QStringList paths, titles, durations, kinds, items;
    int total = 0;
    const auto& scheme = app.State().Scheme;
    for (const ModelEntry& e : model) {
      paths << e.path;
      titles << e.title;
      durations << e.duration;
      kinds << e.kind;
      total += e.duration.toInt();
      items << "<FONT color=\"#" + (drawn.contains(e.id) ? scheme.CurrentColorText : scheme.ItemColorText) +
                   "\"><B>" + e.title + "<BR>" + TimeText(e.duration.toUInt()) + "</B></FONT>";
    }
    ASSERT_EQ(engine->Paths, paths) << step;
    ASSERT_EQ(engine->Titles, titles) << step;
    ASSERT_EQ(engine->Durations, durations) << step;
    ASSERT_EQ(engine->Kinds, kinds) << step;
    QStringList rows;
    for (int i = 0; i < plsUi().entryList->Count(); ++i) rows << pls->RowText(i);
    ASSERT_EQ(rows, items) << step;
    ASSERT_EQ(engine->TotalSeconds, total) << step;
    ASSERT_EQ(engine->CurrentIndex, current) << step;
  }
  int IndexOfId(int id) const {
    for (int i = 0; i < model.size(); ++i) {
      if (model[i].id == id) return i;
    }
    return -1;
  }
  void Drag(int from, int to) {
    QWidget* view = plsUi().entryList->viewport();
    QTest::mousePress(view, Qt::LeftButton, {}, plsUi().entryList->ItemRect(from).center());
    const QPoint at = plsUi().entryList->ItemRect(to).center();
    QMouseEvent move(QEvent::MouseMove, at, view->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view, &move);
    QTest::mouseRelease(view, Qt::LeftButton, {}, at);
  }

  QList<ModelEntry> model;
  QSet<int> drawn;  // ids of the rows drawn as current
  int current = -1;
  int nextId = 0;
};

TEST_F(PlaylistModelTest, RandomCommandsKeepTheSequencesInStep) {
  Start();
  pls->resize(304, 2000);  // every row on screen, so the mouse reaches it
  pls->show();
  const QStringList files{home.write("one.wav", SineWav(1, 0)), home.write("two.wav", SineWav(2, 0)),
                          home.write("three.wav", SineWav(3, 0))};
  std::mt19937 random(20261210);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  for (int step = 0; step < 300; ++step) {
    const int op = pick(10);
    const int n = static_cast<int>(model.size());
    if (op <= 2) {  // add a file
      const int f = pick(3);
      Add({files[f]});
      model.append({nextId++, files[f], QFileInfo(files[f]).completeBaseName(), QString::number(f + 1), "1"});
      if (model.size() == 1) current = 0;
    } else if (op == 3) {  // add a stream
      const QString url = QStringLiteral("http://127.0.0.1:9/%1").arg(step);
      pls->AddStream(url);
      model.append({nextId++, url, url, "0", "4"});
    } else if (op <= 5 && n > 0) {  // remove
      const int s = pick(n);
      pls->SelectIndex(s);
      pls->RemoveSelected();
      if (current > 0 && current >= s) --current;
      if (n == 1) current = -1;
      drawn.remove(model[s].id);
      model.removeAt(s);
    } else if (op == 6 && pick(8) == 0) {  // clear, now and then
      pls->ClearPlaylist();
      model.clear();
      drawn.clear();
      current = -1;
    } else if (op <= 8 && n > 1) {  // drag one step or several
      const int from = pick(n);
      int to = pick(n);
      if (to == from) to = (from + 1) % n;
      Drag(from, to);
      model.swapItemsAt(from, to);
      if (from == current) {
        current = to;
      } else if (current != -1) {
        for (int k : {current - 1, current, current + 1}) {
          if (k >= 0 && k < n && drawn.contains(model[k].id)) {
            current = k;
            break;
          }
        }
      }
    } else if (n > 0) {  // start
      const int i = pick(n);
      if (model[i].kind == "4") continue;  // streams would try to connect
      if (current != -1) drawn.remove(model[current].id);
      StartRow(i);
      current = i;
      drawn.insert(model[i].id);
    }
    ExpectInStep(step);
    if (HasFatalFailure()) return;
  }
}

}  // namespace
}  // namespace orve::test
