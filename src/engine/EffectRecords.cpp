#include "engine/EffectRecords.h"

#include "settings/ConfigKeys.h"
#include "settings/StoredValues.h"

namespace orve {
namespace {

namespace ck = config;

float F(int v) { return static_cast<float>(v); }

// Flanger and chorus share their key names and layout.
template <typename Record>
void FillModulation(Record& r, StoredValues& values, const ck::ModulationKeys& k) {
  r.wetDryMix = F(values.Read(k.dryWet));
  r.depth = F(values.Read(k.depth));
  r.feedback = F(values.Read(k.feedback));
  r.frequency = static_cast<float>(values.Read(k.frequency));
  r.waveform = 1;  // always sine
  r.delay = static_cast<float>(values.Read(k.delay) * 0.01);
  const int phase = values.Read(k.phase);
  if (phase >= 0 && phase <= 4) r.phase = phase;  // otherwise the last phase passed stays
}

}  // namespace

dsp::EffectType LibraryTypeOf(Effect e) {
  switch (e) {
    case Effect::Echo: return dsp::EffectType::kEcho;
    case Effect::Flanger: return dsp::EffectType::kFlanger;
    case Effect::Chorus: return dsp::EffectType::kChorus;
    case Effect::Compressor: return dsp::EffectType::kCompressor;
    case Effect::Gargle: return dsp::EffectType::kGargle;
    case Effect::Reverb3d: return dsp::EffectType::kI3dl2Reverb;
    case Effect::Reverb: return dsp::EffectType::kMusicReverb;
  }
  return dsp::EffectType::kEcho;
}

void EffectRecords::Fill(Effect e, StoredValues& values) {
  switch (e) {
    case Effect::Echo:
      echo.wetDryMix = F(values.Read(ck::echo::kDryWet));
      echo.feedback = F(values.Read(ck::echo::kFeedback));
      echo.leftDelay = F(values.Read(ck::echo::kLeft));
      echo.rightDelay = F(values.Read(ck::echo::kRight));
      echo.panDelay = values.Read(ck::echo::kPan) ? -1 : 0;
      break;
    case Effect::Flanger:
      FillModulation(flanger, values, ck::kFlanger);
      break;
    case Effect::Chorus:
      FillModulation(chorus, values, ck::kChorus);
      break;
    case Effect::Compressor:
      compressor.gain = F(values.Read(ck::compressor::kGain));
      compressor.attack = F(values.Read(ck::compressor::kAttack)) * 0.01f;
      compressor.release = F(values.Read(ck::compressor::kRelease));
      compressor.threshold = F(values.Read(ck::compressor::kThreshold));
      compressor.ratio = F(values.Read(ck::compressor::kRatio));
      compressor.predelay = F(values.Read(ck::compressor::kPredelay));
      break;
    case Effect::Gargle:
      gargle.rateHz = static_cast<uint32_t>(values.Read(ck::gargle::kRate));
      gargle.waveShape = 1;  // always square
      break;
    case Effect::Reverb3d:
      reverb3d.room = values.Read(ck::reverb3d::kRoom) - 10000;
      reverb3d.roomHF = values.Read(ck::reverb3d::kRoomHF) - 10000;
      reverb3d.roomRolloffFactor = F(values.Read(ck::reverb3d::kRoomRolloff)) * 0.1f;
      reverb3d.decayTime = F(values.Read(ck::reverb3d::kDecayTime)) * 0.01f;
      reverb3d.decayHFRatio = F(values.Read(ck::reverb3d::kDecayHFRatio)) * 0.01f;
      reverb3d.reflections = values.Read(ck::reverb3d::kReflections);
      reverb3d.reflectionsDelay = F(values.Read(ck::reverb3d::kReflectionsDelay)) * 0.001f;
      reverb3d.reverb = values.Read(ck::reverb3d::kReverb);
      reverb3d.reverbDelay = F(values.Read(ck::reverb3d::kReverbDelay)) * 0.001f;
      reverb3d.diffusion = F(values.Read(ck::reverb3d::kDiffusion));
      reverb3d.density = F(values.Read(ck::reverb3d::kDensity));
      reverb3d.hfReference = F(values.Read(ck::reverb3d::kHFReference));
      break;
    case Effect::Reverb:
      reverb.inGain = F(values.Read(ck::reverb::kInGain) - 96);
      reverb.reverbMix = F(values.Read(ck::reverb::kMix) - 96);
      reverb.reverbTime = F(values.Read(ck::reverb::kTime)) * 0.001f;
      reverb.highFreqRTRatio = F(values.Read(ck::reverb::kHighFreqRatio)) * 0.001f;
      break;
  }
}

dsp::EffectParams EffectRecords::Of(Effect e) const {
  switch (e) {
    case Effect::Echo: return echo;
    case Effect::Flanger: return flanger;
    case Effect::Chorus: return chorus;
    case Effect::Compressor: return compressor;
    case Effect::Gargle: return gargle;
    case Effect::Reverb3d: return reverb3d;
    case Effect::Reverb: return reverb;
  }
  return echo;
}

}  // namespace orve
