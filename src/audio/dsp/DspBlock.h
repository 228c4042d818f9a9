#pragma once
// The common shape of every DSP block (equalizer band, the seven effects,
// the output limiter), so the channel's effects chain can hold them alike.
//
// Threads:
// - Prepare runs when a stream opens, before the audio thread processes the
//   block, and never concurrently with Process. It sizes all memory.
// - Process, Reset and LatencyFrames run on the audio thread (or, before the
//   block is handed to it, on the thread that owns it). Process never
//   allocates, locks or waits.
// - SetParams/GetParams (and each block's typed SetParameters/GetParameters)
//   run on the UI thread, one caller at a time. The record travels to the
//   audio thread through a lock-free mailbox read once at the start of each
//   Process call; the change is then ramped as each block describes.

#include <memory>

#include "audio/dsp/EffectParams.h"
#include "audio/dsp/ParamMailbox.h"

namespace orve::dsp {

// The effect types as the engine names them.
enum class EffectType : int {
  kChorus = 0,
  kCompressor = 1,
  kEcho = 3,
  kFlanger = 4,
  kGargle = 5,
  kI3dl2Reverb = 6,
  kParamEq = 7,
  kMusicReverb = 8,
};

class DspBlock {
 public:
  virtual ~DspBlock() = default;
  // Sizes memory for `sampleRate` (Hz), clears the state and applies the
  // latest parameters without ramps.
  virtual void Prepare(int sampleRate) = 0;
  // Clears all state (seek, switch-on); parameters jump to their targets.
  virtual void Reset() = 0;
  // `frames` interleaved stereo frames, in place. Before Prepare: no change.
  virtual void Process(float* stereo, int frames) = 0;
  // Frames by which the block delays the music (flanger 2, compressor its predelay).
  virtual int LatencyFrames() const { return 0; }
  // UI thread. False (nothing changes) when `params` holds another block's record.
  virtual bool SetParams(const EffectParams& params) = 0;
  virtual EffectParams GetParams() const = 0;
};

// A block driven by the record type P: clamps and posts records on the UI
// side, hands them over to the audio side once per Process call.
template <typename P>
class ParamBlock : public DspBlock {
 public:
  using Params = P;
  ParamBlock() { SetParameters(P{}); }

  // UI thread.
  void SetParameters(const P& p) {
    current_ = Clamped(p);
    mailbox_.Write(current_);
  }
  P GetParameters() const { return current_; }
  bool SetParams(const EffectParams& params) override {
    const P* p = std::get_if<P>(&params);
    if (p != nullptr) SetParameters(*p);
    return p != nullptr;
  }
  EffectParams GetParams() const override { return current_; }

 protected:
  // Audio thread: true and `out` filled when a record arrived.
  bool TakeParameters(P& out) { return mailbox_.Read(out); }

 private:
  P current_{};                 // UI thread: the last record set, clamped
  ParamMailbox<P> mailbox_;     // UI thread writes, audio thread reads
};

// A new block of the given engine effect type, or nullptr for an unknown type.
std::unique_ptr<DspBlock> CreateEffect(int type);

}  // namespace orve::dsp
