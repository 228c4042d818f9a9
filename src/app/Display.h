#pragma once
// What the main window's display area draws, as plain functions over a
// painter (in design pixels) so that each picture can be checked on an
// image: the five visualisation modes, the equalizer curve, the idle
// animation, and the now-playing text scrolled through the title.

#include <QColor>
#include <QString>
#include <QTime>
#include <array>
#include <cstdint>

class QPainter;

namespace orve {

// The drawing surface, in design pixels.
inline constexpr int kSurfaceWidth = 216;
inline constexpr int kSurfaceHeight = 53;
inline constexpr int kVisModes = 5;
inline constexpr int kIdleCycle = 700;  // ticks of the idle animation
// The address the idle animation writes (19 characters).
inline constexpr char kIdleAddress[] = "orve-player.example";

struct DisplayColours {
  QColor background;  // scheme slot 0
  QColor line;        // 10: lines, waves, middle bars, the idle animation
  QColor low;         // 6: low bars
  QColor high;        // 8: high bars
};

// Modes 0 and 1: a bar's height for a magnitude, |m| * 500 truncated,
// at most the surface's height.
int BarHeight(float magnitude);
// Modes 0 and 1: the colour of a bar of height h.
QColor BarColour(int h, const DisplayColours& colours);
// Modes 2 to 4: the height of a frame, (left + right) / 131070 * 50
// truncated, plus 25 (25 is silence).
int WaveHeight(int16_t left, int16_t right);

void ClearSurface(QPainter& painter, const DisplayColours& colours);
// Mode 0: 216 lines from the first 216 of 512 magnitudes.
void DrawSpectrumLines(QPainter& painter, const float* magnitudes, const DisplayColours& colours);
// Mode 1: 72 bars from every second one of the first 144 of 256 magnitudes.
void DrawSpectrumBars(QPainter& painter, const float* magnitudes, const DisplayColours& colours);
// Modes 2 (line), 3 (curtain) and 4 (dots) from 512 stereo frames.
void DrawWave(QPainter& painter, int mode, const int16_t* frames, const DisplayColours& colours);
// The equalizer curve through the sixteen band positions (0..30, 15 flat).
void DrawEqualizerCurve(QPainter& painter, const std::array<int, 16>& positions, const DisplayColours& colours);

// One 50 ms tick of the idle animation with `tick` as its counter
// (LogoTick): the pulse line, the letters and the address, then the
// greeting by the hour and the clock; the cycle is 700 ticks. Draws over
// what the earlier ticks drew.
void IdleAnimationTick(QPainter& painter, int& tick, const QTime& now, const DisplayColours& colours);
// The greeting of the hour 0..23.
QString Greeting(int hour);
// A time in the system's long format, without the time zone.
QString LongTimeText(const QTime& time);

// Whether the time display blinks: while playing, in the last ten seconds
// by the seek bar, unless it rests at "0:00/0:00".
bool TimeDisplayBlinks(bool playing, int secondsLeft, bool atRest);

// One 200 ms tick of the title: `text` grows from the left, then shrinks
// from the left, then is empty for a tick; `position` is TitleScrollPos.
QString ScrollTitle(const QString& text, int& position);

}  // namespace orve
