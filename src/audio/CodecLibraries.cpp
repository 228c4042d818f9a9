#include "audio/CodecLibraries.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace orve::audio {
namespace {

struct Handles {
  void* codec;
  void* format;
};

// Without them nothing can be played: the same end as a library missing at start.
[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "orve: %s\n", what != nullptr ? what : "cannot load FFmpeg");
  std::_Exit(127);
}

void* Open(const char* name, int major) {
  const std::string file = std::string("lib") + name + ".so." + std::to_string(major);
  void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) Fail(dlerror());
  return handle;
}

// Opened once, by the first thread that asks; the others wait for it.
const Handles& Libraries() {
  static const Handles handles{Open("avcodec", LIBAVCODEC_VERSION_MAJOR), Open("avformat", LIBAVFORMAT_VERSION_MAJOR)};
  return handles;
}

template <typename Function>
Function Symbol(void* library, const char* name) {
  void* address = dlsym(library, name);
  if (address == nullptr) Fail(dlerror());
  return reinterpret_cast<Function>(address);
}

}  // namespace

void PreloadCodecLibraries() {
  static std::once_flag started;
  std::call_once(started, [] { std::thread([] { Libraries(); }).detach(); });
}

}  // namespace orve::audio

// Each function looks its library's definition up once.
#define ORVE_REAL(library, name) \
  static const auto real = ::orve::audio::Symbol<decltype(&name)>(::orve::audio::Libraries().library, #name)

extern "C" {

// libavformat
AVFormatContext* avformat_alloc_context() {
  ORVE_REAL(format, avformat_alloc_context);
  return real();
}
const AVInputFormat* av_find_input_format(const char* shortName) {
  ORVE_REAL(format, av_find_input_format);
  return real(shortName);
}
int avformat_open_input(AVFormatContext** ps, const char* url, const AVInputFormat* fmt, AVDictionary** options) {
  ORVE_REAL(format, avformat_open_input);
  return real(ps, url, fmt, options);
}
int avformat_find_stream_info(AVFormatContext* ic, AVDictionary** options) {
  ORVE_REAL(format, avformat_find_stream_info);
  return real(ic, options);
}
int av_find_best_stream(AVFormatContext* ic, enum AVMediaType type, int wanted, int related,
                        const AVCodec** decoder, int flags) {
  ORVE_REAL(format, av_find_best_stream);
  return real(ic, type, wanted, related, decoder, flags);
}
int av_read_frame(AVFormatContext* s, AVPacket* pkt) {
  ORVE_REAL(format, av_read_frame);
  return real(s, pkt);
}
int av_seek_frame(AVFormatContext* s, int streamIndex, int64_t timestamp, int flags) {
  ORVE_REAL(format, av_seek_frame);
  return real(s, streamIndex, timestamp, flags);
}
void avformat_close_input(AVFormatContext** s) {
  ORVE_REAL(format, avformat_close_input);
  real(s);
}
int avio_open2(AVIOContext** s, const char* url, int flags, const AVIOInterruptCB* interrupt, AVDictionary** options) {
  ORVE_REAL(format, avio_open2);
  return real(s, url, flags, interrupt, options);
}
int avio_read(AVIOContext* s, unsigned char* buf, int size) {
  ORVE_REAL(format, avio_read);
  return real(s, buf, size);
}
int64_t avio_seek(AVIOContext* s, int64_t offset, int whence) {
  ORVE_REAL(format, avio_seek);
  return real(s, offset, whence);
}
int64_t avio_size(AVIOContext* s) {
  ORVE_REAL(format, avio_size);
  return real(s);
}
int avio_feof(AVIOContext* s) {
  ORVE_REAL(format, avio_feof);
  return real(s);
}
int avio_closep(AVIOContext** s) {
  ORVE_REAL(format, avio_closep);
  return real(s);
}

// libavcodec
AVPacket* av_packet_alloc() {
  ORVE_REAL(codec, av_packet_alloc);
  return real();
}
void av_packet_free(AVPacket** pkt) {
  ORVE_REAL(codec, av_packet_free);
  real(pkt);
}
void av_packet_unref(AVPacket* pkt) {
  ORVE_REAL(codec, av_packet_unref);
  real(pkt);
}
uint8_t* av_packet_get_side_data(const AVPacket* pkt, enum AVPacketSideDataType type, size_t* size) {
  ORVE_REAL(codec, av_packet_get_side_data);
  return real(pkt, type, size);
}
const AVCodec* avcodec_find_decoder(enum AVCodecID id) {
  ORVE_REAL(codec, avcodec_find_decoder);
  return real(id);
}
const char* avcodec_get_name(enum AVCodecID id) {
  ORVE_REAL(codec, avcodec_get_name);
  return real(id);
}
AVCodecContext* avcodec_alloc_context3(const AVCodec* codec) {
  ORVE_REAL(codec, avcodec_alloc_context3);
  return real(codec);
}
int avcodec_parameters_to_context(AVCodecContext* codec, const AVCodecParameters* par) {
  ORVE_REAL(codec, avcodec_parameters_to_context);
  return real(codec, par);
}
int avcodec_open2(AVCodecContext* avctx, const AVCodec* codec, AVDictionary** options) {
  ORVE_REAL(codec, avcodec_open2);
  return real(avctx, codec, options);
}
int avcodec_send_packet(AVCodecContext* avctx, const AVPacket* avpkt) {
  ORVE_REAL(codec, avcodec_send_packet);
  return real(avctx, avpkt);
}
int avcodec_receive_frame(AVCodecContext* avctx, AVFrame* frame) {
  ORVE_REAL(codec, avcodec_receive_frame);
  return real(avctx, frame);
}
void avcodec_flush_buffers(AVCodecContext* avctx) {
  ORVE_REAL(codec, avcodec_flush_buffers);
  real(avctx);
}
void avcodec_free_context(AVCodecContext** avctx) {
  ORVE_REAL(codec, avcodec_free_context);
  real(avctx);
}

}  // extern "C"
