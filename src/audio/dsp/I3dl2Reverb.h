#pragma once
// Environmental reverb with the I3DL2 parameter set, plus the dry signal at
// unity (on a music player's only channel the music must stay):
//
//   in -> room low-pass (RoomHF at HFReference) -> input delay lines
//   early: 9 taps per channel at ReflectionsDelay + ReverbDelay * fractions,
//          alternating signs, gain min(1, 10^((Room+Reflections)/2000)),
//          normalised by the taps' energy
//   late:  (L+R)/2 at ReflectionsDelay + ReverbDelay -> Diffuser ->
//          FeedbackNetwork, energy-normalised to min(1, 10^((Room+Reverb)/2000))
//   out = in + early + late
//
// Coefficients are recomputed every 32 frames and smoothed over about 256;
// the output gains are interpolated per frame. Moving the taps (either
// delay) crossfades them over 20 ms. RoomRolloffFactor is accepted and
// ignored.

#include "audio/dsp/DelayLine.h"
#include "audio/dsp/Diffuser.h"
#include "audio/dsp/DspBlock.h"
#include "audio/dsp/FeedbackNetwork.h"
#include "audio/dsp/Ramp.h"

namespace orve::dsp {

class I3dl2Reverb : public ParamBlock<I3dl2ReverbParams> {
 public:
  static constexpr int kEarlyTaps = 9;

  void Prepare(int sampleRate) override;
  void Reset() override;
  void Process(float* stereo, int frames) override;

 private:
  static constexpr int kLines = FeedbackNetwork::kLines;
  static constexpr int kUpdateFrames = 32;
  struct Taps {
    int early[2][kEarlyTaps] = {};  // frames, per channel
    int late = 0;                   // frames, into the late part
    bool operator==(const Taps&) const = default;
  };
  struct Coefs {
    float roomC = 0;            // room low-pass coefficient
    float earlyGain = 0;        // on the weighted early taps
    float lateGain = 0;         // on the network's outputs
    float diffusion = 0;        // all-pass coefficient
    float decay[kLines] = {};   // gain per pass of each line
    float damping[kLines] = {}; // damping coefficient of each line
  };
  void Apply(const I3dl2ReverbParams& p, bool snap);
  Taps TapsFor(const I3dl2ReverbParams& p) const;
  Coefs CoefsFor(const I3dl2ReverbParams& p) const;
  void StepCoefs();
  void StartPendingFade();
  // Early reflections per channel and the late part's input for the n frames
  // just pushed (n <= kUpdateFrames).
  void ReadTaps(const Taps& t, int n, float (*early)[kUpdateFrames], float* late) const;
  void Run(float* stereo, int n);

  int rate_ = 0;                 // Hz; 0 until Prepare
  I3dl2ReverbParams applied_;    // last record taken from the mailbox
  float room_[2] = {0, 0};       // room low-pass state per channel
  DelayLine input_[2];           // room-filtered input per channel
  Taps taps_, oldTaps_, pendingTaps_;  // now / faded out / wanted after the fade
  Crossfade fade_;               // weight of taps_ against oldTaps_
  Coefs target_;                 // from the applied record
  Coefs coefs_;                  // smoothed, used now
  float earlyGainFrom_ = 0;      // earlyGain at the start of this sub-block
  float lateGainFrom_ = 0;       // lateGain at the start of this sub-block
  int untilUpdate_ = 0;          // frames until StepCoefs
  Diffuser diffuser_;
  FeedbackNetwork network_;
};

}  // namespace orve::dsp
