// Broken files and invalid handles: no crash, no leak, the failed value.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

#include "AudioTestSupport.h"

namespace orve::audio::test {
namespace {

TEST(BrokenInput, FilesThatAreNoAudioDoNotOpen) {
  Library lib(OutputChoice::Parse("null"));
  for (const char* file : {"empty.mp3", "text.mp3", "no_such_file.mp3"}) {
    EXPECT_EQ(lib.OpenFile(Fixture(file)), kNoHandle) << file;
    EXPECT_EQ(lib.OpenDecoder(Fixture(file)), kNoHandle) << file;
    EXPECT_FALSE(lib.LastError().empty()) << file;
  }
}

// A cut or noisy file opens as a short stream that decodes what it can and
// plays to its end.
TEST(BrokenInput, DamagedFilesGiveAShortStream) {
  struct Case {
    const char* file;
    int64_t decodedFrames;  // what ffmpeg decodes of it
  };
  for (const Case& c : {Case{"truncated.mp3", 34607}, Case{"garbage_after_header.mp3", 2304}}) {
    Library lib(OutputChoice::Parse("null"));
    const Handle d = lib.OpenDecoder(Fixture(c.file));
    ASSERT_NE(d, kNoHandle) << c.file;
    std::vector<char> buffer(8192);
    int64_t total = 0;
    int n = 0;
    while ((n = lib.ReadDecoded(d, buffer.data(), static_cast<int>(buffer.size()))) > 0) total += n;
    EXPECT_EQ(n, 0);
    EXPECT_EQ(lib.Length(d), total) << c.file;
    EXPECT_NEAR(static_cast<double>(total / 4), static_cast<double>(c.decodedFrames), 1152.0) << c.file;
    EXPECT_EQ(lib.IsActive(d), ActiveState::kStopped);

    const Handle p = lib.OpenFile(Fixture(c.file));
    ASSERT_NE(p, kNoHandle) << c.file;
    ASSERT_TRUE(PlayToEnd(lib, p)) << c.file;
    EXPECT_EQ(lib.Position(p), lib.Length(p)) << c.file;
  }
}

// A 16-bit PCM WAV (or RF64 with a ds64 chunk) whose header says what the
// case says, followed by `frames` real frames of silence.
std::string HeaderWav(const ScratchDir& dir, const std::string& name, uint32_t rate, uint16_t channels,
                      uint32_t frames, bool rf64 = false, uint64_t rf64Claim = 0) {
  std::vector<unsigned char> b;
  auto put = [&](uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b.push_back(static_cast<unsigned char>(v >> (8 * i)));
  };
  auto tag = [&](const char* t) { b.insert(b.end(), t, t + 4); };
  const uint32_t dataBytes = frames * channels * 2u;
  tag(rf64 ? "RF64" : "RIFF");
  put(rf64 ? 0xFFFFFFFFu : 36 + dataBytes, 4);
  tag("WAVE");
  if (rf64) {
    tag("ds64");
    put(28, 4);
    put(rf64Claim, 8);  // whole file
    put(rf64Claim, 8);  // data
    put(rf64Claim, 8);  // sample count
    put(0, 4);                  // table length
  }
  tag("fmt ");
  put(16, 4);
  put(1, 2);
  put(channels, 2);
  put(rate, 4);
  put(uint64_t{rate} * channels * 2 & 0xFFFFFFFFu, 4);
  put(channels * 2u, 2);
  put(16, 2);
  tag("data");
  put(rf64 ? 0xFFFFFFFFu : dataBytes, 4);
  b.resize(b.size() + dataBytes, 0);
  const std::string path = dir.File(name);
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return path;
  std::fwrite(b.data(), 1, b.size(), f);
  std::fclose(f);
  return path;
}

// A header's rate or channel count sizes the buffers: a damaged one must
// be refused before anything is allocated from it (2*10^9 Hz would ask for
// gigabytes), while the highest real rates still play.
TEST(BrokenInput, ImplausibleRatesAndChannelCountsAreRefused) {
  ScratchDir dir;
  struct Case {
    uint32_t rate;
    uint16_t channels;
    bool opens;
  };
  for (const Case& c : {Case{2'000'000'000, 2, false}, Case{33'554'432, 2, false}, Case{768'001, 2, false},
                        Case{44100, 200, false}, Case{768'000, 2, true}, Case{384'000, 1, true}}) {
    const std::string path =
        HeaderWav(dir, "h" + std::to_string(c.rate) + "x" + std::to_string(c.channels) + ".wav", c.rate, c.channels, 4096);
    Library lib(OutputChoice::Parse("null"));
    const Handle p = lib.OpenFile(path);
    const Handle d = lib.OpenDecoder(path);
    EXPECT_EQ(p != kNoHandle, c.opens) << c.rate << " Hz " << c.channels << " ch: " << lib.LastError();
    EXPECT_EQ(d != kNoHandle, c.opens) << c.rate << " Hz " << c.channels << " ch";
    if (c.opens) {
      EXPECT_TRUE(PlayToEnd(lib, p)) << c.rate;
    } else {
      EXPECT_NE(lib.LastError().find("implausible"), std::string::npos) << lib.LastError();
    }
  }
}

// An RF64 file whose sizes lie: its length in bytes must not overflow.
TEST(BrokenInput, LyingSizesGiveNoNegativeLength) {
  ScratchDir dir;
  for (uint64_t claimed : {uint64_t{1} << 62, ~uint64_t{0} >> 1, ~uint64_t{0}}) {
    // Longer than the length scan reads in the foreground: the header's
    // length is what is told first.
    const std::string path = HeaderWav(dir, "lying.wav", 44100, 2, 4'500'000, true, claimed);
    Library lib(OutputChoice::Parse("null"));
    for (const Handle h : {lib.OpenDecoder(path), lib.OpenFile(path)}) {
      if (h == kNoHandle) continue;  // refusing it is as good
      EXPECT_GE(lib.Length(h), -1) << claimed;
      EXPECT_GE(lib.BytesToSeconds(h, lib.Length(h)), -1.0) << claimed;
    }
  }
}

void ExpectAllFail(Library& lib, Handle h) {
  std::vector<float> bins(512);
  std::vector<int16_t> wave(1024);
  char buffer[64];
  int frequency = 7, volume = 7;
  StreamInfo info;
  EXPECT_FALSE(lib.Play(h));
  EXPECT_FALSE(lib.Pause(h));
  EXPECT_FALSE(lib.Stop(h));
  EXPECT_EQ(lib.IsActive(h), ActiveState::kStopped);
  EXPECT_EQ(lib.Position(h), -1);
  EXPECT_EQ(lib.Length(h), -1);
  EXPECT_FALSE(lib.SetPosition(h, 0));
  EXPECT_EQ(lib.BytesToSeconds(h, 100), -1.0);
  EXPECT_EQ(lib.SecondsToBytes(h, 1.0), -1);
  EXPECT_EQ(lib.FileSize(h), -1);
  EXPECT_FALSE(lib.SetAttributes(h, 0, 50));
  EXPECT_FALSE(lib.GetAttributes(h, frequency, volume));
  EXPECT_FALSE(lib.GetInfo(h, info));
  EXPECT_EQ(lib.GetFft(h, bins.data(), 1024), -1);
  EXPECT_EQ(lib.GetWave(h, wave.data()), -1);
  EXPECT_EQ(lib.ReadDecoded(h, buffer, sizeof buffer), -1);
  const Tags tags = lib.GetTags(h);
  EXPECT_TRUE(tags.title.empty() && tags.artist.empty() && tags.comment.empty());
  EXPECT_EQ(lib.GetMetadata(h), "");
  lib.Free(h);  // harmless
}

TEST(BrokenInput, EveryOperationOnAnInvalidHandleFails) {
  Library lib(OutputChoice::Parse("null"));
  ExpectAllFail(lib, kNoHandle);
  ExpectAllFail(lib, 12345);
}

TEST(BrokenInput, EveryOperationOnAFreedHandleFails) {
  Library lib(OutputChoice::Parse("null"));
  const Handle playing = lib.OpenFile(Fixture("cbr.mp3"));
  const Handle decoding = lib.OpenDecoder(Fixture("cbr.mp3"));
  ASSERT_NE(playing, kNoHandle);
  ASSERT_NE(decoding, kNoHandle);
  ASSERT_TRUE(lib.Play(playing));
  lib.Free(playing);
  lib.Free(decoding);
  ExpectAllFail(lib, playing);
  ExpectAllFail(lib, decoding);
}

TEST(BrokenInput, ShutdownWithStreamsStillPlayingIsClean) {
  Library lib(OutputChoice::Parse("null"));
  for (const char* file : {"cbr.mp3", "vorbis.ogg", "tagged.wma"}) {
    const Handle h = lib.OpenFile(Fixture(file));
    ASSERT_NE(h, kNoHandle);
    ASSERT_TRUE(lib.Play(h));
  }
  ASSERT_NE(lib.OpenFile(Fixture("cbr.mp3")), kNoHandle);  // opened, never played
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
}

TEST(BrokenInput, DecodeOnlyStreamsCannotBePlayed) {
  Library lib(OutputChoice::Parse("null"));
  const Handle h = lib.OpenDecoder(Fixture("cbr.mp3"));
  ASSERT_NE(h, kNoHandle);
  EXPECT_FALSE(lib.Play(h));
  EXPECT_FALSE(lib.SetAttributes(h, 0, 50));
  char buffer[64];
  EXPECT_EQ(lib.ReadDecoded(h, nullptr, 64), -1);
  EXPECT_EQ(lib.ReadDecoded(h, buffer, -1), -1);
  EXPECT_EQ(lib.ReadDecoded(h, buffer, 3), 0);  // less than one frame
}

}  // namespace
}  // namespace orve::audio::test
