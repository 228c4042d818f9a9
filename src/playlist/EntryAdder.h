#pragma once
// Adds many entries to the playlist without freezing the window: files are
// measured (decoder set-up, exact length, tags) on worker threads, and the
// results are appended to the engine's lists on the UI thread, in the order
// they were queued, a short slice per event-loop turn.
//
// Threads: the object lives on the UI thread and every public member is
// called there; its callbacks and signals run there too. The workers inside
// only measure (see EntryAdder.cpp for the thread model).

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/Core.h"
#include "playlist/MeasureCache.h"

namespace orve {

class EntryAdder : public QObject {
  Q_OBJECT
 public:
  // stream: appended as AddStreamEntry(path, path), never measured.
  struct Item {
    QString path;
    bool stream = false;
  };

  // `appended` runs right after each entry reached the engine's lists (the
  // playlist window appends its list item there). Callbacks may call Add and
  // Cancel; one that must destroy the adder uses deleteLater.
  EntryAdder(TCore& engine, std::function<void()> appended, QObject* parent = nullptr);
  // Cancels pending work and joins the workers: nothing is appended after
  // it. A worker still measuring after kStopWaitMs (a file on a network
  // mount that stopped answering) is left to finish alone, so it never
  // holds up the program's exit.
  ~EntryAdder() override;
  static constexpr int kStopWaitMs = 1000;
  // Workers that were left measuring by an adder that is gone.
  static int AbandonedWorkers();

  // Queues a batch. Batches are appended strictly in the order queued, and
  // each batch's items in their order; a path with no kind is skipped
  // silently. `finished` runs after the batch's last entry was appended,
  // also for an empty batch, always from the event loop (never inside Add).
  void Add(QList<Item> items, std::function<void()> finished = {});
  // Runs after each slice of appends, before a batch's `finished` and
  // before the event loop turns (the music base saves its writes there).
  void SetSliceEnd(std::function<void()> sliceEnd) { sliceEnd_ = std::move(sliceEnd); }
  // A batch is queued and not yet finished.
  bool Busy() const;
  // The paths queued and not yet appended, in order (the playlist file
  // keeps them when the program ends before they are in).
  QStringList PendingPaths() const;
  // Drops every batch not yet appended: their `finished` does not run and
  // neither Progress nor Idle is emitted. For the program's exit.
  void Cancel();
  // Measures found in `cache` are used for files whose size and time have
  // not changed; what the workers measure is stored there. Null: none.
  // Before the first Add.
  void SetCache(MeasureCache* cache) { shared_->cache = cache; }
  // What measures a file (TCore::MeasureEntry); tests put a slow one here.
  // Before the first Add.
  using Measure = std::function<TCore::MeasuredEntry(const QString& path)>;
  void SetMeasure(Measure measure) { shared_->measure = std::move(measure); }

 signals:
  // Items handled (appended or skipped) / items queued, over all batches
  // queued since the adder was last idle. At most every ~50 ms, and once
  // when the queue drains.
  void Progress(int done, int total);
  // The queue has drained, after the last batch's `finished`.
  void Idle();

 private:
  struct Slot {
    Item item;
    TCore::MeasuredEntry entry;
    FileStamp stamp;     // the file as the worker measured it
    bool fresh = false;  // measured, not taken from the cache
    bool ready = false;
  };
  struct Batch {
    uint64_t end;  // sequence number after the batch's last item
    std::function<void()> finished;
  };

  // What the UI thread and the workers share, guarded by `mutex`. Held by
  // the workers too, so one left measuring outlives the adder safely.
  struct Shared {
    std::mutex mutex;
    std::condition_variable wake;     // an item to measure, or stopping
    std::condition_variable stopped;  // a worker has ended
    std::deque<Slot> pending;  // items not yet appended; pending[0] has sequence number front
    uint64_t front = 0;
    uint64_t nextTake = 0;  // the first item no worker has taken
    bool stopping = false;
    int running = 0;  // workers not yet ended
    MeasureCache* cache = nullptr;  // set before the first Add, then only read
    Measure measure = [](const QString& path) { return TCore::MeasureEntry(path); };
  };

  void StartWorkers();
  static void Work(const std::shared_ptr<Shared>& shared);
  bool TakeReady(Slot& slot);
  void EndSlice();
  void Drain();
  void AppendOne(const Slot& slot);
  // Runs `finished` of every batch whose items are all handled; false when
  // one of them called Cancel.
  bool FinishBatches(uint64_t generation);
  void ReportProgress(bool force);

  // UI thread only.
  TCore& engine_;
  std::function<void()> appended_;
  std::function<void()> sliceEnd_;
  bool unsettled_ = false;  // entries appended since the slice's end last ran
  std::deque<Batch> batches_;
  uint64_t nextSeq_ = 0;  // sequence number of the next item queued
  uint64_t appendedSeq_ = 0;  // items before this one are handled
  uint64_t generation_ = 0;  // bumped by Cancel, so a drain in progress stops
  int done_ = 0;
  int total_ = 0;
  QElapsedTimer sinceProgress_;
  QTimer pump_;
  std::vector<MeasureCache::Measure> toStore_;  // measured since the slice's end
  std::vector<std::thread> workers_;  // started and joined (or let go) by the UI thread

  std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
};

}  // namespace orve
