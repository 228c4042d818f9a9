#include "playlist/EntryAdder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "engine/EntryKind.h"
#include "support/TempDir.h"

namespace orve {
namespace {

using Items = QList<EntryAdder::Item>;

constexpr int kWaitMs = 120000;  // generous: a sanitizer build on a loaded machine

const QString kFixtures = QStringLiteral(ORVE_FIXTURES_DIR "/audio/");

// Every audio fixture: the broken ones open badly but have a kind; M4A has none.
QStringList FixturePaths() {
  QStringList paths;
  for (const QString& name : QDir(kFixtures).entryList(QDir::Files, QDir::Name)) paths.append(kFixtures + name);
  return paths;
}

// `count` items cycling through the fixtures that have a kind.
Items FixtureItems(int count) {
  QStringList paths = FixturePaths();
  paths.removeIf([](const QString& path) { return EntryKindOf(path).isEmpty(); });
  Items items;
  for (int i = 0; i < count; ++i) items.append({paths[i % paths.size()], false});
  return items;
}

// Fixtures, stream items, addresses given as files, missing files and paths
// with no kind, mixed.
Items MixedItems() {
  Items items;
  int i = 0;
  for (const QString& path : FixturePaths()) {
    items.append({path, false});
    switch (i++ % 4) {
      case 0: items.append({QStringLiteral("http://127.0.0.1:9/radio%1").arg(i), true}); break;
      case 1: items.append({kFixtures + QStringLiteral("notes%1.txt").arg(i), false}); break;
      case 2: items.append({QStringLiteral("/no/such/folder/song%1.mp3").arg(i), false}); break;
      default: items.append({QStringLiteral("HTTPS://127.0.0.1:9/as-file%1").arg(i), false}); break;
    }
  }
  items.append({QStringLiteral("no-extension"), false});
  return items;
}

// What adding the items one by one on the UI thread gives.
void AddOneByOne(TCore& engine, const Items& items) {
  for (const EntryAdder::Item& item : items) {
    if (item.stream) {
      engine.AddStreamEntry(item.path, item.path);
    } else {
      engine.AddEntry(item.path);
    }
  }
}

// Busy for about a millisecond: appending a list item is not free, and this
// makes a large batch need several slices whatever the machine's speed.
void SpendAMillisecond() {
  QElapsedTimer t;
  t.start();
  while (t.nsecsElapsed() < 1000000) {
  }
}

class EntryAdderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine.Init(home.path() + "/");
    MakeAdder();
  }
  void MakeAdder() {
    adder = std::make_unique<EntryAdder>(engine, [this] {
      ++appended;
      if (onAppended) onAppended();
    });
  }
  void ExpectSameLists(const TCore& expected) const {
    EXPECT_EQ(engine.Paths, expected.Paths);
    EXPECT_EQ(engine.Titles, expected.Titles);
    EXPECT_EQ(engine.Durations, expected.Durations);
    EXPECT_EQ(engine.Kinds, expected.Kinds);
    EXPECT_EQ(engine.TotalSeconds, expected.TotalSeconds);
  }

  test::TempDir home;
  TCore engine;
  int appended = 0;
  std::function<void()> onAppended;
  std::unique_ptr<EntryAdder> adder;
};

TEST_F(EntryAdderTest, BatchesGiveTheOneByOneResultInOrder) {
  const Items mixed = MixedItems();
  ASSERT_GE(mixed.size(), 40);
  const Items first = mixed.mid(0, mixed.size() / 2);
  const Items second = mixed.mid(mixed.size() / 2);
  TCore expected;
  AddOneByOne(expected, first);
  const qsizetype firstEntries = expected.Paths.size();
  AddOneByOne(expected, second);
  ASSERT_GT(expected.Paths.size(), firstEntries);
  ASSERT_LT(expected.Paths.size(), mixed.size());  // some paths have no kind

  QList<qsizetype> finishedAt;  // entries in the lists when each batch finished
  QSignalSpy idle(adder.get(), &EntryAdder::Idle);
  QSignalSpy progress(adder.get(), &EntryAdder::Progress);
  adder->Add(first, [&] { finishedAt.append(-engine.Paths.size()); });
  adder->Add(second, [&] { finishedAt.append(engine.Paths.size()); });
  EXPECT_TRUE(adder->Busy());
  ASSERT_TRUE(QTest::qWaitFor([&] { return idle.count() == 1; }, kWaitMs));

  ExpectSameLists(expected);
  EXPECT_EQ(appended, expected.Paths.size());
  EXPECT_EQ(finishedAt, (QList<qsizetype>{-firstEntries, expected.Paths.size()}));
  EXPECT_FALSE(adder->Busy());
  ASSERT_GE(progress.count(), 1);
  const auto total = static_cast<int>(mixed.size());
  EXPECT_EQ(progress.last(), (QList<QVariant>{total, total}));
  QTest::qWait(50);
  EXPECT_EQ(finishedAt.size(), 2);  // each ran once
  EXPECT_EQ(idle.count(), 1);
}

