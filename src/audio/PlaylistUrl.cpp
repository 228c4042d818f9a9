#include "audio/PlaylistUrl.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <climits>
#include <cstdlib>

namespace orve::audio {
namespace {

std::string Lower(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

std::string_view Trim(std::string_view s) {
  const auto space = [](unsigned char c) { return std::isspace(c) != 0; };
  while (!s.empty() && space(s.front())) s.remove_prefix(1);
  while (!s.empty() && space(s.back())) s.remove_suffix(1);
  return s;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && Lower(s.substr(0, prefix.size())) == prefix;
}

// Calls `line` for each line of `body` (CR LF, LF or CR ends), trimmed.
template <typename F>
void ForEachLine(std::string_view body, F line) {
  while (!body.empty()) {
    const size_t end = std::min(body.find_first_of("\r\n"), body.size());
    line(Trim(body.substr(0, end)));
    body.remove_prefix(std::min(end + 1, body.size()));
  }
}

std::string_view PathOf(std::string_view url) {
  const size_t cut = url.find_first_of("?#");
  return url.substr(0, cut);
}

// PLS: "FileN=address"; the lowest N wins.
std::string FirstPlsEntry(std::string_view body) {
  std::string best;
  long bestIndex = LONG_MAX;
  ForEachLine(body, [&](std::string_view line) {
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos || !StartsWithNoCase(line, "file")) return;
    const std::string digits(line.substr(4, eq - 4));
    char* end = nullptr;
    const long n = std::strtol(digits.c_str(), &end, 10);
    if (digits.empty() || *end != '\0' || n >= bestIndex) return;
    const std::string_view value = Trim(line.substr(eq + 1));
    if (value.empty()) return;
    bestIndex = n;
    best = value;
  });
  return best;
}

// M3U: the first line that is not a comment or directive.
std::string FirstM3uEntry(std::string_view body) {
  std::string first;
  ForEachLine(body, [&](std::string_view line) {
    if (first.empty() && !line.empty() && line.front() != '#') first = line;
  });
  return first;
}

}  // namespace

std::string MediaType(std::string_view contentType) {
  return Lower(Trim(contentType.substr(0, contentType.find(';'))));
}

bool IsHttpUrl(std::string_view url) {
  return StartsWithNoCase(url, "http://") || StartsWithNoCase(url, "https://");
}

std::string WithLowerScheme(std::string_view url) {
  const size_t scheme = url.find("://");
  if (scheme == std::string_view::npos) return std::string(url);
  return Lower(url.substr(0, scheme)) + std::string(url.substr(scheme));
}

bool IsPlaylistAnswer(std::string_view url, std::string_view mediaType) {
  static constexpr std::array<std::string_view, 5> kListTypes = {
      "audio/x-scpls", "audio/x-mpegurl", "audio/mpegurl", "application/vnd.apple.mpegurl",
      "application/x-mpegurl"};
  if (std::find(kListTypes.begin(), kListTypes.end(), mediaType) != kListTypes.end()) return true;
  if (mediaType.starts_with("audio/") || mediaType == "application/ogg") return false;
  const std::string path = Lower(PathOf(url));
  return path.ends_with(".pls") || path.ends_with(".m3u") || path.ends_with(".m3u8");
}

bool IsSegmentPlaylist(std::string_view body) {
  return body.find("#EXT-X-TARGETDURATION") != std::string_view::npos ||
         body.find("#EXT-X-STREAM-INF") != std::string_view::npos;
}

std::string FirstAddress(std::string_view body, std::string_view playlistUrl) {
  const bool pls = StartsWithNoCase(Trim(body), "[playlist]");
  const std::string entry = pls ? FirstPlsEntry(body) : FirstM3uEntry(body);
  return entry.empty() ? std::string() : ResolveUrl(playlistUrl, entry);
}

std::string ResolveUrl(std::string_view base, std::string_view ref) {
  if (ref.find("://") != std::string_view::npos) return std::string(ref);
  const size_t scheme = base.find("://");
  if (scheme == std::string_view::npos) return std::string(ref);
  const size_t hostEnd = std::min(base.find('/', scheme + 3), base.size());
  if (ref.starts_with("//")) return std::string(base.substr(0, scheme + 1)) + std::string(ref);
  if (ref.starts_with("/")) return std::string(base.substr(0, hostEnd)) + std::string(ref);
  const std::string_view path = PathOf(base);
  const size_t slash = path.rfind('/');
  const std::string dir = slash == std::string_view::npos || slash < hostEnd
                              ? std::string(path.substr(0, hostEnd)) + "/"
                              : std::string(path.substr(0, slash + 1));
  return dir + std::string(ref);
}

}  // namespace orve::audio
