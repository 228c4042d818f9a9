#include "AudioTestSupport.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

namespace orve::audio::test {

// ORVE_FIXTURES_DIR names the calling folder's fixtures; the shared ones are found from the source root.
std::string Fixture(const std::string& name) {
  return std::string(ORVE_SOURCE_DIR) + "/tests/fixtures/audio/" + name;
}

std::vector<int16_t> FfmpegDecode(const std::string& path, const std::string& args) {
  const std::string command = "ffmpeg -v error -i '" + path + "' -f s16le " + args + " -";
  std::vector<int16_t> out;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  int16_t buffer[4096];
  size_t n = 0;
  while ((n = fread(buffer, sizeof(int16_t), 4096, pipe)) > 0) out.insert(out.end(), buffer, buffer + n);
  pclose(pipe);
  return out;
}

bool RunCommand(const std::string& command) { return std::system(command.c_str()) == 0; }

ScratchDir::ScratchDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "orve-audio-XXXXXX").string();
  if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  if (!path_.empty()) std::filesystem::remove_all(path_, ec);
}

namespace {

uint32_t Le32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t{p[3]} << 24; }

}  // namespace

Capture ReadCapture(const std::string& path) {
  Capture c;
  std::ifstream in(path, std::ios::binary);
  std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (bytes.size() < 44 || std::memcmp(bytes.data(), "RIFF", 4) != 0) return c;
  c.rate = static_cast<int>(Le32(&bytes[24]));
  const uint32_t dataBytes = Le32(&bytes[40]);
  if (std::memcmp(&bytes[36], "data", 4) != 0 || 44 + dataBytes > bytes.size()) return c;
  c.samples.resize(dataBytes / sizeof(float));
  std::memcpy(c.samples.data(), &bytes[44], c.samples.size() * sizeof(float));
  return c;
}

std::vector<float> ToStereoFloat(const std::vector<int16_t>& pcm, int channels) {
  std::vector<float> out;
  out.reserve(pcm.size() * 2 / channels);
  for (size_t i = 0; i + channels <= pcm.size(); i += channels) {
    out.push_back(pcm[i] / 32768.0f);
    out.push_back(pcm[i + channels - 1] / 32768.0f);
  }
  return out;
}

std::vector<float> WithoutSilence(const std::vector<float>& s, int minRun) {
  const int64_t frames = static_cast<int64_t>(s.size() / 2);
  auto silent = [&](int64_t i) { return s[2 * i] == 0.0f && s[2 * i + 1] == 0.0f; };
  int64_t first = 0, last = frames;
  while (first < frames && silent(first)) ++first;
  while (last > first && silent(last - 1)) --last;
  std::vector<float> out;
  for (int64_t i = first; i < last;) {
    int64_t run = i;
    while (run < last && silent(run)) ++run;
    if (run - i >= minRun) {
      i = run;
      continue;
    }
    for (int64_t k = i; k <= std::min(run, last - 1); ++k) {
      out.push_back(s[2 * k]);
      out.push_back(s[2 * k + 1]);
    }
    i = run + 1;
  }
  return out;
}

float MaxDifference(const std::vector<float>& a, int64_t aFrom, const std::vector<float>& b,
                    int64_t bFrom, int64_t frames) {
  float worst = 0.0f;
  for (int64_t i = 0; i < 2 * frames; ++i) {
    worst = std::max(worst, std::fabs(a[2 * aFrom + i] - b[2 * bFrom + i]));
  }
  return worst;
}

int64_t BestOffset(const std::vector<float>& piece, int64_t pieceFrom, int64_t frames,
                   const std::vector<float>& ref, int64_t from, int64_t to) {
  int64_t best = from;
  double bestError = INFINITY;
  const int64_t refFrames = static_cast<int64_t>(ref.size() / 2);
  for (int64_t at = std::max<int64_t>(from, 0); at <= to && at + frames <= refFrames; ++at) {
    double e = 0;
    for (int64_t i = 0; i < 2 * frames; ++i) {
      const double d = piece[2 * pieceFrom + i] - ref[2 * at + i];
      e += d * d;
    }
    if (e < bestError) {
      bestError = e;
      best = at;
    }
  }
  return best;
}

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

bool PlayToEnd(Library& lib, Handle h) {
  return lib.Play(h) && WaitFor([&] { return lib.IsActive(h) == ActiveState::kStopped; });
}

}  // namespace orve::audio::test
