#pragma once
// FFmpeg's format and codec libraries, and the hundred or so libraries a
// distribution builds them with, are opened when first called (or when
// PreloadCodecLibraries has opened them), not when the program starts:
// loading them all took half of the player's start. The rest of the
// library calls FFmpeg as usual; CodecLibraries.cpp defines the functions
// it uses and forwards each call to the opened library.

namespace orve::audio {

// Opens the libraries on a thread of its own; returns at once. A call
// into them meanwhile waits for the opening to finish.
void PreloadCodecLibraries();

}  // namespace orve::audio
