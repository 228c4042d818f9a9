#pragma once
// Helpers for the audio tests: fixture paths, reference decodes by the
// ffmpeg program, WAV captures, temporary folders and waiting.

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "audio/AudioLibrary.h"

namespace orve::audio::test {

std::string Fixture(const std::string& name);

// Interleaved 16-bit PCM as `ffmpeg -i path -f s16le <args> -` gives it.
std::vector<int16_t> FfmpegDecode(const std::string& path, const std::string& args = "");

// Runs a shell command; true when it exits with 0.
bool RunCommand(const std::string& command);

// A fresh folder, removed with everything in it when the object goes.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// Stereo float frames of a WAV capture written by the wav: sink.
struct Capture {
  int rate = 0;
  std::vector<float> samples;  // interleaved stereo
  int64_t Frames() const { return static_cast<int64_t>(samples.size() / 2); }
};
Capture ReadCapture(const std::string& path);

// Frames of 16-bit interleaved PCM as float stereo (mono duplicated).
std::vector<float> ToStereoFloat(const std::vector<int16_t>& pcm, int channels);

// Removes leading and trailing silence and every run of at least `minRun`
// silent frames inside (what pauses and stops leave in a capture).
std::vector<float> WithoutSilence(const std::vector<float>& stereo, int minRun);

// Largest difference between a and b over their common frames, from
// a[aFrom] and b[bFrom].
float MaxDifference(const std::vector<float>& a, int64_t aFrom, const std::vector<float>& b,
                    int64_t bFrom, int64_t frames);

// The offset in `ref` (within [from, to]) where `piece` (`frames` frames)
// fits best, by least squared error.
int64_t BestOffset(const std::vector<float>& piece, int64_t pieceFrom, int64_t frames,
                   const std::vector<float>& ref, int64_t from, int64_t to);

// Polls `done` until it holds or `timeout` passes; false on timeout.
bool WaitFor(const std::function<bool()>& done,
             std::chrono::milliseconds timeout = std::chrono::seconds(30));

// Plays `h` until IsActive reports kStopped; false on timeout.
bool PlayToEnd(Library& lib, Handle h);

}  // namespace orve::audio::test
