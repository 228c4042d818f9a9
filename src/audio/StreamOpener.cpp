#include "audio/StreamOpener.h"

#include <array>
#include <string_view>
#include <utility>

#include "audio/PlaylistUrl.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
}

namespace orve::audio {
namespace {

constexpr int kMaxPlaylistDepth = 3;
constexpr int kMaxPlaylistBytes = 64 * 1024;
// A live stream arrives at its own pace after the server's first burst:
// with FFmpeg's defaults (1 MB probe, 5 s analysis) the first sound would
// wait seconds for data that is only needed to guess the format.
constexpr int64_t kProbeBytes = 32 * 1024;
constexpr int64_t kAnalyzeMicroseconds = 100'000;
// Requests one connection attempt may make while FFmpeg's HLS demuxer opens
// (a master playlist, its variants, their first segments). A master that
// names itself would otherwise be fetched thousands of times a second.
constexpr int kMaxRequestsPerAttempt = 64;

struct TypeFormat {
  std::string_view mediaType;
  const char* demuxer;
};
constexpr std::array<TypeFormat, 9> kTypeFormats = {{
    {"audio/mpeg", "mp3"},
    {"audio/mp3", "mp3"},
    {"audio/mpeg3", "mp3"},
    {"audio/aac", "aac"},
    {"audio/aacp", "aac"},
    {"audio/x-aac", "aac"},
    {"application/ogg", "ogg"},
    {"audio/ogg", "ogg"},
    {"audio/opus", "ogg"},
}};

const AVInputFormat* FormatFor(std::string_view mediaType) {
  for (const TypeFormat& t : kTypeFormats) {
    if (t.mediaType == mediaType) return av_find_input_format(t.demuxer);
  }
  return nullptr;  // probed, within kProbeBytes
}

AVDictionary* RequestOptions(const NetSettings& settings) {
  AVDictionary* options = nullptr;
  if (!settings.userAgent.empty()) av_dict_set(&options, "user_agent", settings.userAgent.c_str(), 0);
  av_dict_set(&options, "icy", "1", 0);
  // An empty proxy means direct: set it anyway, or FFmpeg reads $http_proxy.
  const bool hasScheme = settings.proxy.find("://") != std::string::npos;
  const std::string proxy = settings.proxy.empty() || hasScheme ? settings.proxy : "http://" + settings.proxy;
  av_dict_set(&options, "http_proxy", proxy.c_str(), 0);
  return options;
}

std::string IoOption(void* object, const char* name) {
  uint8_t* value = nullptr;
  if (object == nullptr || av_opt_get(object, name, AV_OPT_SEARCH_CHILDREN, &value) < 0 || value == nullptr) {
    return {};
  }
  std::string text(reinterpret_cast<const char*>(value));
  av_free(value);
  return text;
}

std::string ReadBody(AVIOContext* io) {
  std::string body;
  std::array<unsigned char, 4096> chunk{};
  while (body.size() < kMaxPlaylistBytes) {
    const int n = avio_read(io, chunk.data(), static_cast<int>(chunk.size()));
    if (n <= 0) break;
    body.append(reinterpret_cast<const char*>(chunk.data()), static_cast<size_t>(n));
  }
  return body;
}

struct RequestBudget {
  decltype(AVFormatContext::io_open) open;  // FFmpeg's own
  int left = kMaxRequestsPerAttempt;
};

int BudgetedOpen(AVFormatContext* s, AVIOContext** pb, const char* url, int flags, AVDictionary** options) {
  auto* budget = static_cast<RequestBudget*>(s->opaque);
  if (budget->left <= 0) return AVERROR_INVALIDDATA;
  --budget->left;
  return budget->open(s, pb, url, flags, options);
}

OpenedStream Failed(StreamFault::Kind kind) { return {nullptr, {kind, 0}}; }
OpenedStream Failed(int avError) { return {nullptr, StreamFault::FromAvError(avError)}; }

// Opens the demuxer on `io` (our request, taken over) or, without one, lets
// FFmpeg make its own requests (HLS fetches segments itself).
OpenedStream OpenDemuxer(const std::string& url, const AVInputFormat* format, AVIOContext* io,
                         const NetSettings& settings, const AVIOInterruptCB& interrupt) {
  AVFormatContext* ctx = avformat_alloc_context();
  if (ctx == nullptr) {
    avio_closep(&io);
    return Failed(AVERROR(ENOMEM));
  }
  ctx->interrupt_callback = interrupt;
  AVDictionary* options = nullptr;
  // Counted while the demuxer opens; playing on, it requests at the
  // playlist's own pace. Nothing keeps a pointer to it after this call.
  RequestBudget budget{ctx->io_open};
  if (io != nullptr) {
    ctx->pb = io;
    ctx->probesize = ctx->format_probesize = kProbeBytes;
    ctx->max_analyze_duration = kAnalyzeMicroseconds;
  } else {
    options = RequestOptions(settings);
    ctx->opaque = &budget;
    ctx->io_open = BudgetedOpen;
  }
  int ret = avformat_open_input(&ctx, url.c_str(), format, &options);  // frees ctx on failure
  av_dict_free(&options);
  if (ret >= 0) ret = avformat_find_stream_info(ctx, nullptr);
  if (ret < 0) {
    avformat_close_input(&ctx);
    avio_closep(&io);
    // A body that ends before it gave audio is not a stream either, nor a
    // playlist that took its whole budget.
    return Failed(ret == AVERROR_EOF || budget.left <= 0 ? AVERROR_INVALIDDATA : ret);
  }
  ctx->io_open = budget.open;
  ctx->opaque = nullptr;
  return {ctx, {}};
}

OpenedStream OpenLevel(const std::string& address, const NetSettings& settings,
                       const AVIOInterruptCB& interrupt, int depth) {
  if (!IsHttpUrl(address)) return Failed(StreamFault::Kind::kBadAddress);
  const std::string url = WithLowerScheme(address);
  AVIOContext* io = nullptr;
  AVDictionary* options = RequestOptions(settings);
  const int ret = avio_open2(&io, url.c_str(), AVIO_FLAG_READ, &interrupt, &options);
  av_dict_free(&options);
  if (ret < 0) return Failed(ret);
  const std::string type = MediaType(IoOption(io, "mime_type"));
  if (IsPlaylistAnswer(url, type)) {
    const std::string body = ReadBody(io);
    avio_closep(&io);
    if (IsSegmentPlaylist(body)) return OpenDemuxer(url, av_find_input_format("hls"), nullptr, settings, interrupt);
    const std::string next = FirstAddress(body, url);
    if (next.empty() || depth >= kMaxPlaylistDepth) return Failed(StreamFault::Kind::kNotAudio);
    return OpenLevel(next, settings, interrupt, depth + 1);
  }
  if (type.starts_with("text/") || type.starts_with("image/") || type == "application/json") {
    avio_closep(&io);
    return Failed(StreamFault::Kind::kNotAudio);
  }
  return OpenDemuxer(url, FormatFor(type), io, settings, interrupt);
}

}  // namespace

OpenedStream OpenStream(const std::string& url, const NetSettings& settings,
                        const AVIOInterruptCB& interrupt) {
  return OpenLevel(url, settings, interrupt, 0);
}

std::string IcyMetadataPacket(AVFormatContext* format) {
  return format == nullptr ? std::string() : IoOption(format->pb, "icy_metadata_packet");
}

}  // namespace orve::audio
