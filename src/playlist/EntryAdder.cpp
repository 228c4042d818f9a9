// Thread model
// - UI thread: owns the adder, the engine, batches_ and the counters, and
//   runs every callback and signal. Add pushes items into the shared queue (pending); Drain,
//   run by pump_, pops the ready front of the queue and appends it to the
//   engine with the mutex released.
// - Workers (1 to 4, started with the first items, joined by the destructor,
//   or let go when one is still stuck in a read after kStopWaitMs; they hold
//   the queue (Shared) through a shared_ptr, so it outlives the adder):
//   each takes the next item no one has taken, measures it with the mutex
//   released (TCore::MeasureEntry touches no engine state) and stores the
//   result in the item's slot. A file whose size and time match its
//   measure in the cache (each worker reads it through a connection of its
//   own) is only looked at; the UI thread stores new measures at each
//   slice's end. They touch no Qt object, only QString values,
//   whose copies are safe across threads.
// - The UI thread polls for results (pump_, every kPollMs while busy)
//   rather than being woken by the workers, so nothing on a worker reaches
//   Qt's event machinery. Items are measured in queue order, so the front
//   is usually the next one ready.
// - Items carry sequence numbers: pending[i] is item front + i. Cancel moves
//   front past every queued item; a worker still measuring a cancelled item
//   sees its number below front and drops the result.
// Only one lock, Shared::mutex; no callback, measurement or engine call runs under it.
#include "playlist/EntryAdder.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <system_error>
#include <utility>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace orve {
namespace {

constexpr int kTurnMs = 20;      // appending per event-loop turn, then the loop runs again
constexpr int kPollMs = 10;      // how often a busy adder looks for measured items
constexpr int kProgressMs = 50;  // least time between two Progress signals
constexpr unsigned kMaxWorkers = 4;
std::atomic<int> g_abandoned{0};  // workers let go by adders that are gone
constexpr int kTrimAfter = 250;  // items a worker handled in a run worth giving memory back after

// What a long run of lookups allocated is freed when the run ends, but the
// allocator keeps the pages; an idle player gives them back.
void ReleaseFreedMemory() {
#ifdef __GLIBC__
  malloc_trim(0);
#endif
}

}  // namespace

EntryAdder::EntryAdder(TCore& engine, std::function<void()> appended, QObject* parent)
    : QObject(parent), engine_(engine), appended_(std::move(appended)) {
  pump_.setSingleShot(true);
  connect(&pump_, &QTimer::timeout, this, &EntryAdder::Drain);
}

int EntryAdder::AbandonedWorkers() { return g_abandoned.load(); }

EntryAdder::~EntryAdder() {
  Cancel();
  std::unique_lock lock(shared_->mutex);
  shared_->stopping = true;
  shared_->wake.notify_all();
  // Each worker finishes the one file it may be measuring: milliseconds,
  // unless its disk has stopped answering.
  const bool ended = shared_->stopped.wait_for(lock, std::chrono::milliseconds(kStopWaitMs),
                                               [this] { return shared_->running == 0; });
  const int left = shared_->running;
  lock.unlock();
  for (std::thread& worker : workers_) {
    if (ended) {
      worker.join();
    } else {
      worker.detach();  // it holds the shared state and ends when its read returns
    }
  }
  if (!ended) g_abandoned += left;
}

void EntryAdder::Add(QList<Item> items, std::function<void()> finished) {
  const auto count = static_cast<int>(items.size());
  if (count > 0) {
    StartWorkers();
    {
      std::lock_guard lock(shared_->mutex);
      for (Item& item : items) {
        Slot slot;
        slot.item = std::move(item);
        shared_->pending.push_back(std::move(slot));
      }
    }
    shared_->wake.notify_all();
  }
  nextSeq_ += static_cast<uint64_t>(count);
  total_ += count;
  batches_.push_back({nextSeq_, std::move(finished)});
  // Even an empty batch finishes from the event loop, never in here.
  if (!pump_.isActive()) pump_.start(0);
}

bool EntryAdder::Busy() const { return !batches_.empty(); }

QStringList EntryAdder::PendingPaths() const {
  QStringList paths;
  std::lock_guard lock(shared_->mutex);
  for (const Slot& slot : shared_->pending) paths << slot.item.path;
  return paths;
}

void EntryAdder::Cancel() {
  // What was appended stays measured.
  if (!toStore_.empty()) {
    shared_->cache->Store(toStore_);
    toStore_.clear();
  }
  std::deque<Slot> dropped;
  {
    std::lock_guard lock(shared_->mutex);
    dropped.swap(shared_->pending);
    shared_->front = nextSeq_;
    shared_->nextTake = nextSeq_;
  }
  batches_.clear();
  appendedSeq_ = nextSeq_;
  done_ = 0;
  total_ = 0;
  sinceProgress_.invalidate();
  ++generation_;
  pump_.stop();
}

void EntryAdder::StartWorkers() {
  if (!workers_.empty()) return;
  const unsigned count = std::clamp(std::thread::hardware_concurrency(), 1u, kMaxWorkers);
  for (unsigned i = 0; i < count; ++i) {
    try {
      {
        std::lock_guard lock(shared_->mutex);
        ++shared_->running;
      }
      workers_.emplace_back([shared = shared_] { Work(shared); });
    } catch (const std::system_error&) {
      {
        std::lock_guard lock(shared_->mutex);
        --shared_->running;
      }
      // Fewer workers only make the add slower; without any it cannot run.
      if (workers_.empty()) throw;
      break;
    }
  }
}

