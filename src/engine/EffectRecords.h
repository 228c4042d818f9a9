#pragma once
// The equalizer's band table and the seven switchable effects with their
// parameter records, filled from their config.ini sections.

#include <QString>
#include <array>

#include "audio/dsp/DspBlock.h"
#include "audio/dsp/EffectParams.h"

namespace orve {

class StoredValues;

struct EqBand {
  float centre;     // Hz
  const char* hint; // the band slider's hint
};

inline constexpr int kEqBands = 16;
inline constexpr float kEqBandwidth = 5.0f;  // semitones
inline constexpr int kEqZeroPosition = 15;   // slider position of 0 dB; gain = position - 15

inline constexpr std::array<EqBand, kEqBands> EqBandTable{{
    {100, "100 Hz"},    {170, "170 Hz"},    {310, "310 Hz"},    {600, "600 Hz"},
    {1000, "1 KHz"},    {2000, "2 KHz"},    {3000, "3 KHz"},    {4000, "4 KHz"},
    {6000, "6 KHz"},    {8000, "8 KHz"},    {10000, "10 KHz"},  {12000, "12 KHz"},
    {13000, "13 KHz"},  {14000, "14 KHz"},  {15000, "15 KHz"},  {16000, "16 KHz"},
}};

// The seven effects in their fixed order.
enum class Effect : int { Echo, Flanger, Chorus, Compressor, Gargle, Reverb3d, Reverb };
inline constexpr int kEffectCount = 7;

dsp::EffectType LibraryTypeOf(Effect e);

// The records hold the values last sent to each effect, for the whole run.
// They start at zero: a rule such as "an invalid phase keeps the last one"
// then keeps 0 before any valid value was read.
struct EffectRecords {
  dsp::EchoParams echo{0, 0, 0, 0, 0};
  dsp::FlangerParams flanger{0, 0, 0, 0, 0, 0, 0};
  dsp::ChorusParams chorus{0, 0, 0, 0, 0, 0, 0};
  dsp::CompressorParams compressor{0, 0, 0, 0, 0, 0};
  dsp::GargleParams gargle{0, 0};
  dsp::I3dl2ReverbParams reverb3d{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  dsp::MusicReverbParams reverb{0, 0, 0, 0};

  // Fills the record of `e` from its section's values (config.ini, or the
  // settings window's controls), with every factor and rule of the keys.
  void Fill(Effect e, StoredValues& values);
  // The record of `e` as the library takes it.
  dsp::EffectParams Of(Effect e) const;
};

}  // namespace orve
