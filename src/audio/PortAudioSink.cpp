#include "audio/PortAudioSink.h"

#include <fcntl.h>
#include <portaudio.h>
#include <unistd.h>

namespace orve::audio {
namespace {

constexpr double kPreferredRate = 44100.0;
constexpr unsigned long kFramesPerBuffer = 512;

int Callback(const void*, void* output, unsigned long frames, const PaStreamCallbackTimeInfo*,
             PaStreamCallbackFlags, void* user) {
  RenderSource* source = *static_cast<RenderSource**>(user);
  source->Render(static_cast<float*>(output), static_cast<int>(frames));
  return paContinue;
}

// ALSA and JACK print their probing of every possible device to stderr
// while PortAudio looks for one; the outcome is reported once by the caller.
class QuietStderr {
 public:
  QuietStderr() : saved_(dup(STDERR_FILENO)) {
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0) {
      dup2(null, STDERR_FILENO);
      close(null);
    }
  }
  ~QuietStderr() {
    if (saved_ < 0) return;
    dup2(saved_, STDERR_FILENO);
    close(saved_);
  }
  QuietStderr(const QuietStderr&) = delete;
  QuietStderr& operator=(const QuietStderr&) = delete;

 private:
  const int saved_;
};

std::string PaText(const char* call, PaError err) {
  return std::string(call) + ": " + Pa_GetErrorText(err);
}

}  // namespace

PortAudioSink::~PortAudioSink() {
  Stop();
  if (stream_ != nullptr) Pa_CloseStream(stream_);
  if (initialized_) Pa_Terminate();
}

bool PortAudioSink::Open(std::string& error) {
  QuietStderr quiet;
  const PaError err = Pa_Initialize();
  if (err != paNoError) {
    error = PaText("Pa_Initialize", err);
    return false;
  }
  initialized_ = true;
  const PaDeviceIndex device = Pa_GetDefaultOutputDevice();
  if (device == paNoDevice) {
    error = "no default output device";
    return false;
  }
  if (OpenAt(device, kPreferredRate, error)) return true;
  const PaDeviceInfo* info = Pa_GetDeviceInfo(device);
  return info != nullptr && info->defaultSampleRate != kPreferredRate &&
         OpenAt(device, info->defaultSampleRate, error);
}

bool PortAudioSink::OpenAt(int device, double rate, std::string& error) {
  const PaDeviceInfo* info = Pa_GetDeviceInfo(device);
  PaStreamParameters out{};
  out.device = device;
  out.channelCount = 2;
  out.sampleFormat = paFloat32;
  out.suggestedLatency = info != nullptr ? info->defaultLowOutputLatency : 0.05;
  // The callback reaches the source through this object, set by Start.
  const PaError err = Pa_OpenStream(&stream_, nullptr, &out, rate, kFramesPerBuffer, paNoFlag,
                                    Callback, &source_);
  if (err != paNoError) {
    stream_ = nullptr;
    error = PaText("Pa_OpenStream", err);
    return false;
  }
  rate_ = static_cast<int>(rate);
  const PaStreamInfo* si = Pa_GetStreamInfo(stream_);
  latency_ = si != nullptr ? si->outputLatency : 0.0;
  return true;
}

bool PortAudioSink::Start(RenderSource* source, std::string& error) {
  if (stream_ == nullptr) {
    error = "the device is not open";
    return false;
  }
  source_ = source;
  const PaError err = Pa_StartStream(stream_);
  if (err != paNoError) {
    error = PaText("Pa_StartStream", err);
    return false;
  }
  return true;
}

void PortAudioSink::Stop() {
  if (stream_ != nullptr && Pa_IsStreamActive(stream_) == 1) Pa_StopStream(stream_);
}

}  // namespace orve::audio
