// Decoding files into WAV files: the header's fields, the samples against
// ffmpeg's, and failures that leave no partial file and keep an older one.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

#include "AudioTestSupport.h"
#include "support/Unprivileged.h"
#include "audio/WavExport.h"

namespace orve::audio {
namespace {

using test::Fixture;
using test::ScratchDir;

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
uint16_t Le16(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }

// Only the named files are in the folder: no temporary file stays behind.
std::vector<std::string> Files(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

struct Case {
  const char* file;
  int channels;
  int rate;
};

TEST(WavExport, EveryKindOfFileGivesItsSamplesBehindAnExactHeader) {
  const Case cases[] = {{"cbr.mp3", 2, 44100},        {"layer2.mp2", 2, 44100},   {"wav_s16_mono.wav", 1, 44100},
                        {"vorbis.ogg", 2, 44100},      {"aiff.aiff", 2, 44100},    {"adts.aac", 2, 44100},
                        {"tagged.flac", 2, 44100},     {"tagged.opus", 2, 48000},  {"wav_s24.wav", 2, 44100}};
  ScratchDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string out = dir.File("out.wav");
    std::vector<int> percents;
    const WavExportResult r = DecodeToWav(Fixture(c.file), out, [&](int p) {
      percents.push_back(p);
      return true;
    });
    ASSERT_EQ(r.error, WavExportError::kNone) << r.detail;
    const std::vector<uint8_t> wav = ReadFile(out);
    ASSERT_GE(wav.size(), 44u);
    EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
    EXPECT_EQ(Le32(wav, 4), wav.size() - 8);
    EXPECT_EQ(std::string(wav.begin() + 8, wav.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(Le32(wav, 16), 16u);
    EXPECT_EQ(Le16(wav, 20), 1);
    EXPECT_EQ(Le16(wav, 22), c.channels);
    EXPECT_EQ(Le32(wav, 24), static_cast<uint32_t>(c.rate));
    EXPECT_EQ(Le32(wav, 28), static_cast<uint32_t>(c.rate * c.channels * 2));
    EXPECT_EQ(Le16(wav, 32), c.channels * 2);
    EXPECT_EQ(Le16(wav, 34), 16);
    EXPECT_EQ(std::string(wav.begin() + 36, wav.begin() + 40), "data");
    EXPECT_EQ(Le32(wav, 40), wav.size() - 44);
    EXPECT_EQ(static_cast<int64_t>(wav.size() - 44), r.dataBytes);
    // The samples are ffmpeg's (a rounding step apart at most; PCM exactly).
    const std::vector<int16_t> ref = test::FfmpegDecode(Fixture(c.file));
    ASSERT_EQ(ref.size() * 2, wav.size() - 44);
    int worst = 0;
    for (size_t i = 0; i < ref.size(); ++i) {
      int16_t ours = 0;
      std::memcpy(&ours, wav.data() + 44 + 2 * i, 2);
      worst = std::max(worst, std::abs(ours - ref[i]));
    }
    EXPECT_LE(worst, std::string(c.file) == "wav_s16_mono.wav" ? 0 : 1);
    ASSERT_FALSE(percents.empty());
    EXPECT_EQ(percents.back(), 100);
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
    EXPECT_EQ(Files(dir.File("")), std::vector<std::string>{"out.wav"});
  }
}

TEST(WavExport, AFailureLeavesNothingBehindAndKeepsAnOlderFile) {
  ScratchDir dir;
  const std::string out = dir.File("Song.wav");
  { std::ofstream(out) << "older"; }
  // A source that is no audio.
  WavExportResult r = DecodeToWav(Fixture("text.mp3"), out);
  EXPECT_EQ(r.error, WavExportError::kSource);
  EXPECT_FALSE(r.detail.empty());
  // Stopped halfway.
  r = DecodeToWav(Fixture("cbr.mp3"), out, [](int p) { return p < 50; });
  EXPECT_EQ(r.error, WavExportError::kCancelled);
  EXPECT_EQ(ReadFile(out), std::vector<uint8_t>({'o', 'l', 'd', 'e', 'r'}));
  EXPECT_EQ(Files(dir.File("")), std::vector<std::string>{"Song.wav"});
  // A whole new file replaces it.
  r = DecodeToWav(Fixture("cbr.mp3"), out);
  EXPECT_EQ(r.error, WavExportError::kNone);
  EXPECT_GT(ReadFile(out).size(), 44u);
  EXPECT_EQ(Files(dir.File("")), std::vector<std::string>{"Song.wav"});
}

TEST(WavExport, AFolderThatCannotBeWrittenIsReported) {
  ScratchDir dir;
  const std::string folder = dir.File("locked");
  std::filesystem::create_directory(folder);
  chmod(dir.File("").c_str(), 0755);
  chmod(folder.c_str(), 0555);
  const int result = orve::test::RunUnprivileged([&] {
    const WavExportResult r = DecodeToWav(Fixture("cbr.mp3"), folder + "/x.wav");
    if (r.error != WavExportError::kCreate) return 1 + static_cast<int>(r.error);
    return r.detail.empty() ? 20 : 0;
  });
  EXPECT_EQ(result, 0);
  EXPECT_TRUE(Files(folder).empty());
  chmod(folder.c_str(), 0755);
  // A folder that does not exist.
  EXPECT_EQ(DecodeToWav(Fixture("cbr.mp3"), dir.File("missing/x.wav")).error, WavExportError::kCreate);
}

}  // namespace
}  // namespace orve::audio
