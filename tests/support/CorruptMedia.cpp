#include "support/CorruptMedia.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <random>

namespace orve::test {
namespace {

using Bytes = std::vector<unsigned char>;

Bytes Load(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

// One file of each kind the player reads; the WAV and AIFF headers are
// also patched field by field below.
constexpr std::array<const char*, 14> kSources = {
    "cbr.mp3",     "vbr_xing.mp3", "layer1.mp1", "layer2.mp2", "sine_s16.wav", "wav_f32.wav", "aiff.aiff",
    "vorbis.ogg",  "tagged.opus",  "tagged.flac", "tagged.m4a", "adts.aac",     "tagged.wma", "id3v1_cp1251.mp3",
};

class Writer {
 public:
  Writer(std::string folder, std::vector<CorruptCase>& cases) : folder_(std::move(folder)), cases_(cases) {}

  void Add(const std::string& name, const Bytes& bytes, const std::string& what) {
    const std::string path = folder_ + "/" + std::to_string(cases_.size()) + "-" + name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
    cases_.push_back({path, what});
  }
  std::string Path(const std::string& name) const { return folder_ + "/" + name; }
  void Special(const std::string& path, const std::string& what) { cases_.push_back({path, what}); }

 private:
  std::string folder_;
  std::vector<CorruptCase>& cases_;
};

// A header field overwritten with `value`, `size` bytes at `at`.
struct Patch {
  size_t at;
  uint64_t value;
  int size;
  const char* what;
};

void AddPatched(Writer& out, const Bytes& whole, const std::string& name, bool bigEndian,
                std::initializer_list<Patch> patches) {
  for (const Patch& p : patches) {
    Bytes b = whole;
    for (int i = 0; i < p.size && p.at + i < b.size(); ++i) {
      const int shift = 8 * (bigEndian ? p.size - 1 - i : i);
      b[p.at + i] = static_cast<unsigned char>(p.value >> shift);
    }
    out.Add("patched-" + name, b, name + " with " + p.what);
  }
}

size_t Find(const Bytes& b, const char* tag) {
  const auto it = std::search(b.begin(), b.end(), tag, tag + 4);
  return it == b.end() ? b.size() : static_cast<size_t>(it - b.begin());
}

void CutAndFlip(Writer& out, const std::string& name, const Bytes& whole, std::mt19937& random) {
  for (const size_t keep : {whole.size() / 2, whole.size() / 7, size_t{200}, size_t{17}}) {
    out.Add(name, Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(std::min(keep, whole.size()))),
            name + " cut to " + std::to_string(keep) + " bytes");
  }
  const size_t head = std::min<size_t>(whole.size(), 256);
  for (int round = 0; round < 4; ++round) {
    Bytes b = whole;
    for (int flips = 0; flips < 3 && head > 0; ++flips) b[random() % head] ^= static_cast<unsigned char>(1u << (random() % 8));
    out.Add(name, b, name + " with bits flipped in its header, round " + std::to_string(round));
  }
  Bytes scattered = whole;
  for (size_t i = random() % 500; i < scattered.size(); i += 1 + random() % 1000) {
    scattered[i] = static_cast<unsigned char>(random());
  }
  out.Add(name, scattered, name + " with bytes damaged throughout");
}

void PatchWav(Writer& out, const Bytes& wav) {
  const size_t fmt = Find(wav, "fmt ");
  const size_t data = Find(wav, "data");
  AddPatched(out, wav, "sine_s16.wav", false,
             {
                 {fmt + 12, 0, 4, "rate 0"},
                 {fmt + 12, 2'000'000'000, 4, "rate 2e9"},
                 {fmt + 12, 33'554'432, 4, "rate 33.6 MHz"},
                 {fmt + 10, 0, 2, "0 channels"},
                 {fmt + 10, 65535, 2, "65535 channels"},
                 {fmt + 22, 0, 2, "0 bits"},
                 {fmt + 22, 65535, 2, "65535 bits"},
                 {data + 4, 0xFFFFFFFF, 4, "data size 4 GB"},
                 {4, 8, 4, "RIFF size 8"},
             });
}

void PatchAiff(Writer& out, const Bytes& aiff) {
  const size_t comm = Find(aiff, "COMM");
  AddPatched(out, aiff, "aiff.aiff", true,
             {
                 {comm + 8, 0, 2, "0 channels"},
                 {comm + 8, 65535, 2, "65535 channels"},
                 {comm + 10, 0xFFFFFFFF, 4, "4e9 frames"},
                 {comm + 16, 0x7FFE, 2, "rate exponent at its top"},
                 {comm + 16, 0x401E, 2, "rate 2^31 Hz"},
             });
}

void SpecialFiles(Writer& out) {
  const std::string pipe = out.Path("pipe.mp3");
  if (::mkfifo(pipe.c_str(), 0600) == 0) out.Special(pipe, "a named pipe");
  const std::string folder = out.Path("folder.mp3");
  if (::mkdir(folder.c_str(), 0700) == 0) out.Special(folder, "a folder");
  for (const char* device : {"/dev/zero", "/dev/urandom", "/dev/null"}) {
    const std::string link = out.Path(std::string(device + 5) + ".mp3");
    if (::symlink(device, link.c_str()) == 0) out.Special(link, std::string("a link to ") + device);
  }
  const std::string dangling = out.Path("dangling.ogg");
  if (::symlink("/no/such/file.ogg", dangling.c_str()) == 0) out.Special(dangling, "a dangling link");
}

}  // namespace

std::vector<CorruptCase> MakeCorruptMedia(const std::string& fixtures, const std::string& folder) {
  std::vector<CorruptCase> cases;
  Writer out(folder, cases);
  std::mt19937 random(20261211);
  out.Add("empty.wav", {}, "an empty file");
  for (const char* source : kSources) {
    const Bytes whole = Load(fixtures + "/" + source);
    CutAndFlip(out, source, whole, random);
    // The same bytes under another kind's extension.
    const std::string name(source);
    out.Add(name + (name.ends_with(".ogg") ? ".mp3" : ".ogg"), whole, name + " under the wrong extension");
  }
  PatchWav(out, Load(fixtures + "/sine_s16.wav"));
  PatchAiff(out, Load(fixtures + "/aiff.aiff"));
  SpecialFiles(out);
  return cases;
}

}  // namespace orve::test
