#pragma once
// Signals and measurements for the DSP block tests: synthetic inputs,
// block-wise processing, levels, tone amplitudes, octave-band RT60 and a
// Hann-windowed spectrum (FFmpeg's FFT).

#include <cstdint>
#include <memory>
#include <vector>

#include "audio/dsp/DspBlock.h"

namespace orve::dsp::test {

using Stereo = std::vector<float>;  // interleaved L, R
using Mono = std::vector<float>;

Stereo Sine(double hz, double amplitude, int rate, int frames);
Stereo Impulse(int frames, float left = 1, float right = 1);
Stereo Noise(int frames, float amplitude, uint32_t seed);
// Processes `audio` in place in blocks of `block` frames.
void ProcessAll(DspBlock& block, Stereo& audio, int blockFrames = 512);
Mono Channel(const Stereo& audio, int channel);

double Db(double ratio);
double RmsDb(const Mono& x, size_t from, size_t to);
double PeakAbs(const Mono& x, size_t from, size_t to);
double Energy(const Mono& x, size_t from, size_t to);
// Amplitude of the `hz` component over [from, to) (projection on sin/cos).
double ToneAmplitude(const Mono& x, double hz, int rate, size_t from, size_t to);
// Octave-band (or narrower) filtered copy: `sections` cascaded band-pass
// biquads (more sections: steeper skirts, less leakage from other bands).
Mono BandPass(const Mono& x, double centreHz, double octaves, int rate, int sections = 2);
// 4th-order Butterworth high-pass (two cascaded 2nd-order sections).
Mono HighPass(const Mono& x, double cornerHz, int rate);
Mono LowPass(const Mono& x, double cornerHz, int rate);
// Frames that hold a whole number of periods of `hz`, at least `seconds` long.
size_t WholePeriods(double hz, int rate, double seconds);
// RT60 in seconds by Schroeder backward integration, fit from -5 to -35 dB.
double Rt60(const Mono& impulseResponse, int rate);
// Magnitude spectrum in dB (Hann window over the whole input, zero-padded
// to a power of two), with the frequency of each bin.
struct Spectrum {
  std::vector<double> db;
  double binHz = 0;
};
Spectrum HannSpectrum(const Mono& x, int rate);

template <typename B>
std::unique_ptr<B> Prepared(int rate, const typename B::Params& params = {}) {
  auto block = std::make_unique<B>();
  block->SetParameters(params);
  block->Prepare(rate);
  return block;
}

}  // namespace orve::dsp::test
