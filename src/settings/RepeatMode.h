#pragma once
// The repeat mode, numbered as tech/rpt keeps it, and the one conversion
// from the stored number.

#include <optional>

namespace orve {

enum class RepeatModes : unsigned char { Off = 0, All = 1, Track = 2 };

// tech/rpt's value as a mode; nothing for a value that names no mode (the
// reader then keeps the mode it has).
inline std::optional<RepeatModes> RepeatModeFromStored(int stored) {
  if (stored < 0 || stored > 2) return std::nullopt;
  return static_cast<RepeatModes>(stored);
}

inline int StoredRepeatMode(RepeatModes mode) { return static_cast<int>(mode); }

}  // namespace orve