void EntryAdder::Work(const std::shared_ptr<Shared>& shared) {
  Shared& q = *shared;
  std::unique_ptr<MeasureCache::Reader> reader;  // this thread's, made at its first file
  bool readerTried = false;
  int handled = 0;
  std::unique_lock lock(q.mutex);
  for (;;) {
    if (q.nextTake >= q.front + q.pending.size() && (reader != nullptr || handled > 0)) {
      // Nothing left to take: the connection and its page cache go until
      // the next batch (in the thread that opened it).
      lock.unlock();
      reader.reset();
      readerTried = false;
      if (handled >= kTrimAfter) ReleaseFreedMemory();
      handled = 0;
      lock.lock();
      continue;
    }
    q.wake.wait(lock, [&q] { return q.stopping || q.nextTake < q.front + q.pending.size(); });
    if (q.stopping) break;
    const uint64_t seq = q.nextTake++;
    const Item item = q.pending[seq - q.front].item;
    lock.unlock();
    TCore::MeasuredEntry entry;
    FileStamp stamp;
    bool fresh = false;
    if (!item.stream) {
      // Stamped before measuring: a file that changes meanwhile is measured again next time.
      stamp = StampOf(item.path);
      if (!readerTried && q.cache != nullptr) {
        readerTried = true;
        reader = q.cache->NewReader();
      }
      const std::optional<MeasureCache::Measure> cached =
          reader != nullptr && stamp.size >= 0 ? reader->Find(item.path) : std::nullopt;
      if (cached && cached->stamp == stamp) {
        entry = cached->entry;
      } else {
        entry = q.measure(item.path);
        fresh = stamp.size >= 0;
      }
    }
    ++handled;
    lock.lock();
    if (seq < q.front) continue;  // cancelled while it was measured
    Slot& slot = q.pending[seq - q.front];
    slot.entry = std::move(entry);
    slot.stamp = stamp;
    slot.fresh = fresh;
    slot.ready = true;
  }
  lock.unlock();
  reader.reset();  // its connection closes in the thread that opened it
  lock.lock();
  --q.running;
  q.stopped.notify_all();
}

bool EntryAdder::TakeReady(Slot& slot) {
  std::lock_guard lock(shared_->mutex);
  if (shared_->pending.empty() || !shared_->pending.front().ready) return false;
  slot = std::move(shared_->pending.front());
  shared_->pending.pop_front();
  ++shared_->front;
  return true;
}

void EntryAdder::Drain() {
  if (batches_.empty()) return;
  const uint64_t generation = generation_;
  QElapsedTimer turn;
  turn.start();
  bool appended = false;
  Slot slot;
  for (;;) {
    // A batch's `finished` (often the start of an entry) gets a turn of its
    // own, so the windows draw what was appended before it runs.
    const bool batchDone = !batches_.empty() && batches_.front().end <= appendedSeq_;
    if (appended && batchDone) {
      EndSlice();
      pump_.start(0);
      return;
    }
    if (!FinishBatches(generation) || batches_.empty()) break;
    if (turn.elapsed() >= kTurnMs) {
      EndSlice();
      pump_.start(0);  // more may be ready: the next turn goes on with it
      return;
    }
    if (!TakeReady(slot)) break;
    AppendOne(slot);
    appended = true;
    if (generation_ != generation) return;
    ReportProgress(false);
    if (generation_ != generation) return;
  }
  if (generation_ != generation) return;
  EndSlice();
  if (!batches_.empty()) {
    pump_.start(kPollMs);
    return;
  }
  if (total_ > 0) ReportProgress(true);
  if (generation_ != generation) return;
  done_ = 0;
  total_ = 0;
  sinceProgress_.invalidate();
  emit Idle();
}

void EntryAdder::AppendOne(const Slot& slot) {
  ++appendedSeq_;
  ++done_;
  bool added = true;
  if (slot.item.stream) {
    engine_.AddStreamEntry(slot.item.path, slot.item.path);
  } else {
    added = engine_.AppendEntry(slot.entry);  // false for a path with no kind: skipped
    if (added && slot.fresh && shared_->cache != nullptr) toStore_.push_back({slot.stamp, slot.entry});
  }
  unsettled_ = unsettled_ || added;
  if (added && appended_) appended_();
}

void EntryAdder::EndSlice() {
  if (!toStore_.empty()) {
    shared_->cache->Store(toStore_);
    toStore_.clear();
  }
  if (!unsettled_) return;
  unsettled_ = false;
  if (sliceEnd_) sliceEnd_();
}

bool EntryAdder::FinishBatches(uint64_t generation) {
  while (!batches_.empty() && batches_.front().end <= appendedSeq_) {
    const std::function<void()> finished = std::move(batches_.front().finished);
    batches_.pop_front();
    EndSlice();
    if (finished) finished();
    if (generation_ != generation) return false;
  }
  return true;
}

void EntryAdder::ReportProgress(bool force) {
  if (!force && sinceProgress_.isValid() && sinceProgress_.elapsed() < kProgressMs) return;
  sinceProgress_.start();
  emit Progress(done_, total_);
}

}  // namespace orve
