#pragma once
// A stream being played: its decoder thread, its ring, and what the output
// callback does with it. What it plays is a Source: a file's decoder or a
// network stream (which connects, and reconnects, on the decoder thread).
//
// Thread model (three threads touch a channel):
// - UI thread: creates and destroys it, and calls the public operations
//   below the "UI thread" mark. Before the first Play it also owns the
//   decoder; afterwards it only sends requests through atomics.
// - decoder thread (one per channel, started by the first Play): owns the
//   source, fills the ring, carries out seeks. A live source may keep it in
//   a network call; Interrupt makes that call return within ~100 ms.
// - audio thread (the sink's callback, through the Mixer): reads the ring,
//   runs the effects, resamples, applies the volume, records the history.
//   It never waits, locks, allocates or logs. A live channel that ran dry
//   waits, silent, until half its ring is full again (buffering_), so a
//   stream that arrives at its own pace does not stutter.
// A seek is a hand-over in three steps, each published with a release store:
// the UI thread asks (seekGen_), the decoder thread seeks and stops writing
// (decoderGen_), the audio thread empties the ring and restarts its counts
// (audioGen_); then the decoder thread writes again. The audio thread plays
// nothing of the channel while a seek is under way.
// Resamplers (a new one per frequency change) go to the audio thread through
// a one-slot mailbox (pendingResampler_) and come back through another
// (retiredResampler_), to be freed on the UI thread.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "audio/AudioLibrary.h"
#include "audio/Source.h"
#include "audio/EffectsChain.h"
#include "audio/PlayHistory.h"
#include "audio/Resampler.h"
#include "audio/Ring.h"

namespace orve::audio {

class Channel {
 public:
  static constexpr int kMinBufferMs = 200;
  static constexpr int kMaxBlock = 4096;  // device frames per Render call, at most

  // Nullptr when no resampler can be made for the rates.
  static std::unique_ptr<Channel> Create(std::unique_ptr<Source> source, int deviceRate,
                                         int bufferMs);
  ~Channel();  // stops the decoder thread
  Channel(const Channel&) = delete;
  Channel& operator=(const Channel&) = delete;

  // --- UI thread ---
  int Rate() const { return rate_; }
  int Channels() const { return channels_; }
  bool Live() const { return live_; }
  void Play();
  void Pause();
  void Stop();
  // Ends the decoder thread's work at once (before the channel is retired):
  // a live source stops connecting and its network calls return.
  void Interrupt();
  // `heard` is the device frame being heard now.
  ActiveState State(uint64_t heard) const;
  int64_t Position(uint64_t heard) const;  // stream frames
  int64_t Length() const;
  void Seek(int64_t frame);
  void SetVolume(int volume) { volume_.store(volume, std::memory_order_relaxed); }
  int Volume() const { return volume_.load(std::memory_order_relaxed); }
  bool SetFrequency(int hz);  // 0 = the stream's own rate
  int Frequency() const { return frequency_; }
  const PlayHistory& History() const { return history_; }
  // Frees resamplers the audio thread has let go of.
  void CollectRetired() const;
  // The equalizer bands and effects; changed here, run by the audio thread.
  EffectsChain& Effects() { return effects_; }

  // --- audio thread ---
  // Adds up to `frames` frames (at most kMaxBlock) of this channel into `mix`.
  void Render(float* mix, int frames, uint64_t deviceStart);

 private:
  Channel(std::unique_ptr<Source> source, int deviceRate, int bufferMs);
  bool Finished(uint64_t heard) const;

  // UI thread: the decoder thread has something to do now.
  void Wake();

  // decoder thread
  void DecodeLoop();
  // Sleeps up to `most`, or until Wake.
  void Idle(std::chrono::milliseconds most);
  bool CarryOutSeek();
  // False when nothing was written and the source has not ended.
  bool FillRing(std::vector<float>& decoded, std::vector<float>& stereo);

  // audio thread
  void TakePendingResampler();
  bool FollowSeek();
  bool Buffered();
  int Pull(int frames);
  void MixWithVolume(float* mix, int frames);
  void NoteEnd(uint64_t deviceEnd);

  const int rate_;
  const int channels_;
  const int deviceRate_;
  const bool live_;
  const int prebufferFrames_;  // live channels: ring frames wanted before sound resumes

  std::unique_ptr<Source> source_;  // UI thread before the first Play, then decoder thread
  StereoRing ring_;                   // decoder thread writes, audio thread reads
  std::thread thread_;                // UI thread
  std::atomic<bool> quit_{false};     // UI thread writes
  std::mutex wakeMutex_;              // decoder thread sleeps on wake_, UI thread wakes it
  std::condition_variable wake_;
  bool woken_ = false;                // under wakeMutex_

  std::atomic<ActiveState> state_{ActiveState::kStopped};  // UI thread writes
  std::atomic<int> volume_{100};                           // UI thread writes
  int frequency_ = 0;                                      // UI thread only
  std::atomic<int64_t> length_;   // decoder thread, as the decoder learns it
  std::atomic<bool> ended_{false};  // decoder thread: everything decoded is in the ring

  std::atomic<int64_t> seekTarget_{0};    // UI thread writes
  std::atomic<uint32_t> seekGen_{0};      // UI thread writes
  std::atomic<uint32_t> decoderGen_{0};   // decoder thread writes
  std::atomic<int64_t> decoderStart_{0};  // decoder thread: first frame after its seek
  std::atomic<uint32_t> audioGen_{0};     // audio thread writes

  std::atomic<Resampler*> pendingResampler_{nullptr};          // UI puts, audio takes
  mutable std::atomic<Resampler*> retiredResampler_{nullptr};  // audio puts, UI takes

  // audio thread only (and the UI thread before the channel is mixed)
  Resampler* resampler_ = nullptr;  // owned; freed through the retired slot or at destruction
  EffectsChain effects_;  // UI thread changes it, audio thread runs it (see EffectsChain.h)
  std::vector<float> native_;     // frames taken from the ring
  std::vector<float> converted_;  // the same at the device rate
  int64_t consumed_ = 0;          // stream frame after the last one taken from the ring
  int64_t streamAtBlockEnd_ = 0;  // stream frame heard at the end of the last block
  float gain_ = -1.0f;            // volume applied at the end of the last block; <0 none yet
  PlayHistory history_;           // audio thread writes, UI thread reads
  std::atomic<int64_t> finishedAt_{-1};  // audio thread: device frame where the stream ended
  std::atomic<bool> starved_{true};  // audio thread: the last block found the ring short
  bool buffering_ = true;            // audio thread only: a live channel waits to fill
};

}  // namespace orve::audio
