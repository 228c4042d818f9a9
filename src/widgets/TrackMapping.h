#pragma once
// Where a track bar's pointer and thumb are, as plain arithmetic.
//
// The pointer mapping: `offset` is the design pixel under the pointer,
// counted from the minimum end of the track (pixel 0 is the first pixel at
// that end), and `extent` the track's full length in design pixels. With
// R = maximum - minimum the position is
//   minimum + offset / (extent / R)   when R < extent,
//   minimum + offset * (R / extent)   otherwise,
// rounded to the nearest integer, halves to even, then clamped to the range.
// So the pixel at the minimum end gives the minimum, the middle pixel gives
// about the middle, and the last pixel gives minimum + (extent - 1) * R /
// extent rounded: the maximum itself is reached by dragging past the end.
// An empty range (R = 0, a stream of unknown length) or track gives minimum,
// never a division by zero.

namespace orve {

int TrackPositionAt(int offset, int extent, int minimum, int maximum);

// The thumb's centre in design pixels from the minimum end: it travels
// between thumbLength / 2 and extent - thumbLength / 2, so it never leaves
// the track.
double ThumbCentreAt(int value, int extent, int thumbLength, int minimum, int maximum);

}  // namespace orve
