// Decode-only streams against the ffmpeg program's own decode, and the
// length every stream reports.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "AudioTestSupport.h"

namespace orve::audio::test {
namespace {

struct FormatCase {
  const char* file;
  int rate;
  int channels;
  // Frames ffmpeg trims nowhere that we do: the MP4 end padding past the
  // container's stated duration.
  bool lengthIsContainers;
};

const FormatCase kFormats[] = {
    {"sine_s16.wav", 44100, 2, false},    {"wav_u8_mono.wav", 22050, 1, false},
    {"wav_s16_mono.wav", 44100, 1, false}, {"wav_s24.wav", 44100, 2, false},
    {"wav_s32.wav", 44100, 2, false},     {"wav_f32.wav", 44100, 2, false},
    {"aiff.aiff", 44100, 2, false},       {"cbr.mp3", 44100, 2, false},
    {"vbr_xing.mp3", 44100, 2, false},    {"vbr_noheader.mp3", 44100, 2, false},
    {"rate22050.mp3", 22050, 2, false},   {"id3v1_cp1251.mp3", 44100, 2, false},
    {"layer2.mp2", 44100, 2, false},      {"layer1.mp1", 44100, 2, false},
    {"vorbis.ogg", 44100, 2, false},      {"adts.aac", 44100, 2, false},
    {"tagged.m4a", 44100, 2, true},       {"tagged.wma", 44100, 2, false},
    {"tagged.opus", 48000, 2, false},     {"tagged.flac", 44100, 2, false},
    {"tagged.oga", 44100, 2, false},
};

class DecodeFormat : public ::testing::TestWithParam<FormatCase> {};

std::vector<int16_t> DecodeAll(Library& lib, Handle h) {
  std::vector<int16_t> out;
  std::vector<int16_t> block(3000);  // not a multiple of any frame size
  int n = 0;
  while ((n = lib.ReadDecoded(h, block.data(), static_cast<int>(block.size() * 2))) > 0) {
    out.insert(out.end(), block.begin(), block.begin() + n / 2);
  }
  EXPECT_EQ(n, 0);
  return out;
}

TEST_P(DecodeFormat, GivesFfmpegsSamplesAndExactlyTheLength) {
  const FormatCase& c = GetParam();
  Library lib(OutputChoice::Parse("null"));
  const Handle h = lib.OpenDecoder(Fixture(c.file));
  ASSERT_NE(h, kNoHandle) << lib.LastError();
  StreamInfo info;
  ASSERT_TRUE(lib.GetInfo(h, info));
  EXPECT_EQ(info.frequency, c.rate);
  EXPECT_EQ(info.channels, c.channels);
  EXPECT_FALSE(info.eightBit);
  const int64_t lengthAtOpen = lib.Length(h);
  EXPECT_EQ(lib.IsActive(h), ActiveState::kPlaying);

  const std::vector<int16_t> ours = DecodeAll(lib, h);
  const std::vector<int16_t> ref = FfmpegDecode(Fixture(c.file));
  ASSERT_FALSE(ref.empty());
  EXPECT_EQ(lib.IsActive(h), ActiveState::kStopped);
  EXPECT_EQ(static_cast<int64_t>(ours.size() * 2), lib.Length(h));
  EXPECT_EQ(lib.Position(h), lib.Length(h));
  if (std::string(c.file) == "tagged.wma") {
    // ASF states its length in milliseconds with the preroll: the decode
    // ends a little earlier, and the length follows it.
    EXPECT_NEAR(lengthAtOpen, lib.Length(h), lib.Length(h) / 20);
  } else {
    EXPECT_EQ(lengthAtOpen, lib.Length(h));
  }
  if (c.lengthIsContainers) {
    EXPECT_LT(ours.size(), ref.size());
  } else {
    EXPECT_EQ(ours.size(), ref.size());
  }
  int worst = 0;
  for (size_t i = 0; i < std::min(ours.size(), ref.size()); ++i) worst = std::max(worst, std::abs(ours[i] - ref[i]));
  EXPECT_LE(worst, 1);
}

TEST_P(DecodeFormat, SeeksToTheExactSample) {
  const FormatCase& c = GetParam();
  Library lib(OutputChoice::Parse("null"));
  const Handle h = lib.OpenDecoder(Fixture(c.file));
  ASSERT_NE(h, kNoHandle);
  const std::vector<int16_t> all = DecodeAll(lib, h);
  const int64_t frame = static_cast<int64_t>(all.size()) / c.channels / 3;
  ASSERT_TRUE(lib.SetPosition(h, frame * 2 * c.channels));
  EXPECT_EQ(lib.Position(h), frame * 2 * c.channels);
  std::vector<int16_t> piece(512 * static_cast<size_t>(c.channels));
  ASSERT_EQ(lib.ReadDecoded(h, piece.data(), static_cast<int>(piece.size() * 2)), static_cast<int>(piece.size() * 2));
  int worst = 0;
  for (size_t i = 0; i < piece.size(); ++i) worst = std::max(worst, std::abs(piece[i] - all[frame * c.channels + i]));
  if (std::string(c.file) == "tagged.wma") {
    // ASF timestamps are whole milliseconds: the seek lands within one.
    const std::vector<float> p = ToStereoFloat(piece, c.channels);
    const std::vector<float> a = ToStereoFloat(all, c.channels);
    const int64_t at = BestOffset(p, 0, 512, a, frame - 60, frame + 60);
    EXPECT_LE(std::abs(at - frame), 44);
  } else {
    EXPECT_LE(worst, 40) << "the seek landed elsewhere";
  }
  EXPECT_EQ(lib.IsActive(h), ActiveState::kPlaying) << "decoding again after the seek";
  // Position 0 rewinds.
  ASSERT_TRUE(lib.SetPosition(h, 0));
  ASSERT_EQ(lib.ReadDecoded(h, piece.data(), static_cast<int>(piece.size() * 2)), static_cast<int>(piece.size() * 2));
  worst = 0;
  for (size_t i = 0; i < piece.size(); ++i) worst = std::max(worst, std::abs(piece[i] - all[i]));
  EXPECT_LE(worst, 40);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, DecodeFormat, ::testing::ValuesIn(kFormats),
                         [](const ::testing::TestParamInfo<FormatCase>& param) {
                           std::string name = param.param.file;
                           for (char& ch : name) {
                             if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           }
                           return name;
                         });

TEST(Length, OfAVbrMp3WithoutHeaderIsTheDecodedLength) {
  Library lib(OutputChoice::Parse("null"));
  const Handle h = lib.OpenFile(Fixture("vbr_noheader.mp3"));
  ASSERT_NE(h, kNoHandle);
  const std::vector<int16_t> ref = FfmpegDecode(Fixture("vbr_noheader.mp3"));
  EXPECT_EQ(lib.Length(h), static_cast<int64_t>(ref.size() * 2));
  EXPECT_EQ(lib.Length(h), 89856 * 4);
}

TEST(Conversions, BytesAndSecondsFollowTheStreamsOwnFormat) {
  Library lib(OutputChoice::Parse("null"));
  const Handle mono = lib.OpenFile(Fixture("wav_u8_mono.wav"));  // 22050 Hz, 1 channel
  ASSERT_NE(mono, kNoHandle);
  EXPECT_EQ(lib.Length(mono), 11025 * 2);
  EXPECT_DOUBLE_EQ(lib.BytesToSeconds(mono, 22050 * 2), 1.0);
  EXPECT_EQ(lib.SecondsToBytes(mono, 0.5), 11025 * 2);
  EXPECT_EQ(lib.FileSize(mono), static_cast<int64_t>(std::filesystem::file_size(Fixture("wav_u8_mono.wav"))));
  int frequency = 0, volume = 0;
  ASSERT_TRUE(lib.GetAttributes(mono, frequency, volume));
  EXPECT_EQ(frequency, 22050);
  EXPECT_EQ(volume, 100);
  EXPECT_FALSE(lib.SetAttributes(mono, 0, 101));
  EXPECT_FALSE(lib.SetAttributes(mono, -1, 50));
  EXPECT_TRUE(lib.SetAttributes(mono, 5, 50));  // the lowest rate, 100 Hz
  ASSERT_TRUE(lib.GetAttributes(mono, frequency, volume));
  EXPECT_EQ(frequency, 100);
  EXPECT_TRUE(lib.SetAttributes(mono, 11025, 50));
  ASSERT_TRUE(lib.GetAttributes(mono, frequency, volume));
  EXPECT_EQ(frequency, 11025);
  EXPECT_EQ(volume, 50);
  EXPECT_FALSE(lib.SetPosition(mono, lib.Length(mono) + 4));
}

}  // namespace
}  // namespace orve::audio::test
