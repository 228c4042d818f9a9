#pragma once
// The 16 equalizer bands the benchmarks run against sox: the player's own
// centres, 5 semitones wide, at gains that make every band work.
#include <array>
#include <string>
#include <vector>

namespace orve::bench {

inline constexpr std::array<float, 16> kEqCentres = {100,  170,  310,   600,   1000,  2000,  3000,  4000,
                                                     6000, 8000, 10000, 12000, 13000, 14000, 15000, 16000};
inline constexpr std::array<float, 16> kEqGains = {6, -4, 3, -2, 5, -6, 2, -3, 4, -5, 3, -2, 6, -4, 2, 3};
inline constexpr float kEqWidthSemitones = 5;

// The same bands as sox effects: 5 semitones = 5/12 octave between the
// half-gain points.
inline std::vector<std::string> SoxEqualizerArgs() {
  std::vector<std::string> args;
  for (size_t k = 0; k < kEqCentres.size(); ++k) {
    args.insert(args.end(), {"equalizer", std::to_string(kEqCentres[k]), "0.416667o", std::to_string(kEqGains[k])});
  }
  return args;
}

}  // namespace orve::bench
