#pragma once
// The state behind Library. UI thread only, but for the sink and the Mixer
// (see Mixer.h for the threads) and each Channel (see Channel.h).

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "audio/AudioLibrary.h"
#include "audio/Channel.h"
#include "audio/Decoder.h"
#include "audio/Mixer.h"
#include "audio/NetState.h"
#include "audio/Output.h"
#include "audio/Reaper.h"
#include "audio/Spectrum.h"

namespace orve::audio {

struct Stream {
  std::unique_ptr<Channel> channel;  // a stream to play
  std::unique_ptr<Decoder> decoder;  // or a decode-only stream
  std::shared_ptr<const NetState> net;  // a network stream's status and metadata
  Tags tags;
  int64_t fileSize = -1;
  int rate = 0;
  int channels = 0;
  int BytesPerFrame() const { return 2 * channels; }
};

struct Library::Impl {
  std::unique_ptr<Sink> sink;
  std::unique_ptr<Mixer> mixer;
  std::map<Handle, Stream> streams;
  Handle nextHandle = 1;
  uint32_t nextEffect = 1;  // effect handles, unique within the library
  int bufferMs = 500;
  std::string userAgent;  // kept for network streams
  std::string proxy;
  std::string lastError;
  Spectrum spectrum;
  // Channels taken out of the mixer, freed once the audio thread has
  // rendered twice since (it may still have held them).
  struct Retired {
    std::unique_ptr<Channel> channel;
    uint64_t renders;
  };
  std::vector<Retired> retired;
  Reaper reaper;  // frees the retired channels of network streams

  void OpenOutput(const OutputChoice& choice);
  Handle Add(Stream stream);
  Stream* Find(Handle h);
  const Stream* Find(Handle h) const;
  Channel* ChannelOf(Handle h) const;
  void Retire(std::unique_ptr<Channel> channel);
  void CollectRetired();
};

}  // namespace orve::audio