TEST_F(EntryAdderTest, EventLoopRunsBetweenTheFirstAndTheLastAppend) {
  const Items items = FixtureItems(300);
  int ticks = 0;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
  ticker.start(0);
  int ticksAtFirst = -1;
  int ticksAtLast = -1;
  onAppended = [&] {
    if (ticksAtFirst < 0) ticksAtFirst = ticks;
    ticksAtLast = ticks;
    SpendAMillisecond();
  };
  QSignalSpy progress(adder.get(), &EntryAdder::Progress);
  bool finished = false;
  adder->Add(items, [&] { finished = true; });
  ASSERT_TRUE(QTest::qWaitFor([&] { return finished; }, kWaitMs));

  EXPECT_EQ(appended, items.size());
  EXPECT_GT(ticksAtLast, ticksAtFirst);
  int lastDone = 0;
  for (const QList<QVariant>& args : progress) {
    EXPECT_GE(args[0].toInt(), lastDone);
    EXPECT_EQ(args[1].toInt(), items.size());
    lastDone = args[0].toInt();
  }
  EXPECT_EQ(lastDone, items.size());
}

// Cancel or destroy the adder half way through a batch: once the loop below
// returns, the adder has appended at most one more slice.
TEST_F(EntryAdderTest, NothingIsAppendedAfterCancelOrDestruction) {
  for (const bool destroy : {false, true}) {
    SCOPED_TRACE(destroy ? "destroyed" : "cancelled");
    engine.ClearEntries();
    appended = 0;
    if (!adder) MakeAdder();
    QEventLoop loop;
    onAppended = [&] {
      SpendAMillisecond();
      if (appended == 5) loop.quit();
    };
    bool finished = false;
    QSignalSpy idle(adder.get(), &EntryAdder::Idle);
    adder->Add(FixtureItems(200), [&] { finished = true; });
    QTimer::singleShot(kWaitMs, &loop, &QEventLoop::quit);
    loop.exec();
    ASSERT_GE(appended, 5);
    if (destroy) {
      adder.reset();
    } else {
      adder->Cancel();
      EXPECT_FALSE(adder->Busy());
    }
    const int appendedThen = appended;
    const QStringList paths = engine.Paths;
    QTest::qWait(300);  // time for stray results to arrive, if any could
    EXPECT_EQ(appended, appendedThen);
    EXPECT_EQ(engine.Paths, paths);
    EXPECT_FALSE(finished);
    EXPECT_EQ(idle.count(), 0);
    EXPECT_LT(appendedThen, 200);
  }
}

// A file on a network mount that stopped answering holds its worker in a
// read for as long as the mount hangs; no such mount can be made here, so
// the measure waits on a gate instead. The adder's end (the program's
// exit) does not wait for it, and the worker ends safely once the read
// returns, after the adder has gone.
TEST_F(EntryAdderTest, AWorkerStuckInAReadDoesNotHoldTheEnd) {
  struct Gate {
    std::mutex mutex;
    std::condition_variable changed;
    bool entered = false, open = false, left = false;
  };
  auto gate = std::make_shared<Gate>();
  adder->SetMeasure([gate](const QString& path) {
    std::unique_lock lock(gate->mutex);
    gate->entered = true;
    gate->changed.notify_all();
    gate->changed.wait(lock, [&] { return gate->open; });
    gate->left = true;
    gate->changed.notify_all();
    return TCore::MeasureEntry(path);
  });
  const int before = EntryAdder::AbandonedWorkers();
  adder->Add(FixtureItems(1));
  {
    std::unique_lock lock(gate->mutex);
    ASSERT_TRUE(gate->changed.wait_for(lock, std::chrono::milliseconds(kWaitMs), [&] { return gate->entered; }));
  }
  adder.reset();  // returns although the measure has not
  EXPECT_EQ(appended, 0);
  EXPECT_GE(EntryAdder::AbandonedWorkers(), before + 1);
  std::unique_lock lock(gate->mutex);
  gate->open = true;
  gate->changed.notify_all();
  ASSERT_TRUE(gate->changed.wait_for(lock, std::chrono::milliseconds(kWaitMs), [&] { return gate->left; }));
}

