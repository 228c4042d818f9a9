#include "audio/Resampler.h"

#include <algorithm>
#include <cstring>
#include <vector>

extern "C" {
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

namespace orve::audio {
namespace {

constexpr int kWarmSlack = 64;  // room for the rounding of the rate ratio

}  // namespace

std::unique_ptr<Resampler> Resampler::Create(int inRate, int outRate) {
  std::unique_ptr<Resampler> r(new Resampler(inRate, outRate));
  if (inRate == outRate) return r;
  AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
  if (swr_alloc_set_opts2(&r->swr_, &stereo, AV_SAMPLE_FMT_FLT, outRate, &stereo,
                          AV_SAMPLE_FMT_FLT, inRate, 0, nullptr) < 0 ||
      swr_init(r->swr_) < 0 || !r->Warm()) {
    return nullptr;
  }
  return r;
}

Resampler::~Resampler() { swr_free(&swr_); }

// One conversion of the largest block, in silence, grows libswresample's
// buffers to their final size. Its output is silence and is dropped; the
// input is sized so that all of it comes out (nothing silent stays queued).
bool Resampler::Warm() {
  const int in = std::clamp(static_cast<int>(int64_t{kMaxOut} * inRate_ / outRate_), 1, kMaxIn);
  std::vector<float> silence(2 * static_cast<size_t>(kMaxIn), 0.0f);
  std::vector<float> out(2 * static_cast<size_t>(kMaxOut + kWarmSlack));
  const uint8_t* src = reinterpret_cast<const uint8_t*>(silence.data());
  uint8_t* dst = reinterpret_cast<uint8_t*>(out.data());
  return swr_convert(swr_, &dst, kMaxOut + kWarmSlack, &src, in) >= 0;
}

int Resampler::Convert(const float* in, int inFrames, float* out, int outCapacity) {
  if (swr_ == nullptr) {
    std::memcpy(out, in, sizeof(float) * 2 * static_cast<size_t>(inFrames));
    return inFrames;
  }
  const uint8_t* src = reinterpret_cast<const uint8_t*>(in);
  uint8_t* dst = reinterpret_cast<uint8_t*>(out);
  // Never a null input: that would flush and end the conversion.
  const int got = swr_convert(swr_, &dst, outCapacity, &src, inFrames);
  return got < 0 ? 0 : got;
}

int64_t Resampler::DelayFrames() const {
  return swr_ == nullptr ? 0 : swr_get_delay(swr_, inRate_);
}

}  // namespace orve::audio
