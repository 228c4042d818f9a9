#pragma once
// The effects of one channel: the equalizer bands and the switched-on
// effects, run by the output callback over the channel's frames at the
// stream's own rate (interleaved stereo float), before resampling, so a
// change is heard within one device period.
//
// Thread model:
// - UI thread: Add, Remove, Find, Collect. It owns the blocks (entries_) and
//   builds an immutable snapshot of the processing order for every change,
//   published through `current_`.
// - audio thread: Process and ResetAll. It reads `current_` once per call and
//   announces the snapshot it uses in `inUse_` (a hazard pointer), re-checking
//   that it is still current before touching it.
// A replaced snapshot and the blocks that only it referenced are freed by the
// UI thread once the audio thread no longer announces it, never by the audio
// thread, which neither allocates, frees, locks nor waits here.
//
// Order: higher priority first, then order of creation.

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "audio/dsp/DspBlock.h"

namespace orve::audio {

class EffectsChain {
 public:
  static constexpr int kMaxEffects = 64;

  EffectsChain();
  ~EffectsChain();  // only when the audio thread no longer processes the chain
  EffectsChain(const EffectsChain&) = delete;
  EffectsChain& operator=(const EffectsChain&) = delete;

  // --- UI thread ---
  // Takes a prepared block under `id` (> 0, unique); false when the chain is full.
  bool Add(uint32_t id, std::unique_ptr<dsp::DspBlock> block, int priority);
  bool Remove(uint32_t id);
  dsp::DspBlock* Find(uint32_t id) const;
  int Count() const { return static_cast<int>(entries_.size()); }
  // Frees what the audio thread has let go of.
  void Collect();

  // --- audio thread ---
  void Process(float* stereo, int frames);
  void ResetAll();  // after a seek: no tail of the old place is heard

 private:
  struct Entry {
    uint32_t id;
    int priority;
    std::shared_ptr<dsp::DspBlock> block;  // shared with the snapshots that run it
  };
  struct Snapshot {
    std::array<dsp::DspBlock*, kMaxEffects> blocks{};
    int count = 0;
    std::vector<std::shared_ptr<dsp::DspBlock>> keep;  // alive while the snapshot is
  };

  void Publish();
  const Snapshot* Enter();

  std::vector<Entry> entries_;                  // UI thread only
  std::vector<std::unique_ptr<Snapshot>> retired_;  // UI thread only
  std::unique_ptr<Snapshot> published_;         // UI thread owns what current_ points to
  std::atomic<Snapshot*> current_{nullptr};     // UI writes, audio reads
  std::atomic<const Snapshot*> inUse_{nullptr}; // audio writes, UI reads
};

}  // namespace orve::audio
