// Exact MP3 lengths from LAME headers against a full decode, on files from
// several encoders (run by hand: bench/audio/bench_mp3_header [FILE.mp3 ...]).
// A corpus of music-like sound (a chord over pink noise) is encoded into a
// temporary folder by every MP3 encoder found here: the lame program,
// FFmpeg's libmp3lame and FFmpeg's libshine (a separate fixed-point
// encoder), sox when its MP3 writer is installed; the files named on the
// command line (real files from elsewhere) are added. For each file: the
// length the header gives (or "none": the player scans), the length a
// decode of every frame by the ffmpeg program gives, whether they agree,
// and the time of each.
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "audio/Mp3Header.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace audio = orve::audio;

double Ms(Clock::time_point since) { return std::chrono::duration<double, std::milli>(Clock::now() - since).count(); }

bool Run(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

struct Encoding {
  const char* name;
  const char* command;  // IN and OUT replaced
};

constexpr Encoding kEncodings[] = {
    {"lame 3.100 CBR 320", "lame --silent -b 320 IN OUT"},
    {"lame 3.100 CBR 128 joint", "lame --silent -b 128 IN OUT"},
    {"lame 3.100 VBR V0", "lame --silent -V 0 IN OUT"},
    {"lame 3.100 VBR V2", "lame --silent -V 2 IN OUT"},
    {"lame 3.100 VBR V6", "lame --silent -V 6 IN OUT"},
    {"lame 3.100 ABR 160", "lame --silent --abr 160 IN OUT"},
    {"lame 3.100 mono 64", "lame --silent -m m -b 64 IN OUT"},
    {"lame 3.100 22.05 kHz V5", "lame --silent --resample 22.05 -V 5 IN OUT"},
    {"lame 3.100 8 kHz 32", "lame --silent --resample 8 -b 32 IN OUT"},
    {"lame 3.100 tagged (ID3v2 + v1)", "lame --silent -V 2 --tt Title --ta Artist --add-id3v2 IN OUT"},
    {"ffmpeg libmp3lame CBR 192", "ffmpeg -v error -i IN -c:a libmp3lame -b:a 192k -y OUT"},
    {"ffmpeg libmp3lame VBR q2", "ffmpeg -v error -i IN -c:a libmp3lame -q:a 2 -y OUT"},
    {"ffmpeg libmp3lame 48 kHz mono", "ffmpeg -v error -i IN -ac 1 -c:a libmp3lame -b:a 96k -y OUT"},
    {"ffmpeg libmp3lame, no Xing frame", "ffmpeg -v error -i IN -c:a libmp3lame -b:a 192k -write_xing 0 -y OUT"},
    {"ffmpeg libshine CBR 128", "ffmpeg -v error -i IN -c:a libshine -b:a 128k -y OUT"},
    {"ffmpeg libshine, no Xing frame", "ffmpeg -v error -i IN -c:a libshine -b:a 128k -write_xing 0 -y OUT"},
    {"sox (libmp3lame) 192", "sox IN -C 192 OUT"},
};

struct Row {
  std::string name;
  std::optional<audio::HeaderLength> header;
  double headerMs = 0;
  int64_t scanned = -1;
  double scanMs = 0;
};

Row Measure(const std::string& name, const std::string& path) {
  Row r{name, std::nullopt, 0, -1, 0};
  auto t = Clock::now();
  r.header = audio::LengthFromLameHeader(path);
  r.headerMs = Ms(t);
  // The reference is a decode of every frame by the ffmpeg program (its
  // gapless trimming included), independent of any header.
  t = Clock::now();
  const std::string command = "ffmpeg -v quiet -i '" + path + "' -ac 1 -f s16le - 2>/dev/null";
  if (std::FILE* pipe = popen(command.c_str(), "r")) {
    std::vector<char> chunk(1 << 16);
    int64_t bytes = 0;
    for (size_t got; (got = std::fread(chunk.data(), 1, chunk.size(), pipe)) > 0;) bytes += static_cast<int64_t>(got);
    if (pclose(pipe) == 0) r.scanned = bytes / 2;
  }
  r.scanMs = Ms(t);
  return r;
}

}  // namespace

int main(int argc, char** argv) {
  char pattern[] = "/tmp/orve-header-XXXXXX";
  if (mkdtemp(pattern) == nullptr) return 1;
  const std::string dir = pattern;
  const std::string wav = dir + "/in.wav";
  // Four minutes of a chord over pink noise at 44.1 kHz, as music is.
  if (!Run("ffmpeg -v error -f lavfi -i 'sine=f=220:d=240' -f lavfi -i 'sine=f=277:d=240' -f lavfi -i "
           "'anoisesrc=d=240:c=pink:a=0.15' -filter_complex amix=inputs=3 -ac 2 -ar 44100 -y '" + wav + "'")) {
    std::fprintf(stderr, "ffmpeg could not make the source\n");
    return 1;
  }
  std::vector<Row> rows;
  int n = 0;
  for (const Encoding& e : kEncodings) {
    const std::string out = dir + "/" + std::to_string(n++) + ".mp3";
    std::string command = e.command;
    command.replace(command.find("IN"), 2, "'" + wav + "'");
    command.replace(command.find("OUT"), 3, "'" + out + "'");
    if (!Run(command)) {
      std::printf("%-34s (encoder not here)\n", e.name);
      continue;
    }
    rows.push_back(Measure(e.name, out));
  }
  for (int i = 1; i < argc; ++i) rows.push_back(Measure(std::filesystem::path(argv[i]).filename().string(), argv[i]));

  int disagree = 0;
  std::printf("%-34s %12s %12s %6s %10s %10s\n", "file", "header", "full decode", "agree", "header ms", "decode ms");
  for (const Row& r : rows) {
    const bool agree = !r.header || r.header->frames == r.scanned;
    if (!agree) ++disagree;
    const std::string header = r.header ? std::to_string(r.header->frames) : std::string("none");
    std::printf("%-34s %12s %12lld %6s %10.2f %10.1f\n", r.name.c_str(), header.c_str(),
                static_cast<long long>(r.scanned), r.header ? (agree ? "yes" : "NO") : "-", r.headerMs, r.scanMs);
  }
  std::printf("%d of %zu headers disagree with the full decode\n", disagree, rows.size());
  std::filesystem::remove_all(dir);
  return disagree == 0 ? 0 : 1;
}
