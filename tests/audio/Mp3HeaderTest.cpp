// Exact MP3 lengths from LAME headers: on every kind of file LAME and
// FFmpeg's libmp3lame write, the header's length is the length a full scan
// of the frames gives; a header that no longer fits its file (frames cut or
// appended, a damaged tag) is not believed, and the scan decides.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "AudioTestSupport.h"
#include "audio/Decoder.h"
#include "audio/MeasureFile.h"
#include "audio/Mp3Header.h"

namespace orve::audio {
namespace {

using test::Fixture;
using test::RunCommand;
using test::ScratchDir;

// The length a full scan of every frame gives.
int64_t ScannedFrames(const std::string& path) {
  std::string error;
  auto d = Decoder::Open(path, Decoder::Output::kS16, error, INT64_MAX);
  return d == nullptr ? -1 : d->LengthFrames();
}

std::vector<char> Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
void Store(const std::string& path, const std::vector<char>& bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

TEST(Mp3Header, FixturesWithAHeaderGiveTheScannedLength) {
  struct Case {
    const char* file;
    bool header;
  } cases[] = {
      {"cbr.mp3", true},       {"vbr_xing.mp3", true},        {"rate22050.mp3", true},
      {"id3v1_cp1251.mp3", true}, {"truncated.mp3", false},   {"vbr_noheader.mp3", false},
      {"layer2.mp2", false},   {"layer1.mp1", false},         {"garbage_after_header.mp3", false},
      {"sine_s16.wav", false}, {"text.mp3", false},           {"empty.mp3", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const std::optional<HeaderLength> h = LengthFromLameHeader(Fixture(c.file));
    ASSERT_EQ(h.has_value(), c.header);
    if (h) {
      EXPECT_EQ(h->frames, ScannedFrames(Fixture(c.file)));
    }
  }
}

// Files of many kinds, encoded here by lame and by FFmpeg's libmp3lame.
TEST(Mp3Header, EveryEncoderModeAndRateAgreesWithTheScan) {
  ScratchDir dir;
  const std::string wav = dir.File("in.wav");
  ASSERT_TRUE(RunCommand("ffmpeg -v error -f lavfi -i 'sine=f=440:d=3.3' -f lavfi -i 'anoisesrc=d=3.3:a=0.1' "
                         "-filter_complex amerge -ar 48000 -y '" + wav + "'"));
  struct Case {
    const char* name;
    std::string command;  // IN and OUT replaced
    bool header = true;
  } cases[] = {
      {"lame cbr 320", "lame --silent -b 320 IN OUT"},
      {"lame vbr V0", "lame --silent -V 0 IN OUT"},
      {"lame vbr V9", "lame --silent -V 9 IN OUT"},
      {"lame abr 96", "lame --silent --abr 96 IN OUT"},
      {"lame mono", "lame --silent -m m -b 64 IN OUT"},
      {"lame 32 kHz", "lame --silent --resample 32 IN OUT"},
      {"lame 22.05 kHz (MPEG-2)", "lame --silent --resample 22.05 -V 5 IN OUT"},
      {"lame 8 kHz (MPEG-2.5)", "lame --silent --resample 8 -b 32 IN OUT"},
      // A 144-byte frame has no room for the header: LAME writes none.
      {"lame 8 kHz at 16 kbit/s", "lame --silent --resample 8 -b 16 IN OUT", false},
      {"lame with tags", "lame --silent --tt Title --ta Artist --add-id3v2 --pad-id3v2-size 5000 IN OUT"},
      {"lame id3v1 only", "lame --silent --tt Title --id3v1-only IN OUT"},
      {"ffmpeg cbr", "ffmpeg -v error -i IN -c:a libmp3lame -b:a 192k -y OUT"},
      {"ffmpeg vbr", "ffmpeg -v error -i IN -c:a libmp3lame -q:a 2 -y OUT"},
      {"ffmpeg 44.1 kHz mono", "ffmpeg -v error -i IN -ac 1 -ar 44100 -c:a libmp3lame -b:a 96k -y OUT"},
      // Another encoder under FFmpeg's tag, which states no padding: the
      // decoder's own delay is still trimmed.
      {"ffmpeg shine", "ffmpeg -v error -i IN -c:a libshine -b:a 128k -y OUT"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string out = dir.File("out.mp3");
    std::string command = c.command;
    command.replace(command.find("IN"), 2, "'" + wav + "'");
    command.replace(command.find("OUT"), 3, "'" + out + "'");
    ASSERT_TRUE(RunCommand(command));
    const std::optional<HeaderLength> h = LengthFromLameHeader(out);
    ASSERT_EQ(h.has_value(), c.header);
    std::string error;
    auto scanned = Decoder::Open(out, Decoder::Output::kS16, error, INT64_MAX);
    ASSERT_NE(scanned, nullptr);
    if (h) {
      EXPECT_EQ(h->frames, scanned->LengthFrames());
      EXPECT_EQ(h->rate, scanned->Rate());
      // And what the ffmpeg program decodes, independent of any header.
      EXPECT_EQ(h->frames, static_cast<int64_t>(test::FfmpegDecode(out, "-ac 1").size()));
    }
    const FileMeasure m = MeasureFile(out);
    EXPECT_TRUE(m.opened);
    EXPECT_DOUBLE_EQ(m.seconds, static_cast<double>(scanned->LengthFrames()) / scanned->Rate());
  }
}

TEST(Mp3Header, AHeaderThatNoLongerFitsItsFileIsNotBelieved) {
  ScratchDir dir;
  const std::vector<char> original = Bytes(Fixture("cbr.mp3"));
  const std::vector<char> other = Bytes(Fixture("vbr_xing.mp3"));
  // Where the header frame starts (after the ID3v2 tag).
  const size_t tagSize = 10 + ((original[6] & 0x7F) << 21 | (original[7] & 0x7F) << 14 | (original[8] & 0x7F) << 7 |
                               (original[9] & 0x7F));
  struct Case {
    const char* what;
    std::vector<char> bytes;
  } cases[] = {
      {"cut by one byte", {original.begin(), original.end() - 1}},
      {"frames appended", [&] { auto b = original; b.insert(b.end(), other.begin(), other.end()); return b; }()},
      {"the tag damaged", [&] { auto b = original; b[tagSize + 36 + 8 + 3] ^= 1; return b; }()},  // the frame count
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string file = dir.File("lie.mp3");
    Store(file, c.bytes);
    EXPECT_FALSE(LengthFromLameHeader(file).has_value());
    // Measuring falls back to the scan, whatever the header says.
    const FileMeasure m = MeasureFile(file);
    ASSERT_TRUE(m.opened);
    std::string error;
    auto d = Decoder::Open(file, Decoder::Output::kS16, error, INT64_MAX);
    ASSERT_NE(d, nullptr);
    EXPECT_DOUBLE_EQ(m.seconds, static_cast<double>(d->LengthFrames()) / d->Rate());
  }
}

TEST(Mp3Header, SpecialFilesAreNeverRead) {
  ScratchDir dir;
  const std::string fifo = dir.File("pipe.mp3");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(LengthFromLameHeader(fifo).has_value());  // returns at once, no writer needed
  EXPECT_FALSE(LengthFromLameHeader("/dev/zero").has_value());
  EXPECT_FALSE(LengthFromLameHeader(dir.File("missing.mp3")).has_value());
}

}  // namespace
}  // namespace orve::audio
