#pragma once
// Radio addresses that are playlists (.pls, .m3u, .m3u8) rather than audio:
// telling them apart, and taking the first stream address out of them.
// Pure text functions; no I/O.

#include <string>
#include <string_view>

namespace orve::audio {

// The media type of an HTTP Content-Type ("Audio/MPEG; charset=x" gives
// "audio/mpeg").
std::string MediaType(std::string_view contentType);

// True when the answer to `url` is a playlist: by its media type, or, when the
// server names no audio type, by the address's extension.
bool IsPlaylistAnswer(std::string_view url, std::string_view mediaType);

// A playlist of HLS segments, which FFmpeg's hls demuxer plays itself.
bool IsSegmentPlaylist(std::string_view body);

// The first stream address of a PLS or M3U body, made absolute against the
// playlist's own address; "" when it has none.
std::string FirstAddress(std::string_view body, std::string_view playlistUrl);

// `ref` taken relative to `base` (absolute addresses are kept).
std::string ResolveUrl(std::string_view base, std::string_view ref);

// http:// or https://, any case.
bool IsHttpUrl(std::string_view url);

// The address with its scheme in lower case ("HTTP://Host/A" gives
// "http://Host/A"): schemes are case-insensitive (RFC 3986), FFmpeg's
// protocol names are not. The rest is kept as it is.
std::string WithLowerScheme(std::string_view url);

}  // namespace orve::audio
