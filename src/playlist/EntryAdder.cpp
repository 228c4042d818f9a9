// Thread model
// - UI thread: owns the adder, the engine, batches_ and the counters, and
//   runs every callback and signal. Add pushes items into slots_; Drain,
//   run by pump_, pops the ready front of slots_ and appends it to the
//   engine with mutex_ released.
// - Workers (1 to 4, started with the first items, joined by the destructor):
//   each takes the next item no one has taken, measures it with mutex_
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
// - Items carry sequence numbers: slots_[i] is item front_ + i. Cancel moves
//   front_ past every queued item; a worker still measuring a cancelled item
//   sees its number below front_ and drops the result.
// Only one lock, mutex_; no callback, measurement or engine call runs under it.
#include "playlist/EntryAdder.h"

#include <algorithm>
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

EntryAdder::~EntryAdder() {
  Cancel();
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  // Each worker finishes the one file it may be measuring: milliseconds.
  for (std::thread& worker : workers_) worker.join();
}

void EntryAdder::Add(QList<Item> items, std::function<void()> finished) {
  const auto count = static_cast<int>(items.size());
  if (count > 0) {
    StartWorkers();
    {
      std::lock_guard lock(mutex_);
      for (Item& item : items) {
        Slot slot;
        slot.item = std::move(item);
        slots_.push_back(std::move(slot));
      }
    }
    wake_.notify_all();
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
  std::lock_guard lock(mutex_);
  for (const Slot& slot : slots_) paths << slot.item.path;
  return paths;
}

void EntryAdder::Cancel() {
  // What was appended stays measured.
  if (!toStore_.empty()) {
    cache_->Store(toStore_);
    toStore_.clear();
  }
  std::deque<Slot> dropped;
  {
    std::lock_guard lock(mutex_);
    dropped.swap(slots_);
    front_ = nextSeq_;
    nextTake_ = nextSeq_;
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
      workers_.emplace_back([this] { Work(); });
    } catch (const std::system_error&) {
      // Fewer workers only make the add slower; without any it cannot run.
      if (workers_.empty()) throw;
      break;
    }
  }
}

void EntryAdder::Work() {
  std::unique_ptr<MeasureCache::Reader> reader;  // this thread's, made at its first file
  bool readerTried = false;
  int handled = 0;
  std::unique_lock lock(mutex_);
  for (;;) {
    if (nextTake_ >= front_ + slots_.size() && (reader != nullptr || handled > 0)) {
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
    wake_.wait(lock, [this] { return stopping_ || nextTake_ < front_ + slots_.size(); });
    if (stopping_) break;
    const uint64_t seq = nextTake_++;
    const Item item = slots_[seq - front_].item;
    lock.unlock();
    TCore::MeasuredEntry entry;
    FileStamp stamp;
    bool fresh = false;
    if (!item.stream) {
      // Stamped before measuring: a file that changes meanwhile is measured again next time.
      stamp = StampOf(item.path);
      if (!readerTried && cache_ != nullptr) {
        readerTried = true;
        reader = cache_->NewReader();
      }
      const std::optional<MeasureCache::Measure> cached =
          reader != nullptr && stamp.size >= 0 ? reader->Find(item.path) : std::nullopt;
      if (cached && cached->stamp == stamp) {
        entry = cached->entry;
      } else {
        entry = TCore::MeasureEntry(item.path);
        fresh = stamp.size >= 0;
      }
    }
    ++handled;
    lock.lock();
    if (seq < front_) continue;  // cancelled while it was measured
    Slot& slot = slots_[seq - front_];
    slot.entry = std::move(entry);
    slot.stamp = stamp;
    slot.fresh = fresh;
    slot.ready = true;
  }
  lock.unlock();
  reader.reset();  // its connection closes in the thread that opened it
}

bool EntryAdder::TakeReady(Slot& slot) {
  std::lock_guard lock(mutex_);
  if (slots_.empty() || !slots_.front().ready) return false;
  slot = std::move(slots_.front());
  slots_.pop_front();
  ++front_;
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
    if (added && slot.fresh && cache_ != nullptr) toStore_.push_back({slot.stamp, slot.entry});
  }
  unsettled_ = unsettled_ || added;
  if (added && appended_) appended_();
}

void EntryAdder::EndSlice() {
  if (!toStore_.empty()) {
    cache_->Store(toStore_);
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
