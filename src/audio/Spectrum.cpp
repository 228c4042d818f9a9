#include "audio/Spectrum.h"

#include <cmath>
#include <numbers>

extern "C" {
#include <libavutil/mem.h>
#include <libavutil/tx.h>
}

namespace orve::audio {

void Spectrum::AvFree::operator()(float* p) const { av_free(p); }

Spectrum::~Spectrum() {
  av_tx_uninit(&small_.context);
  av_tx_uninit(&large_.context);
}

Spectrum::Transform* Spectrum::Get(int size) {
  Transform* t = size == 512 ? &small_ : size == 1024 ? &large_ : nullptr;
  if (t == nullptr || t->context != nullptr) return t;
  const float scale = 1.0f;
  av_tx_fn fn = nullptr;
  if (av_tx_init(&t->context, &fn, AV_TX_FLOAT_RDFT, 0, size, &scale, 0) < 0) return nullptr;
  t->run = fn;
  t->window.resize(static_cast<size_t>(size));
  for (int i = 0; i < size; ++i) {
    t->window[static_cast<size_t>(i)] =
        static_cast<float>(0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * i / size));
  }
  return t;
}

int Spectrum::Compute(const float* stereo, int size, float* out) {
  Transform* t = Get(size);
  if (t == nullptr || t->context == nullptr) return -1;
  if (!in_ || !out_) {
    constexpr size_t kBytes = sizeof(float) * (kMaxSize + 2);  // av_tx asks for room to spare
    in_.reset(static_cast<float*>(av_mallocz(kBytes)));
    out_.reset(static_cast<float*>(av_mallocz(kBytes)));
    if (!in_ || !out_) return -1;
  }
  for (int i = 0; i < size; ++i) {
    const float mono = 0.5f * (stereo[2 * i] + stereo[2 * i + 1]);
    in_[static_cast<size_t>(i)] = mono * t->window[static_cast<size_t>(i)];
  }
  t->run(t->context, out_.get(), in_.get(), sizeof(AVComplexFloat));
  const float norm = 2.0f / static_cast<float>(size);
  for (int k = 0; k < size / 2; ++k) {
    out[k] = std::hypot(out_[2 * static_cast<size_t>(k)], out_[2 * static_cast<size_t>(k) + 1]) * norm;
  }
  return size / 2;
}

}  // namespace orve::audio
