#pragma once
// Dynamic adding: while the last entry of the playlist plays its last 30
// seconds and "ДД" is on, one random title of the music base is appended,
// so auto-advance in "ПовВсё" can go on with it.

namespace orve {

class Application;

inline constexpr int kDynamicAddSeconds = 30;

// The main window's 400 ms step: appends at most once per last entry
// (DynamicAddBusy), and opens again once the playing entry is no longer the
// last. An entry without a known length (a station) never triggers it.
void DynamicAddStep(Application& app);

}  // namespace orve
