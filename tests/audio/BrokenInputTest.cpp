// Broken files and invalid handles: no crash, no leak, the failed value.
#include <gtest/gtest.h>

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
