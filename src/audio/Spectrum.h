#pragma once
// Magnitude spectrum of the sound heard now: mono mix, Hann window, a real
// FFT by libavutil's av_tx, |X[k]| / (N/2), so a full-scale sine centred on
// a bin reads about 0.5. UI thread only.

#include <memory>
#include <vector>

struct AVTXContext;

namespace orve::audio {

class Spectrum {
 public:
  Spectrum() = default;
  ~Spectrum();
  Spectrum(const Spectrum&) = delete;
  Spectrum& operator=(const Spectrum&) = delete;

  // `stereo` holds `size` frames (512 or 1024); writes size/2 magnitudes.
  // Returns the count written, or -1 for another size or when av_tx fails.
  int Compute(const float* stereo, int size, float* out);

 private:
  struct Transform {
    AVTXContext* context = nullptr;
    void (*run)(AVTXContext*, void*, void*, ptrdiff_t) = nullptr;
    std::vector<float> window;
  };
  Transform* Get(int size);

  // av_tx's SIMD code loads and stores its buffers aligned (32 bytes for
  // AVX), more than std::vector promises: the buffers come from av_malloc.
  struct AvFree {
    void operator()(float* p) const;
  };
  using AlignedBuffer = std::unique_ptr<float[], AvFree>;
  static constexpr int kMaxSize = 1024;

  Transform small_, large_;  // 512 and 1024 points, made on first use
  AlignedBuffer in_;         // kMaxSize + 2 floats
  AlignedBuffer out_;        // complex pairs, kMaxSize + 2 floats
};

}  // namespace orve::audio
