// Damaged media through the audio library: every case opens and decodes,
// plays and seeks to a clean end, or is refused with a reason; no case makes
// one memory request over 64 MB.
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "AudioTestSupport.h"
#include "support/CorruptMedia.h"
#include "support/LargestAllocation.h"

namespace orve::audio::test {
namespace {

constexpr size_t kMaxRequest = size_t{64} << 20;

// Decodes to the end; false when the stream never ends.
bool DecodesToAnEnd(Library& lib, Handle d) {
  std::vector<char> buffer(65536);
  // A lying header may promise more than the file holds, never more than
  // an hour of 8-channel 768 kHz float audio.
  for (int reads = 0; reads < 1'000'000; ++reads) {
    const int n = lib.ReadDecoded(d, buffer.data(), static_cast<int>(buffer.size()));
    if (n <= 0) return n == 0;
  }
  return false;
}

TEST(CorruptMedia, EveryCaseDecodesPlaysOrIsRefused) {
  ScratchDir dir;
  const auto cases = orve::test::MakeCorruptMedia(ORVE_FIXTURES_DIR "/audio", dir.Path());
  ASSERT_GT(cases.size(), 150u);
  Library lib(OutputChoice::Parse("null"));
  int opened = 0;
  for (const orve::test::CorruptCase& c : cases) {
    orve::test::allocation::Reset();
    const Handle d = lib.OpenDecoder(c.path);
    if (d == kNoHandle) {
      EXPECT_FALSE(lib.LastError().empty()) << c.what;
    } else {
      ++opened;
      EXPECT_GE(lib.Length(d), -1) << c.what;
      EXPECT_TRUE(DecodesToAnEnd(lib, d)) << c.what;
      lib.Free(d);
    }
    const Handle p = lib.OpenFile(c.path);
    if (p != kNoHandle) {
      EXPECT_TRUE(lib.Play(p)) << c.what;
      EXPECT_TRUE(WaitFor([&] { return lib.Position(p) > 0 || lib.IsActive(p) == ActiveState::kStopped; },
                          std::chrono::seconds(20)))
          << c.what;
      const int64_t length = lib.Length(p);
      EXPECT_GE(length, -1) << c.what;
      if (length > 0) {
        EXPECT_TRUE(lib.SetPosition(p, length / 2)) << c.what;
      }
      lib.Free(p);
    }
    if (orve::test::allocation::Available()) {
      EXPECT_LT(orve::test::allocation::Largest(), kMaxRequest) << c.what;
    }
  }
  EXPECT_GT(opened, 40);  // the damage left much of the corpus playable: the paths above ran
}

}  // namespace
}  // namespace orve::audio::test
