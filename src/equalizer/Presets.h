#pragma once
// The four presets of the panel's menu, as band slider positions 1..16
// (gain in dB = position - 15), and the effect switches' fixed texts.

#include <array>

#include "engine/EffectRecords.h"
#include "settings/ConfigKeys.h"

namespace orve::equalizer {

using BandPositions = std::array<int, kEqBands>;

inline constexpr BandPositions kRock{23, 22, 21, 20, 19, 18, 17, 16, 16, 17, 17, 18, 19, 19, 19, 18};
inline constexpr BandPositions kPop{16, 16, 17, 17, 17, 18, 17, 15, 14, 14, 13, 13, 13, 14, 15, 15};
inline constexpr BandPositions kTechno{18, 17, 16, 16, 16, 15, 14, 14, 15, 16, 16, 17, 18, 17, 17, 16};
inline constexpr BandPositions kDance{22, 21, 20, 19, 18, 17, 16, 15, 16, 17, 17, 17, 18, 18, 18, 19};

// One row per effect, in the order of the Effect enumeration.
struct EffectSwitchRow {
  const char* hint;    // the switch's hint
  const char* letter;  // its label in the panel's label row (UTF-8)
  config::IntKey key;  // its saved position
};

inline constexpr std::array<EffectSwitchRow, kEffectCount> kEffectSwitches{{
    {"Echo", "Э", config::eq::kEcho},
    {"Flanger", "Ф", config::eq::kFlanger},
    {"Chorus", "X", config::eq::kChorus},
    {"Compressor", "К", config::eq::kCompressor},
    {"Gargle", "Г", config::eq::kGargle},
    {"3D Reverb", "3DВ", config::eq::kReverb3d},
    {"Reverb", "В", config::eq::kReverb},
}};

}  // namespace orve::equalizer
