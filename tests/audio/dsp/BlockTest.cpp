// What every block shares: the factory and record types, clamping, the
// parameter handover between threads, click-free parameter sweeps, the
// denormal flush, extreme settings, Reset and Process before Prepare.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <functional>
#include <thread>

#include "DspTestSupport.h"
#include "audio/dsp/Chorus.h"
#include "audio/dsp/Compressor.h"
#include "audio/dsp/Echo.h"
#include "audio/dsp/Flanger.h"
#include "audio/dsp/Gargle.h"
#include "audio/dsp/I3dl2Reverb.h"
#include "audio/dsp/MusicReverb.h"
#include "audio/dsp/ParamEq.h"
#include "audio/dsp/PeakLimiter.h"

namespace orve::dsp::test {
namespace {

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;

TEST(BlockTest, FactoryMakesEachEffectTypeWithItsDefaults) {
  struct Case { int type; size_t recordIndex; };
  const Case cases[] = {{0, 0}, {1, 1}, {3, 2}, {4, 3}, {5, 4}, {6, 5}, {7, 6}, {8, 7}};
  for (const Case& c : cases) {
    auto block = CreateEffect(c.type);
    ASSERT_NE(block, nullptr) << c.type;
    EXPECT_EQ(block->GetParams().index(), c.recordIndex) << c.type;
  }
  for (int unknown : {-1, 2, 9}) EXPECT_EQ(CreateEffect(unknown), nullptr) << unknown;

  auto echo = CreateEffect(3);
  EXPECT_FALSE(echo->SetParams(ChorusParams{}));
  EXPECT_TRUE(echo->SetParams(EchoParams{10, 20, 30, 40, -1}));
  const auto got = std::get<EchoParams>(echo->GetParams());
  EXPECT_EQ(got.wetDryMix, 10);
  EXPECT_EQ(got.panDelay, 1);
}

TEST(BlockTest, RecordsAreClampedToTheirRanges) {
  const float nan = std::nanf("");
  EXPECT_EQ(Clamped(ParamEqParams{20, 50, 30}).center, 80);
  EXPECT_EQ(Clamped(ParamEqParams{20, 50, 30}).bandwidth, 36);
  EXPECT_EQ(Clamped(ParamEqParams{20, 50, 30}).gain, 15);
  EXPECT_EQ(Clamped(ParamEqParams{nan, 5, -40}).center, 8000);
  EXPECT_EQ(Clamped(EchoParams{150, -5, 0, 5000, 0}).wetDryMix, 100);
  EXPECT_EQ(Clamped(EchoParams{150, -5, 0, 5000, 0}).leftDelay, 1);
  EXPECT_EQ(Clamped(EchoParams{150, -5, 0, 5000, 0}).rightDelay, 2000);
  EXPECT_EQ(Clamped(FlangerParams{50, 100, -50, 0.25f, 1, 16, 2}).delay, 4);
  EXPECT_EQ(Clamped(ChorusParams{50, 10, 25, 1.1f, 7, 16, 9}).waveform, 1);
  EXPECT_EQ(Clamped(ChorusParams{50, 10, 25, 1.1f, 7, 16, 9}).phase, 4);
  EXPECT_EQ(Clamped(CompressorParams{0, 0, 0, -100, 0.5f, 10}).attack, 0.01f);
  EXPECT_EQ(Clamped(CompressorParams{0, 0, 0, -100, 0.5f, 10}).ratio, 1);
  EXPECT_EQ(Clamped(GargleParams{0, 5}).rateHz, 1u);
  EXPECT_EQ(Clamped(GargleParams{0, 5}).waveShape, 1u);
  I3dl2ReverbParams r;
  r.room = 500;
  r.decayTime = 100;
  EXPECT_EQ(Clamped(r).room, 0);
  EXPECT_EQ(Clamped(r).decayTime, 20);
  EXPECT_EQ(Clamped(MusicReverbParams{-200, 5, 0, 1}).highFreqRTRatio, 0.999f);
}

TEST(BlockTest, ParameterHandoverNeverTearsARecord) {
  ParamMailbox<CompressorParams> box;
  std::atomic<bool> done{false};
  std::thread writer([&] {
    for (int i = 1; i <= 200000; ++i) {
      const auto f = static_cast<float>(i);
      box.Write({f, f, f, f, f, f});
    }
    done = true;
  });
  CompressorParams got;
  float last = 0;
  bool torn = false, backwards = false;
  for (;;) {
    const bool finished = done;  // read before the mailbox: nothing is written after it
    if (box.Read(got)) {
      torn |= got.attack != got.gain || got.predelay != got.gain;
      backwards |= got.gain < last;
      last = got.gain;
    } else if (finished) {
      break;
    }
  }
  writer.join();
  EXPECT_FALSE(torn);
  EXPECT_FALSE(backwards);
  EXPECT_EQ(last, 200000.0f);
}

// A block and a way to move its parameters (u in 0..1).
struct Sweepable {
  const char* name;
  std::function<std::unique_ptr<DspBlock>()> make;
  std::function<void(DspBlock&, double)> set;
};

template <typename B>
std::function<void(DspBlock&, double)> Setter(std::function<typename B::Params(double)> f) {
  return [f](DspBlock& b, double u) { static_cast<B&>(b).SetParameters(f(u)); };
}

std::vector<Sweepable> Sweepables() {
  auto lerp = [](double a, double b, double u) { return static_cast<float>(a + (b - a) * u); };
  return {
      {"param eq", [] { return std::make_unique<ParamEq>(); },
       Setter<ParamEq>([=](double u) { return ParamEqParams{lerp(200, 4000, u), lerp(2, 24, u), lerp(-15, 15, u)}; })},
      {"echo", [] { return std::make_unique<Echo>(); },
       Setter<Echo>([=](double u) { return EchoParams{lerp(0, 100, u), lerp(0, 90, u), lerp(50, 700, u), lerp(900, 20, u), u > 0.5}; })},
      {"chorus", [] { return std::make_unique<Chorus>(); },
       Setter<Chorus>([=](double u) { return ChorusParams{lerp(0, 100, u), lerp(0, 100, u), 0, lerp(0.5, 5, u), u > 0.5, lerp(2, 20, u), static_cast<int>(u * 4.99)}; })},
      {"flanger", [] { return std::make_unique<Flanger>(); },
       Setter<Flanger>([=](double u) { return FlangerParams{lerp(0, 100, u), lerp(0, 100, u), 0, lerp(0.1, 5, u), u > 0.5, lerp(0.5, 4, u), static_cast<int>(u * 4.99)}; })},
      {"compressor", [] { return std::make_unique<Compressor>(); },
       Setter<Compressor>([=](double u) { return CompressorParams{lerp(-12, 12, u), lerp(5, 50, u), 200, lerp(0, -40, u), lerp(1, 20, u), lerp(0, 4, u)}; })},
      {"gargle", [] { return std::make_unique<Gargle>(); },
       Setter<Gargle>([=](double u) { return GargleParams{static_cast<uint32_t>(lerp(1, 40, u)), 0}; })},
      {"i3dl2 reverb", [] { return std::make_unique<I3dl2Reverb>(); },
       Setter<I3dl2Reverb>([=](double u) {
         I3dl2ReverbParams p;
         p.room = static_cast<int32_t>(lerp(-3000, 0, u));
         p.roomHF = static_cast<int32_t>(lerp(0, -2000, u));
         p.reflections = static_cast<int32_t>(lerp(-3000, 0, u));
         p.reflectionsDelay = lerp(0.002, 0.2, u);
         p.reverbDelay = lerp(0.0, 0.1, u);
         p.density = lerp(0, 100, u);
         p.diffusion = lerp(0, 100, u);
         p.decayTime = lerp(0.3, 4, u);
         p.decayHFRatio = lerp(0.2, 1.5, u);
         return p;
       })},
      {"music reverb", [] { return std::make_unique<MusicReverb>(); },
       Setter<MusicReverb>([=](double u) { return MusicReverbParams{lerp(-20, 0, u), lerp(-30, 0, u), lerp(100, 3000, u), lerp(0.01, 0.99, u)}; })},
      {"limiter", [] { return std::make_unique<PeakLimiter>(); },
       Setter<PeakLimiter>([=](double u) { return LimiterParams{lerp(-12, 0, u), lerp(10, 500, u)}; })},
  };
}

// A 220 Hz sine moves by at most omega * peak per frame; a click jumps by a
// large part of the peak. Parameters move every 128 frames, up and back.
TEST(BlockTest, ParameterSweepsDoNotClick) {
  const double hz = 220, omega = 2 * kPi * hz / kRate;
  for (const Sweepable& s : Sweepables()) {
    auto block = s.make();
    s.set(*block, 0);
    block->Prepare(kRate);
    Stereo audio = Sine(hz, 0.25, kRate, 4 * kRate);
    const int step = 128, frames = 4 * kRate;
    for (int at = 0; at < frames; at += step) {
      const double u = at < frames / 2 ? 2.0 * at / frames : 2.0 - 2.0 * at / frames;
      s.set(*block, u);
      block->Process(audio.data() + 2 * at, std::min(step, frames - at));
    }
    for (int c = 0; c < 2; ++c) {
      const Mono y = Channel(audio, c);
      const size_t from = kRate / 2;  // past the onset of the sine
      double worst = 0;
      for (size_t i = from + 1; i < y.size(); ++i) worst = std::max(worst, double{std::fabs(y[i] - y[i - 1])});
      EXPECT_LE(worst, 1.5 * omega * PeakAbs(y, from, y.size())) << s.name << " channel " << c;
    }
  }
}

// With FTZ/DAZ off (the test thread's default), an impulse followed by a
// minute of silence must end in exact zeros, with no subnormal on the way.
TEST(BlockTest, TailsFlushToExactZeroWithoutSubnormals) {
  std::vector<std::pair<const char*, std::unique_ptr<DspBlock>>> blocks;
  blocks.emplace_back("param eq", Prepared<ParamEq>(kRate, {100, 3, 15}));
  blocks.emplace_back("echo", Prepared<Echo>(kRate));
  blocks.emplace_back("chorus", Prepared<Chorus>(kRate));
  blocks.emplace_back("flanger", Prepared<Flanger>(kRate));
  blocks.emplace_back("compressor", Prepared<Compressor>(kRate));
  blocks.emplace_back("gargle", Prepared<Gargle>(kRate));
  blocks.emplace_back("i3dl2 reverb", Prepared<I3dl2Reverb>(kRate));
  blocks.emplace_back("music reverb", Prepared<MusicReverb>(kRate));
  blocks.emplace_back("limiter", Prepared<PeakLimiter>(kRate));
  for (auto& [name, block] : blocks) {
    Stereo audio = Impulse(60 * kRate);
    ProcessAll(*block, audio);
    bool subnormal = false;
    for (float v : audio) subnormal |= std::fpclassify(v) == FP_SUBNORMAL;
    EXPECT_FALSE(subnormal) << name;
    EXPECT_EQ(PeakAbs(Channel(audio, 0), 55 * kRate, 60 * kRate), 0.0) << name;
  }
}

// Every extreme on a minute of full-scale noise, followed by the limiter:
// finite everywhere, never above 0 dBFS.
TEST(BlockTest, ExtremeSettingsStayFiniteAndUnderFullScale) {
  std::vector<std::unique_ptr<DspBlock>> chain;
  for (float centre : {100.0f, 1000.0f, 8000.0f, 16000.0f}) chain.push_back(Prepared<ParamEq>(kRate, {centre, 5, 15}));
  chain.push_back(Prepared<Echo>(kRate, {50, 100, 1, 2000, 1}));
  chain.push_back(Prepared<Flanger>(kRate, {50, 100, -99, 10, 0, 4, 0}));
  chain.push_back(Prepared<Chorus>(kRate, {50, 100, 99, 10, 1, 20, 4}));
  chain.push_back(Prepared<Compressor>(kRate, {60, 0.01f, 50, -60, 100, 0}));
  chain.push_back(Prepared<Gargle>(kRate, {1000, 1}));
  I3dl2ReverbParams longBright;
  longBright.room = 0;
  longBright.reverb = 2000;
  longBright.decayTime = 20;
  longBright.decayHFRatio = 2;
  chain.push_back(Prepared<I3dl2Reverb>(kRate, longBright));
  chain.push_back(Prepared<MusicReverb>(kRate, {0, 0, 3000, 0.999f}));
  chain.push_back(Prepared<PeakLimiter>(kRate));
  Stereo audio = Noise(60 * kRate, 1.0f, 41);
  const int frames = 60 * kRate;
  for (int at = 0; at < frames; at += 512)
    for (auto& b : chain) b->Process(audio.data() + 2 * at, std::min(512, frames - at));
  bool finite = true;
  float peak = 0;
  for (float v : audio) finite &= std::isfinite(v), peak = std::max(peak, std::fabs(v));
  EXPECT_TRUE(finite);
  EXPECT_LE(peak, 1.0f);
}

TEST(BlockTest, ResetClearsTheTailAndUnpreparedBlocksLeaveAudioAlone) {
  auto echo = Prepared<Echo>(kRate);
  Stereo audio = Impulse(kRate / 10);
  ProcessAll(*echo, audio);
  echo->Reset();
  Stereo silence(2 * kRate, 0.0f);
  ProcessAll(*echo, silence);
  EXPECT_EQ(PeakAbs(Channel(silence, 0), 0, kRate), 0.0);

  Echo unprepared;
  const Stereo in = Noise(1000, 0.5f, 42);
  Stereo out = in;
  unprepared.Process(out.data(), 1000);
  EXPECT_EQ(out, in);
}

}  // namespace
}  // namespace orve::dsp::test

