#pragma once
// Parameter records of the equalizer band, the seven effects and the output
// limiter, in the units the engine sends them (percent, ms, dB, millibel,
// s, Hz). Field order and types follow the engine's records. Member
// initialisers are the documented defaults; Clamped() brings every field
// into its documented range (a NaN becomes the default) and is applied to
// every record a block receives.

#include <cstdint>
#include <variant>

namespace orve::dsp {

struct ChorusParams {
  float wetDryMix = 50;    // % wet, 0..100
  float depth = 10;        // % of the delay that the LFO sweeps, 0..100
  float feedback = 25;     // %, -99..99
  float frequency = 1.1f;  // Hz, LFO rate, 0..10
  int32_t waveform = 1;    // 0 triangle, 1 sine
  float delay = 16;        // ms, 0..20
  int32_t phase = 3;       // R LFO vs L: 0 -180, 1 -90, 2 0, 3 +90, 4 +180 degrees
};

struct FlangerParams {
  float wetDryMix = 50;     // % wet, 0..100
  float depth = 100;        // %, 0..100
  float feedback = -50;     // %, -99..99
  float frequency = 0.25f;  // Hz, 0..10
  int32_t waveform = 1;     // 0 triangle, 1 sine
  float delay = 2;          // ms, 0..4
  int32_t phase = 2;        // as ChorusParams::phase
};

struct CompressorParams {
  float gain = 0;        // dB after compression, -60..60
  float attack = 10;     // ms to 90 % of a step, 0.01..500
  float release = 200;   // ms, 50..3000
  float threshold = -20; // dB, -60..0
  float ratio = 3;       // n:1, 1..100
  float predelay = 4;    // ms of look-ahead, 0..4
};

struct EchoParams {
  float wetDryMix = 50;     // % wet, 0..100
  float feedback = 50;      // %, 0..100
  float leftDelay = 500;    // ms, 1..2000
  float rightDelay = 500;   // ms, 1..2000
  int32_t panDelay = 0;     // non-zero: swap L/R on each echo (clamped to 1)
};

struct GargleParams {
  uint32_t rateHz = 20;    // Hz, 1..1000
  uint32_t waveShape = 0;  // 0 triangle, 1 square
};

struct I3dl2ReverbParams {
  int32_t room = -1000;          // mB, -10000..0
  int32_t roomHF = -100;         // mB at hfReference, -10000..0
  float roomRolloffFactor = 0;   // 0..10, accepted and ignored
  float decayTime = 1.49f;       // s, 0.1..20
  float decayHFRatio = 0.83f;    // 0.1..2
  int32_t reflections = -2602;   // mB, -10000..1000
  float reflectionsDelay = 0.007f;  // s, 0..0.3
  int32_t reverb = 200;          // mB, -10000..2000
  float reverbDelay = 0.011f;    // s, 0..0.1
  float diffusion = 100;         // %, 0..100
  float density = 100;           // %, 0..100
  float hfReference = 5000;      // Hz, 20..20000
};

struct ParamEqParams {
  float center = 8000;   // Hz, 80..16000
  float bandwidth = 12;  // semitones, 1..36
  float gain = 0;        // dB, -15..15
};

struct MusicReverbParams {
  float inGain = 0;                  // dB, -96..0
  float reverbMix = 0;               // dB, -96..0 (0 = all wet)
  float reverbTime = 1000;           // ms, 0.001..3000
  float highFreqRTRatio = 0.001f;    // 0.001..0.999
};

struct LimiterParams {
  float ceilingDb = -0.1f;  // dBFS, -20..0
  float releaseMs = 50;     // ms, 1..1000
};

ChorusParams Clamped(const ChorusParams& p);
FlangerParams Clamped(const FlangerParams& p);
CompressorParams Clamped(const CompressorParams& p);
EchoParams Clamped(const EchoParams& p);
GargleParams Clamped(const GargleParams& p);
I3dl2ReverbParams Clamped(const I3dl2ReverbParams& p);
ParamEqParams Clamped(const ParamEqParams& p);
MusicReverbParams Clamped(const MusicReverbParams& p);
LimiterParams Clamped(const LimiterParams& p);

// Any one record, for code that handles blocks without knowing their type.
using EffectParams = std::variant<ChorusParams, CompressorParams, EchoParams, FlangerParams,
                                  GargleParams, I3dl2ReverbParams, ParamEqParams,
                                  MusicReverbParams, LimiterParams>;

}  // namespace orve::dsp
