#pragma once
// Opening a radio address with libavformat: one HTTP(S) request with the
// user agent, the proxy and ICY metadata asked for; playlists followed to
// their first stream; the demuxer picked from the Content-Type so the first
// sound comes without a long probe.
//
// Runs on the stream's own thread and blocks in network calls; every one of
// them returns within ~100 ms once `interrupt` answers 1.

#include <string>

#include "audio/StreamFault.h"

struct AVFormatContext;
struct AVIOInterruptCB;

namespace orve::audio {

struct NetSettings {
  std::string userAgent;  // empty: FFmpeg's own
  std::string proxy;      // "host:port"; empty: direct, whatever the environment says
};

struct OpenedStream {
  AVFormatContext* format = nullptr;  // the caller's on success (see Decoder::FromInput)
  StreamFault fault;                  // why not, on failure
};

OpenedStream OpenStream(const std::string& url, const NetSettings& settings,
                        const AVIOInterruptCB& interrupt);

// The latest ICY metadata block of an input opened here, raw ("" when the
// server has sent none).
std::string IcyMetadataPacket(AVFormatContext* format);

}  // namespace orve::audio
