// Effects on a channel: the order the chain runs them in, the handle rules
// of the library, and an effect added or removed while playing is heard.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <thread>

#include "AudioTestSupport.h"
#include "audio/EffectsChain.h"

namespace orve::audio::test {
namespace {

// A block whose place in the order shows in the result: y = x * mul + add.
class Affine : public dsp::DspBlock {
 public:
  Affine(float mul, float add) : mul_(mul), add_(add) {}
  void Prepare(int) override {}
  void Reset() override {}
  void Process(float* stereo, int frames) override {
    for (int i = 0; i < 2 * frames; ++i) stereo[i] = stereo[i] * mul_ + add_;
  }
  bool SetParams(const dsp::EffectParams&) override { return false; }
  dsp::EffectParams GetParams() const override { return dsp::LimiterParams{}; }

 private:
  float mul_, add_;
};

float Through(EffectsChain& chain, float x) {
  float frame[2] = {x, x};
  chain.Process(frame, 1);
  return frame[0];
}

TEST(EffectsChain, HigherPriorityFirstThenOrderOfCreation) {
  EffectsChain chain;
  ASSERT_TRUE(chain.Add(1, std::make_unique<Affine>(2, 0), 1));   // x2
  ASSERT_TRUE(chain.Add(2, std::make_unique<Affine>(1, 1), 1));   // +1, created later: after
  EXPECT_EQ(Through(chain, 1), 3);                                     // (1*2)+1
  ASSERT_TRUE(chain.Add(3, std::make_unique<Affine>(1, 10), 5));  // higher priority: first
  EXPECT_EQ(Through(chain, 1), 23);                                    // ((1+10)*2)+1
  ASSERT_TRUE(chain.Add(4, std::make_unique<Affine>(-1, 0), 0));  // lower priority: last
  EXPECT_EQ(Through(chain, 1), -23);
  EXPECT_TRUE(chain.Remove(3));
  EXPECT_FALSE(chain.Remove(3));
  EXPECT_EQ(Through(chain, 1), -3);
  EXPECT_NE(chain.Find(1), nullptr);
  EXPECT_EQ(chain.Find(3), nullptr);
  EXPECT_FALSE(chain.Add(0, std::make_unique<Affine>(1, 0), 1));  // 0 is never a handle
  EXPECT_FALSE(chain.Add(5, nullptr, 1));
}

TEST(EffectsChain, ChangesWhileTheAudioThreadRuns) {
  // The UI thread adds and removes while another thread processes: nothing
  // tears, nothing is freed under the processing thread (run under the sanitizers).
  EffectsChain chain;
  std::atomic<bool> stop{false};
  std::atomic<int> blocks{0};
  std::thread audio([&] {
    float block[2 * 256] = {};
    while (!stop.load()) {
      chain.Process(block, 256);
      ++blocks;
    }
  });
  while (blocks.load() == 0) std::this_thread::yield();
  for (uint32_t id = 1; id <= 20000; ++id) {
    ASSERT_TRUE(chain.Add(id, std::make_unique<Affine>(1, 0), static_cast<int>(id % 3)));
    if (id % 2 == 0) chain.Remove(id - 1);
    if (chain.Count() > 50) chain.Remove(id);  // keeps it below the chain's limit
  }
  stop = true;
  audio.join();
  EXPECT_GT(blocks.load(), 0);
}

TEST(LibraryEffects, HandleRules) {
  Library lib(OutputChoice::Parse("null"));
  const Handle a = lib.OpenFile(Fixture("sine_s16.wav"));
  const Handle b = lib.OpenFile(Fixture("cbr.mp3"));
  const Handle decodeOnly = lib.OpenDecoder(Fixture("sine_s16.wav"));
  EXPECT_EQ(lib.AddEffect(kNoHandle, dsp::EffectType::kEcho, 1), 0u);
  EXPECT_EQ(lib.AddEffect(decodeOnly, dsp::EffectType::kEcho, 1), 0u);
  EXPECT_EQ(lib.AddEffect(a, static_cast<dsp::EffectType>(2), 1), 0u);  // no such type
  const auto fxA = lib.AddEffect(a, dsp::EffectType::kEcho, 1);
  const auto fxB = lib.AddEffect(b, dsp::EffectType::kEcho, 1);
  ASSERT_NE(fxA, 0u);
  ASSERT_NE(fxB, 0u);
  EXPECT_NE(fxA, fxB);
  dsp::EchoParams echo;
  echo.leftDelay = 250;
  EXPECT_TRUE(lib.SetEffectParameters(a, fxA, echo));
  EXPECT_FALSE(lib.SetEffectParameters(a, fxA, dsp::GargleParams{}));  // another effect's record
  EXPECT_FALSE(lib.SetEffectParameters(b, fxA, echo));                 // not on that channel
  dsp::EffectParams back;
  ASSERT_TRUE(lib.GetEffectParameters(a, fxA, back));
  EXPECT_EQ(std::get<dsp::EchoParams>(back).leftDelay, 250);
  EXPECT_TRUE(lib.RemoveEffect(a, fxA));
  EXPECT_FALSE(lib.RemoveEffect(a, fxA));
  lib.Free(b);
  EXPECT_FALSE(lib.RemoveEffect(b, fxB));
  EXPECT_FALSE(lib.GetEffectParameters(b, fxB, back));
}

// Frames of the longest run where both channels stay below `level`.
int64_t LongestQuietRun(const Capture& c, int64_t from, float level) {
  int64_t best = 0, run = 0;
  for (int64_t i = from; i < c.Frames(); ++i) {
    const bool quiet = std::fabs(c.samples[2 * i]) < level && std::fabs(c.samples[2 * i + 1]) < level;
    run = quiet ? run + 1 : 0;
    best = std::max(best, run);
  }
  return best;
}

TEST(LibraryEffects, AnEchoAddedWhilePlayingIsHeard) {
  ScratchDir dir;
  const std::string capture = dir.File("echo.wav");
  int64_t soundBefore = 0;
  {
    Library lib(OutputChoice::Parse(("wav:" + capture).c_str()));
    const Handle h = lib.OpenFile(Fixture("sine_s16.wav"));
    ASSERT_NE(h, kNoHandle);
    ASSERT_TRUE(lib.Play(h));
    ASSERT_TRUE(WaitFor([&] { return lib.BytesToSeconds(h, lib.Position(h)) > 0.5; }));
    // Wet only, no feedback: the music goes silent for the delay, then comes back delayed.
    dsp::EchoParams echo{100, 0, 300, 300, 0};
    const auto fx = lib.AddEffect(h, dsp::EffectType::kEcho, 1);
    ASSERT_TRUE(lib.SetEffectParameters(h, fx, echo));
    ASSERT_TRUE(PlayToEnd(lib, h));
    soundBefore = lib.OutputRate() / 2;  // the first half second played without it
  }
  const Capture c = ReadCapture(capture);
  ASSERT_GT(c.Frames(), 0);
  const int64_t quiet = LongestQuietRun(c, soundBefore / 2, 0.01f);
  // The delay line starts empty: about 300 ms of silence (less the ramp-in of the change).
  EXPECT_GT(quiet, c.rate * 250 / 1000);
  EXPECT_LT(quiet, c.rate * 330 / 1000);
}

}  // namespace
}  // namespace orve::audio::test