TEST_F(EntryAdderTest, CancelFromACallbackThenAddAgain) {
  onAppended = [&] {
    if (appended == 1) adder->Cancel();
  };
  bool cancelledFinished = false;
  adder->Add(FixtureItems(100), [&] { cancelledFinished = true; });
  ASSERT_TRUE(QTest::qWaitFor([&] { return !adder->Busy(); }, kWaitMs));
  QTest::qWait(100);
  EXPECT_EQ(appended, 1);
  EXPECT_EQ(engine.Paths.size(), 1);
  EXPECT_FALSE(cancelledFinished);

  engine.ClearEntries();
  appended = 0;
  onAppended = nullptr;
  const Items items = {{kFixtures + "cbr.mp3", false}, {QStringLiteral("http://127.0.0.1:9/after"), true}};
  TCore expected;
  AddOneByOne(expected, items);
  bool finished = false;
  adder->Add(items, [&] { finished = true; });
  ASSERT_TRUE(QTest::qWaitFor([&] { return finished; }, kWaitMs));
  QTest::qWait(100);  // a result of the cancelled batch still being measured must not show up
  ExpectSameLists(expected);
  EXPECT_EQ(appended, 2);
  EXPECT_FALSE(cancelledFinished);
}

TEST_F(EntryAdderTest, EmptyBatchFinishesFromTheEventLoop) {
  QSignalSpy idle(adder.get(), &EntryAdder::Idle);
  bool finished = false;
  adder->Add({}, [&] { finished = true; });
  EXPECT_FALSE(finished);
  EXPECT_TRUE(adder->Busy());
  ASSERT_TRUE(idle.wait(kWaitMs));
  EXPECT_TRUE(finished);
  EXPECT_FALSE(adder->Busy());
  EXPECT_EQ(appended, 0);
}

TEST_F(EntryAdderTest, EntriesRemovedDuringABatchLeaveTheRestAppendedAtTheEnd) {
  const Items items = FixtureItems(60);
  TCore expected;
  AddOneByOne(expected, items);
  onAppended = [&] {
    if (appended == 3) {
      engine.RemoveEntry(0);
      engine.RemoveEntry(0);
    }
  };
  bool finished = false;
  adder->Add(items, [&] { finished = true; });
  ASSERT_TRUE(QTest::qWaitFor([&] { return finished; }, kWaitMs));
  EXPECT_EQ(engine.Paths, expected.Paths.mid(2));
  EXPECT_EQ(engine.Durations, expected.Durations.mid(2));
  EXPECT_EQ(engine.Titles, expected.Titles.mid(2));
}

TEST_F(EntryAdderTest, FinishedMayQueueTheNextBatch) {
  const Items first = FixtureItems(5);
  const Items second = {{QStringLiteral("http://127.0.0.1:9/next"), true}};
  TCore expected;
  AddOneByOne(expected, first);
  AddOneByOne(expected, second);
  QSignalSpy idle(adder.get(), &EntryAdder::Idle);
  bool secondFinished = false;
  adder->Add(first, [&] { adder->Add(second, [&] { secondFinished = true; }); });
  ASSERT_TRUE(QTest::qWaitFor([&] { return secondFinished; }, kWaitMs));
  ExpectSameLists(expected);
  ASSERT_TRUE(QTest::qWaitFor([&] { return idle.count() >= 1; }, kWaitMs));
  EXPECT_EQ(idle.count(), 1);  // the queue drained once, after both
}

}  // namespace
}  // namespace orve
