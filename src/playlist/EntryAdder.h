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
  // Cancels pending work and joins the workers: nothing is appended after it.
  ~EntryAdder() override;

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
  void SetCache(MeasureCache* cache) { cache_ = cache; }

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

  void StartWorkers();
  void Work();
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
  MeasureCache* cache_ = nullptr;
  std::vector<MeasureCache::Measure> toStore_;  // measured since the slice's end
  std::vector<std::thread> workers_;  // started and joined by the UI thread

  // Shared with the workers, guarded by mutex_.
  mutable std::mutex mutex_;
  std::condition_variable wake_;  // an item to measure, or stopping
  std::deque<Slot> slots_;  // items not yet appended; slots_[0] has sequence number front_
  uint64_t front_ = 0;
  uint64_t nextTake_ = 0;  // the first item no worker has taken
  bool stopping_ = false;
};

}  // namespace orve
