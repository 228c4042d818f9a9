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

  Transform small_, large_;  // 512 and 1024 points, made on first use
  std::vector<float> in_;
  std::vector<float> out_;  // complex pairs
};

}  // namespace orve::audio
