#pragma once
// The sequences that start an entry and follow it, run from every window
// that plays something: they touch the playlist, the main window, the
// equalizer and the tray, so they live with the application object.

namespace orve {

class Application;

// Starts the entry selected in the playlist's list (nothing without a
// selection): the old entry stops, the new one opens with the equalizer's
// volume, rate and effects, plays, and every display follows it.
void StartEntry(Application& app);

// With cassette mode on: the entry saved at exit starts where it stood.
void CassetteResume(Application& app);

// A playing stream's title, from its metadata, into the now-playing texts
// and its playlist row (rewritten only when it changed).
void StreamTitleRefresh(Application& app);

}  // namespace orve
