// "Применить" while the echo plays: what is heard changes at once, and
// nothing is stored. Heard through the wav: output.
#include <cmath>

#include "AudioTestSupport.h"
#include "SettingsFixture.h"
#include "audio/WavWriter.h"
#include "support/Wait.h"

namespace orve::test {
namespace {

constexpr double kFirstClick = 0.25;  // s
constexpr int kClicks = 5;            // one a second
constexpr float kClick = 0.8f;

// Clicks on silence, at the output's rate so no resampling blurs them.
void WriteClicks(const QString& fileName, int rate) {
  std::vector<float> stereo(static_cast<size_t>(rate) * (kClicks + 1) * 2, 0.0f);
  for (int k = 0; k < kClicks; ++k) {
    const auto at = static_cast<size_t>((kFirstClick + k) * rate) * 2;
    stereo[at] = stereo[at + 1] = kClick;
  }
  audio::WavWriter writer;
  std::string error;
  ASSERT_TRUE(writer.Open(fileName.toStdString(), rate, error)) << error;
  ASSERT_TRUE(writer.Write(stereo.data(), static_cast<int>(stereo.size() / 2)));
  ASSERT_TRUE(writer.Close());
}

// The largest |left| from `at` + `ms` - 3 ms to `at` + `ms` + 3 ms.
float EchoAt(const audio::test::Capture& c, int64_t at, int ms) {
  float peak = 0;
  const int64_t centre = at + static_cast<int64_t>(ms) * c.rate / 1000;
  for (int64_t n = centre - c.rate * 3 / 1000; n <= centre + c.rate * 3 / 1000 && n < c.Frames(); ++n) {
    peak = std::max(peak, std::abs(c.samples[static_cast<size_t>(2 * n)]));
  }
  return peak;
}

TEST_F(SettingsTest, ApplyWhileTheEchoPlaysMovesTheEcho) {
  const QString capture = home.file("heard.wav");
  qputenv("ORVE_AUDIO_OUTPUT", ("wav:" + capture).toUtf8());
  Create();
  TCore& engine = *state.Engine;
  const QString clicks = home.file("clicks.wav");
  WriteClicks(clicks, engine.Library()->OutputRate());
  engine.Paths << clicks;
  engine.Titles << "clicks";
  engine.Durations << "6";
  engine.Kinds << "1";
  engine.OpenEntry(0);
  engine.SwitchEffect(Effect::Echo, true);  // nothing stored: 500 ms, feedback 50 %
  engine.Play();
  // Once the first click's echo has been heard, the echo is moved to 200 ms.
  audio::Library& lib = *engine.Library();
  ASSERT_TRUE(WaitUntil([&] { return lib.BytesToSeconds(engine.Handle(), lib.Position(engine.Handle())) >= 1.0; }));
  window->Open();
  Ui().echoLeftDelayField->setValue(200);
  Ui().echoRightDelayField->setValue(200);
  window->Apply();
  ASSERT_TRUE(WaitUntil([&] { return engine.Ended(); }, 20000));
  engine.Shutdown();
  EXPECT_FALSE(QFile::exists(home.file("config.ini")));

  const audio::test::Capture c = audio::test::ReadCapture(capture.toStdString());
  ASSERT_GT(c.Frames(), c.rate * kClicks);
  int64_t first = 0;
  while (first < c.Frames() && std::abs(c.samples[static_cast<size_t>(2 * first)]) < kClick / 4) ++first;
  ASSERT_LT(first, c.Frames());
  const float echo = kClick * 0.4330f;  // half wet, feedback 50 %
  // Before: the echo half a second after the click.
  EXPECT_NEAR(EchoAt(c, first, 500), echo, echo * 0.05f);
  EXPECT_LT(EchoAt(c, first, 200), echo * 0.05f);
  // After: 200 ms, and nothing left at 500 ms.
  const int64_t last = first + static_cast<int64_t>(kClicks - 1) * c.rate;
  EXPECT_NEAR(EchoAt(c, last, 200), echo, echo * 0.1f);
  EXPECT_LT(EchoAt(c, last, 500), echo * 0.1f);
}

}  // namespace
}  // namespace orve::test
