#include "engine/EffectRecords.h"

#include "settings/ConfigKeys.h"
#include "settings/IniFile.h"

namespace orve {
namespace {

namespace ck = config;

float F(int v) { return static_cast<float>(v); }

// Flanger and chorus share their keys and layout.
template <typename Record>
void FillModulation(Record& r, IniFile& ini, const char* section) {
  namespace m = ck::modulation;
  r.wetDryMix = F(ini.ReadInteger(section, m::kDryWet, m::kDryWetDefault));
  r.depth = F(ini.ReadInteger(section, m::kDepth, m::kDepthDefault));
  r.feedback = F(ini.ReadInteger(section, m::kFeedback, m::kFeedbackDefault));
  r.frequency = F(ini.ReadInteger(section, m::kFrequency, m::kFrequencyDefault));
  r.waveform = 1;  // always sine
  r.delay = static_cast<float>(ini.ReadFloat(section, m::kDelay, m::kDelayDefault) * 0.01);
  const int phase = ini.ReadInteger(section, m::kPhase, m::kPhaseDefault);
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

void EffectRecords::Fill(Effect e, IniFile& ini) {
  switch (e) {
    case Effect::Echo:
      echo.wetDryMix = F(ini.Read(ck::echo::kDryWet));
      echo.feedback = F(ini.Read(ck::echo::kFeedback));
      echo.leftDelay = F(ini.Read(ck::echo::kLeft));
      echo.rightDelay = F(ini.Read(ck::echo::kRight));
      echo.panDelay = ini.Read(ck::echo::kPan) ? -1 : 0;
      break;
    case Effect::Flanger:
      FillModulation(flanger, ini, ck::modulation::kFlangerSection);
      break;
    case Effect::Chorus:
      FillModulation(chorus, ini, ck::modulation::kChorusSection);
      break;
    case Effect::Compressor:
      compressor.gain = F(ini.Read(ck::compressor::kGain));
      compressor.attack = F(ini.Read(ck::compressor::kAttack)) * 0.01f;
      compressor.release = F(ini.Read(ck::compressor::kRelease));
      compressor.threshold = F(ini.Read(ck::compressor::kThreshold));
      compressor.ratio = F(ini.Read(ck::compressor::kRatio));
      compressor.predelay = F(ini.Read(ck::compressor::kPredelay));
      break;
    case Effect::Gargle:
      gargle.rateHz = static_cast<uint32_t>(ini.Read(ck::gargle::kRate));
      gargle.waveShape = 1;  // always square
      break;
    case Effect::Reverb3d:
      reverb3d.room = ini.Read(ck::reverb3d::kRoom) - 10000;
      reverb3d.roomHF = ini.Read(ck::reverb3d::kRoomHF) - 10000;
      reverb3d.roomRolloffFactor = F(ini.Read(ck::reverb3d::kRoomRolloff)) * 0.1f;
      reverb3d.decayTime = F(ini.Read(ck::reverb3d::kDecayTime)) * 0.01f;
      reverb3d.decayHFRatio = F(ini.Read(ck::reverb3d::kDecayHFRatio)) * 0.01f;
      reverb3d.reflections = ini.Read(ck::reverb3d::kReflections);
      reverb3d.reflectionsDelay = F(ini.Read(ck::reverb3d::kReflectionsDelay)) * 0.001f;
      reverb3d.reverb = ini.Read(ck::reverb3d::kReverb);
      reverb3d.reverbDelay = F(ini.Read(ck::reverb3d::kReverbDelay)) * 0.001f;
      reverb3d.diffusion = F(ini.Read(ck::reverb3d::kDiffusion));
      reverb3d.density = F(ini.Read(ck::reverb3d::kDensity));
      reverb3d.hfReference = F(ini.Read(ck::reverb3d::kHFReference));
      break;
    case Effect::Reverb:
      reverb.inGain = F(ini.Read(ck::reverb::kInGain) - 96);
      reverb.reverbMix = F(ini.Read(ck::reverb::kMix) - 96);
      reverb.reverbTime = F(ini.Read(ck::reverb::kTime)) * 0.001f;
      reverb.highFreqRTRatio = F(ini.Read(ck::reverb::kHighFreqRatio)) * 0.001f;
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
