#pragma once
// Output sinks: where the mixed audio goes. Each sink pulls interleaved
// stereo float frames at its own rate from a RenderSource, on a thread of
// its own (a device callback or a clock thread).

#include <string>

namespace orve::audio {

class RenderSource {
 public:
  virtual ~RenderSource() = default;
  // Called on the sink's thread; fills `frames` stereo frames.
  virtual void Render(float* stereo, int frames) = 0;
};

class Sink {
 public:
  virtual ~Sink() = default;
  // Opens the output; false with `error` set when it cannot.
  virtual bool Open(std::string& error) = 0;
  // Starts pulling from `source`, which must outlive Stop.
  virtual bool Start(RenderSource* source, std::string& error) = 0;
  // Stops pulling; after it returns the source is no longer called.
  virtual void Stop() = 0;
  virtual int Rate() const = 0;
  // Time from a frame being rendered to it being heard.
  virtual double LatencySeconds() const = 0;
  virtual const char* Name() const = 0;
};

}  // namespace orve::audio
