#pragma once
// Compressor with a decoupled peak detector on the linked stereo level
// (|L|+|R|)/2, hard knee, make-up gain, and an exact look-ahead: the audio
// is delayed by the predelay while the detector sees it undelayed.
//
//   t  = max(0, level_dB - threshold) * (1 - 1/ratio)    wanted reduction, dB
//   y1 = max(t, aR*y1 + (1-aR)*t)                         peak hold with release
//   gr = aA*gr + (1-aA)*y1                                attack smoothing
//   y  = x[n - P] * 10^((gain - gr)/20)
// with a = 10^(-1/(T*fs)), so T is the time to cover 90 % of a step.
//
// Threshold, ratio and times act through gr and do not click. Gain ramps
// over 10 ms; a new predelay crossfades the read tap over 20 ms (one that
// arrives during a crossfade waits for it).

#include "audio/dsp/DelayLine.h"
#include "audio/dsp/DspBlock.h"
#include "audio/dsp/Ramp.h"

namespace orve::dsp {

class Compressor : public ParamBlock<CompressorParams> {
 public:
  void Prepare(int sampleRate) override;
  void Reset() override;
  void Process(float* stereo, int frames) override;
  int LatencyFrames() const override { return predelay_; }

 private:
  void Apply(const CompressorParams& p, bool snap);
  float Reduction(float left, float right);  // advances the detector, returns gr in dB
  void StartPendingFade();

  int rate_ = 0;               // Hz; 0 until Prepare
  CompressorParams applied_;   // last record taken from the mailbox
  DelayLine line_[2];          // the audio, for the look-ahead
  int predelay_ = 0;           // frames P, read tap now (new side of a fade)
  int oldPredelay_ = 0;        // frames, tap faded out
  int pendingPredelay_ = 0;    // frames, wanted once the current fade ends
  Crossfade fade_;             // weight of predelay_ against oldPredelay_
  float thresholdDb_ = 0;      // dB
  float thresholdLinear_ = 1;  // 10^(threshold/20), below it t = 0 without a log
  float slope_ = 0;            // 1 - 1/ratio
  float attackPole_ = 0;       // aA per frame
  float releasePole_ = 0;      // aR per frame
  LinearRamp gainDb_;          // make-up gain, dB
  float peak_ = 0;             // y1, dB of wanted reduction held
  float reduction_ = 0;        // gr, dB applied
};

}  // namespace orve::dsp
