// Long MP3 files, and those whose LAME header states their length, are
// scanned for their seek index on a worker; here the limit for scanning at
// open is mostly set to 0 so the small fixtures take that way.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "AudioTestSupport.h"
#include "audio/Decoder.h"

namespace orve::audio::test {
namespace {

TEST(BackgroundScan, GivesTheTrueLengthAndExactSeeksOnceDone) {
  for (const char* file : {"vbr_xing.mp3", "vbr_noheader.mp3", "cbr.mp3"}) {
    std::string error;
    auto d = Decoder::Open(Fixture(file), Decoder::Output::kS16, error, 0);
    ASSERT_NE(d, nullptr) << error;
    const std::vector<int16_t> ref = FfmpegDecode(Fixture(file));
    const int64_t refFrames = static_cast<int64_t>(ref.size() / 2);

    // The start is trimmed from the first packet's word, scan or no scan.
    std::vector<int16_t> all(2 * 4096);
    ASSERT_EQ(d->Read(all.data(), 4096), 4096);
    ASSERT_TRUE(WaitFor([&] { return d->LengthFrames() == refFrames; })) << file << " " << d->LengthFrames();
    std::vector<int16_t> block(2 * 4096);
    int n = 0;
    while ((n = d->Read(block.data(), 4096)) > 0) all.insert(all.end(), block.begin(), block.begin() + 2 * n);
    EXPECT_EQ(all, ref) << file;
    EXPECT_EQ(d->LengthFrames(), refFrames);

    const int64_t middle = refFrames / 2;
    ASSERT_TRUE(d->Seek(middle));
    ASSERT_EQ(d->Read(block.data(), 1000), 1000);
    EXPECT_TRUE(std::equal(block.begin(), block.begin() + 2000, ref.begin() + 2 * middle)) << file;
  }
}

TEST(BackgroundScan, ASeekBeforeTheScanEndsWaitsForIt) {
  std::string error;
  auto d = Decoder::Open(Fixture("vbr_noheader.mp3"), Decoder::Output::kS16, error, 0);
  ASSERT_NE(d, nullptr) << error;
  const std::vector<int16_t> ref = FfmpegDecode(Fixture("vbr_noheader.mp3"));
  ASSERT_TRUE(d->Seek(30000));
  std::vector<int16_t> piece(2 * 1000);
  ASSERT_EQ(d->Read(piece.data(), 1000), 1000);
  EXPECT_TRUE(std::equal(piece.begin(), piece.end(), ref.begin() + 2 * 30000));
  EXPECT_EQ(d->LengthFrames(), static_cast<int64_t>(ref.size() / 2));
}

// An MP3 whose LAME header states its length opens without a scan: the
// length is exact at once, and a decode that outruns the worker's index
// still ends at the last true sample (its padding trimmed).
TEST(BackgroundScan, AFileWithALameHeaderIsExactFromTheStartWhateverTheIndexDoes) {
  for (const char* file : {"vbr_xing.mp3", "cbr.mp3"}) {
    const std::vector<int16_t> ref = FfmpegDecode(Fixture(file));
    for (int round = 0; round < 10; ++round) {
      std::string error;
      auto d = Decoder::Open(Fixture(file), Decoder::Output::kS16, error);
      ASSERT_NE(d, nullptr) << error;
      EXPECT_EQ(d->LengthFrames(), static_cast<int64_t>(ref.size() / 2)) << file;
      std::vector<int16_t> all(ref.size() + 2 * 4096);
      const int n = d->Read(all.data(), static_cast<int>(all.size() / 2));
      all.resize(2 * static_cast<size_t>(n));
      ASSERT_EQ(all, ref) << file << " round " << round;
    }
  }
}

TEST(BackgroundScan, FreeingWhileTheScanRunsIsClean) {
  for (int i = 0; i < 20; ++i) {
    std::string error;
    auto d = Decoder::Open(Fixture("vbr_xing.mp3"), Decoder::Output::kFloat, error, 0);
    ASSERT_NE(d, nullptr) << error;
  }
}

}  // namespace
}  // namespace orve::audio::test
