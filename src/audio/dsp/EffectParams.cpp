#include "audio/dsp/EffectParams.h"

#include <algorithm>
#include <cmath>

namespace orve::dsp {
namespace {

float Range(float v, float lo, float hi, float fallback) {
  if (std::isnan(v)) return fallback;
  return std::clamp(v, lo, hi);
}
int32_t Range(int32_t v, int32_t lo, int32_t hi) { return std::clamp(v, lo, hi); }

template <typename P>
P ClampedSweep(const P& p) {
  const P d{};
  P r;
  r.wetDryMix = Range(p.wetDryMix, 0, 100, d.wetDryMix);
  r.depth = Range(p.depth, 0, 100, d.depth);
  r.feedback = Range(p.feedback, -99, 99, d.feedback);
  r.frequency = Range(p.frequency, 0, 10, d.frequency);
  r.waveform = Range(p.waveform, 0, 1);
  r.delay = p.delay;  // range differs per effect, set by the caller
  r.phase = Range(p.phase, 0, 4);
  return r;
}

}  // namespace

ChorusParams Clamped(const ChorusParams& p) {
  ChorusParams r = ClampedSweep(p);
  r.delay = Range(p.delay, 0, 20, ChorusParams{}.delay);
  return r;
}

FlangerParams Clamped(const FlangerParams& p) {
  FlangerParams r = ClampedSweep(p);
  r.delay = Range(p.delay, 0, 4, FlangerParams{}.delay);
  return r;
}

CompressorParams Clamped(const CompressorParams& p) {
  const CompressorParams d;
  return {Range(p.gain, -60, 60, d.gain),
          Range(p.attack, 0.01f, 500, d.attack),
          Range(p.release, 50, 3000, d.release),
          Range(p.threshold, -60, 0, d.threshold),
          Range(p.ratio, 1, 100, d.ratio),
          Range(p.predelay, 0, 4, d.predelay)};
}

EchoParams Clamped(const EchoParams& p) {
  const EchoParams d;
  return {Range(p.wetDryMix, 0, 100, d.wetDryMix),
          Range(p.feedback, 0, 100, d.feedback),
          Range(p.leftDelay, 1, 2000, d.leftDelay),
          Range(p.rightDelay, 1, 2000, d.rightDelay),
          p.panDelay != 0 ? 1 : 0};
}

GargleParams Clamped(const GargleParams& p) {
  return {std::clamp<uint32_t>(p.rateHz, 1, 1000), std::min<uint32_t>(p.waveShape, 1)};
}

I3dl2ReverbParams Clamped(const I3dl2ReverbParams& p) {
  const I3dl2ReverbParams d;
  I3dl2ReverbParams r;
  r.room = Range(p.room, -10000, 0);
  r.roomHF = Range(p.roomHF, -10000, 0);
  r.roomRolloffFactor = Range(p.roomRolloffFactor, 0, 10, d.roomRolloffFactor);
  r.decayTime = Range(p.decayTime, 0.1f, 20, d.decayTime);
  r.decayHFRatio = Range(p.decayHFRatio, 0.1f, 2, d.decayHFRatio);
  r.reflections = Range(p.reflections, -10000, 1000);
  r.reflectionsDelay = Range(p.reflectionsDelay, 0, 0.3f, d.reflectionsDelay);
  r.reverb = Range(p.reverb, -10000, 2000);
  r.reverbDelay = Range(p.reverbDelay, 0, 0.1f, d.reverbDelay);
  r.diffusion = Range(p.diffusion, 0, 100, d.diffusion);
  r.density = Range(p.density, 0, 100, d.density);
  r.hfReference = Range(p.hfReference, 20, 20000, d.hfReference);
  return r;
}

ParamEqParams Clamped(const ParamEqParams& p) {
  const ParamEqParams d;
  return {Range(p.center, 80, 16000, d.center), Range(p.bandwidth, 1, 36, d.bandwidth),
          Range(p.gain, -15, 15, d.gain)};
}

MusicReverbParams Clamped(const MusicReverbParams& p) {
  const MusicReverbParams d;
  return {Range(p.inGain, -96, 0, d.inGain), Range(p.reverbMix, -96, 0, d.reverbMix),
          Range(p.reverbTime, 0.001f, 3000, d.reverbTime),
          Range(p.highFreqRTRatio, 0.001f, 0.999f, d.highFreqRTRatio)};
}

LimiterParams Clamped(const LimiterParams& p) {
  const LimiterParams d;
  return {Range(p.ceilingDb, -20, 0, d.ceilingDb), Range(p.releaseMs, 1, 1000, d.releaseMs)};
}

}  // namespace orve::dsp
