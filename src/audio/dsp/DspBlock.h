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
  ParamBlock() {
    current_ = Clamped(P{});
    mailbox_.Write({current_, true});
  }

  // UI thread.
  void SetParameters(const P& p) {
    current_ = Clamped(p);
    mailbox_.Write({current_, false});
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
  bool TakeParameters(P& out) {
    bool first = false;
    return TakeParameters(out, first);
  }
  // The same, and `first` tells whether it is the first record set since the
  // block was made: that one applies at once, with no ramp from the defaults
  // (a new stream's bands would otherwise sweep in from 8 kHz, a burst at the
  // start of every entry).
  bool TakeParameters(P& out, bool& first) {
    Sent sent;
    if (!mailbox_.Read(sent)) return false;
    out = sent.params;
    first = !sent.defaults && !received_;
    if (!sent.defaults) received_ = true;
    return true;
  }

 private:
  struct Sent {
    P params{};
    bool defaults = false;  // the record the block was made with
  };
  P current_{};                 // UI thread: the last record set, clamped
  ParamMailbox<Sent> mailbox_;  // UI thread writes, audio thread reads
  bool received_ = false;       // audio thread: a record set from outside has arrived
};

// A new block of the given engine effect type, or nullptr for an unknown type.
std::unique_ptr<DspBlock> CreateEffect(int type);

}  // namespace orve::dsp