namespace orve::dsp::test {
namespace {

// A block made with its defaults and then sent its first record (as a new
// stream's equalizer is) starts at that record: no sweep from the defaults.
TEST(BlockTest, TheFirstRecordSetAfterPreparingAppliesAtOnce) {
  const auto band = CreateEffect(static_cast<int>(EffectType::kParamEq));
  band->Prepare(44100);
  ASSERT_TRUE(band->SetParams(ParamEqParams{100, 5, 15}));
  // 5 kHz is far from a 100 Hz band: it must pass unchanged from the first
  // sample, not ring through a band sweeping down from 8 kHz.
  Stereo audio = Sine(5000, 0.25, 44100, 4410);
  const Stereo dry = audio;
  band->Process(audio.data(), 4410);
  const Mono wet = Channel(audio, 0), in = Channel(dry, 0);
  EXPECT_LT(Db(PeakAbs(wet, 0, 441) / PeakAbs(in, 0, 441)), 0.5);
  // A later record ramps as usual.
  ASSERT_TRUE(band->SetParams(ParamEqParams{5000, 5, 15}));
  Stereo next = Sine(5000, 0.25, 44100, 64);
  band->Process(next.data(), 64);
  EXPECT_LT(Db(PeakAbs(Channel(next, 0), 0, 64) / 0.25), 10.0);
}

}  // namespace
}  // namespace orve::dsp::test
