// Library: lifecycle, configuration, opening and freeing streams, tags.
#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "audio/AudioLibrary.h"
#include "audio/LibraryImpl.h"
#include "audio/NetStream.h"
#include "audio/NullSink.h"
#include "audio/PlaylistUrl.h"
#include "audio/PortAudioSink.h"
#include "audio/TagReader.h"
#include "audio/WavSink.h"

extern "C" {
#include <libavutil/log.h>
}

namespace orve::audio {
namespace {

constexpr int kMaxBufferMs = 10000;

std::unique_ptr<Sink> OpenSink(std::unique_ptr<Sink> sink, std::string& error) {
  if (!sink->Open(error)) return nullptr;
  return sink;
}

void NoteFile(const std::string& path, Stream& s) {
  s.tags = ReadTags(path);
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  s.fileSize = ec ? -1 : static_cast<int64_t>(size);
}

}  // namespace

void Library::Impl::OpenOutput(const OutputChoice& choice) {
  std::string error;
  switch (choice.kind) {
    case OutputChoice::Kind::kAuto:
      sink = OpenSink(std::make_unique<PortAudioSink>(), error);
      if (sink == nullptr) std::fprintf(stderr, "orve: no sound device (%s); playing silently\n", error.c_str());
      break;
    case OutputChoice::Kind::kWav:
      sink = OpenSink(std::make_unique<WavSink>(choice.wavPath), error);
      if (sink == nullptr) std::fprintf(stderr, "orve: cannot capture to WAV (%s); playing silently\n", error.c_str());
      break;
    case OutputChoice::Kind::kNull:
      break;
  }
  if (sink != nullptr) {
    mixer = std::make_unique<Mixer>(sink->Rate(), sink->LatencySeconds());
    if (sink->Start(mixer.get(), error)) return;
    std::fprintf(stderr, "orve: the %s output does not start (%s); playing silently\n", sink->Name(), error.c_str());
  }
  sink = std::make_unique<NullSink>();
  mixer = std::make_unique<Mixer>(sink->Rate(), sink->LatencySeconds());
  sink->Open(error);
  sink->Start(mixer.get(), error);
}

Handle Library::Impl::Add(Stream stream) {
  const Handle h = nextHandle++;
  if (nextHandle == kNoHandle) nextHandle = 1;
  streams.emplace(h, std::move(stream));
  return h;
}

Stream* Library::Impl::Find(Handle h) {
  auto it = streams.find(h);
  return it == streams.end() ? nullptr : &it->second;
}

const Stream* Library::Impl::Find(Handle h) const {
  auto it = streams.find(h);
  return it == streams.end() ? nullptr : &it->second;
}

Channel* Library::Impl::ChannelOf(Handle h) const {
  const Stream* s = Find(h);
  return s == nullptr ? nullptr : s->channel.get();
}

void Library::Impl::Retire(std::unique_ptr<Channel> channel) {
  channel->Interrupt();  // a network stream stops connecting now
  mixer->Remove(channel.get());
  retired.push_back({std::move(channel), mixer->Renders()});
}

void Library::Impl::CollectRetired() {
  const uint64_t now = mixer->Renders();
  std::erase_if(retired, [this, now](Retired& r) {
    if (now < r.renders + 2) return false;
    if (r.channel->Live()) reaper.Take(std::move(r.channel));
    return true;
  });
}

Library::Library(const OutputChoice& output) : impl_(std::make_unique<Impl>()) {
  // FFmpeg's warnings about what it skips or retries are not the user's
  // business; errors still reach stderr, and failures reach LastError.
  av_log_set_level(AV_LOG_ERROR);
  impl_->OpenOutput(output);
}

Library::~Library() {
  impl_->sink->Stop();  // from here on no callback touches a channel
  for (auto& [h, s] : impl_->streams) {
    if (s.channel != nullptr) s.channel->Interrupt();  // network streams all stop at once
  }
  impl_->streams.clear();
  impl_->retired.clear();
}

void Library::SetBufferMs(int ms) { impl_->bufferMs = std::clamp(ms, 0, kMaxBufferMs); }
void Library::SetUserAgent(const std::string& agent) { impl_->userAgent = agent; }
void Library::SetProxy(const std::string& hostPort) { impl_->proxy = hostPort; }
int Library::BufferMs() const { return impl_->bufferMs; }
std::string Library::UserAgent() const { return impl_->userAgent; }
std::string Library::Proxy() const { return impl_->proxy; }
double Library::CpuLoad() const { return impl_->mixer->CpuLoadPercent(); }
std::string Library::OutputName() const { return impl_->sink->Name(); }
int Library::OutputRate() const { return impl_->sink->Rate(); }
std::string Library::LastError() const { return impl_->lastError; }

Handle Library::OpenFile(const std::string& path) {
  impl_->CollectRetired();
  auto decoder = Decoder::Open(path, Decoder::Output::kFloat, impl_->lastError);
  if (decoder == nullptr) return kNoHandle;
  Stream s;
  s.rate = decoder->Rate();
  s.channels = decoder->Channels();
  s.channel = Channel::Create(std::move(decoder), impl_->mixer->Rate(), impl_->bufferMs);
  if (s.channel == nullptr) {
    impl_->lastError = path + ": no resampler to the output rate";
    return kNoHandle;
  }
  NoteFile(path, s);
  return impl_->Add(std::move(s));
}

Handle Library::OpenDecoder(const std::string& path) {
  impl_->CollectRetired();
  auto decoder = Decoder::Open(path, Decoder::Output::kS16, impl_->lastError);
  if (decoder == nullptr) return kNoHandle;
  Stream s;
  s.rate = decoder->Rate();
  s.channels = decoder->Channels();
  s.decoder = std::move(decoder);
  NoteFile(path, s);
  return impl_->Add(std::move(s));
}

Handle Library::OpenUrl(const std::string& url) {
  impl_->CollectRetired();
  if (!IsHttpUrl(url)) {
    impl_->lastError = url + ": not an http:// or https:// address";
    return kNoHandle;
  }
  auto state = std::make_shared<NetState>();
  const int rate = impl_->mixer->Rate();
  auto source = std::make_unique<NetStream>(url, NetSettings{impl_->userAgent, impl_->proxy}, rate, state);
  Stream s;
  s.rate = rate;
  s.channels = 2;
  s.fileSize = 0;
  s.net = std::move(state);
  s.channel = Channel::Create(std::move(source), rate, impl_->bufferMs);
  if (s.channel == nullptr) {
    impl_->lastError = url + ": no resampler to the output rate";
    return kNoHandle;
  }
  return impl_->Add(std::move(s));
}

void Library::Free(Handle h) {
  auto it = impl_->streams.find(h);
  if (it == impl_->streams.end()) return;
  if (it->second.channel != nullptr) impl_->Retire(std::move(it->second.channel));
  impl_->streams.erase(it);
  impl_->CollectRetired();
}

Tags Library::GetTags(Handle h) const {
  const Stream* s = impl_->Find(h);
  return s == nullptr ? Tags{} : s->tags;
}

std::string Library::GetMetadata(Handle h) const {
  const Stream* s = impl_->Find(h);
  return s == nullptr || s->net == nullptr ? std::string() : s->net->Metadata();
}

std::string Library::StreamStatus(Handle h) const {
  const Stream* s = impl_->Find(h);
  return s == nullptr || s->net == nullptr ? std::string() : s->net->Status();
}

int64_t Library::FileSize(Handle h) const {
  const Stream* s = impl_->Find(h);
  return s == nullptr ? -1 : s->fileSize;
}

bool Library::GetInfo(Handle h, StreamInfo& info) const {
  const Stream* s = impl_->Find(h);
  if (s == nullptr) return false;
  info.frequency = s->rate;
  info.channels = s->channels;
  info.eightBit = false;
  return true;
}

}  // namespace orve::audio
