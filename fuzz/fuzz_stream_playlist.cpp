// Any bytes as the answer to a radio address: its address, its Content-Type
// and a body that may be a PLS, M3U or HLS playlist. The stream address
// taken out of a playlist is one line's entry made absolute against the
// playlist's address, and what a playlist names first is what comes out.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "audio/PlaylistUrl.h"

using orve::fuzz::Check;
namespace audio = orve::audio;

namespace {

bool HasLineEnd(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// A reference resolved against a base is the reference after a part of the
// base (with a "/" added when the base names only a host).
void CheckResolved(std::string_view base, std::string_view ref) {
  const std::string resolved = audio::ResolveUrl(base, ref);
  Check(resolved.ends_with(ref));
  if (ref.find("://") != std::string_view::npos) {
    Check(resolved == ref);
    return;
  }
  const std::string_view head = std::string_view(resolved).substr(0, resolved.size() - ref.size());
  Check(base.starts_with(head) || (head.ends_with('/') && base.starts_with(head.substr(0, head.size() - 1))));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  orve::fuzz::Pieces pieces(orve::fuzz::Bytes(data, size));
  const std::string_view url = pieces.Next();
  const std::string_view contentType = pieces.Next();
  const std::string_view entry = pieces.Next();
  const std::string_view body = pieces.Rest();

  const std::string type = audio::MediaType(contentType);
  Check(type.find(';') == std::string::npos && type == audio::MediaType(type));
  for (const char c : type) Check(!(c >= 'A' && c <= 'Z'));
  Check(Trimmed(type) == type);
  audio::IsPlaylistAnswer(url, type);
  Check(audio::IsPlaylistAnswer(url, "audio/x-scpls") && !audio::IsPlaylistAnswer(url, "audio/mpeg"));

  const std::string lowered = audio::WithLowerScheme(url);
  Check(lowered.size() == url.size() && audio::WithLowerScheme(lowered) == lowered);
  Check(audio::IsHttpUrl(lowered) == audio::IsHttpUrl(url));

  audio::IsSegmentPlaylist(body);
  const std::string first = audio::FirstAddress(body, url);
  if (!first.empty()) {
    Check(!IsBlank(first.back()));
    if (!HasLineEnd(url)) Check(!HasLineEnd(first));
  }
  CheckResolved(url, entry);
  CheckResolved(url, body);

  // The entry as the first of an M3U list, and as File1 of a PLS list whose
  // File2 comes before it.
  const std::string_view name = Trimmed(entry);
  if (name.empty() || HasLineEnd(entry)) return 0;
  const std::string expected = audio::ResolveUrl(url, name);
  if (name.front() != '#') {
    const std::string m3u = "#EXTM3U\r\n#EXTINF:-1,Radio\r\n" + std::string(entry) + "\r\n" + std::string(body);
    Check(audio::FirstAddress(m3u, url) == expected);
  }
  const std::string pls = "[playlist]\nNumberOfEntries=2\nFile2=http://second/\nFile1=" + std::string(entry) +
                          "\nTitle1=" + std::string(body.substr(0, body.find_first_of("\r\n"))) + "\n";
  Check(audio::FirstAddress(pls, url) == expected);
  return 0;
}
