// The encoders' argument lists: settings and tags as separate arguments in
// the order the encoders expect, tags cut, absent tags left out.
#include <gtest/gtest.h>

#include "convert/EncoderCommand.h"
#include "support/QtPrinters.h"

namespace orve {
namespace {

QStringList Split(const char* words) { return QString::fromUtf8(words).split(QLatin1Char(' ')); }

TEST(EncoderCommand, Mp3ArgumentsFollowTheModeAndCarryTitleAndArtist) {
  TMP3Param cbr;  // the defaults: constant bit rate 128
  audio::Tags tags;
  tags.title = "Песня";
  tags.artist = "Исполнитель";
  tags.album = "not passed";
  EncoderRun run = Mp3Run(cbr, tags);
  EXPECT_EQ(run.encoder, "lame");
  EXPECT_EQ(run.outputFile, "test.mp3");
  EXPECT_EQ(run.arguments, Split("-m s --silent -q 2 -b 128 -k --tt Песня --ta Исполнитель --id3v2-only 1.wav test.mp3"));

  TMP3Param vbr;
  vbr.UseBitrate = 0;
  vbr.Quality = QStringLiteral("2");
  run = Mp3Run(vbr, {});
  EXPECT_EQ(run.arguments, Split("-m s --silent -q 2 -V 2 -k --id3v2-only 1.wav test.mp3"));
}

TEST(EncoderCommand, OggArgumentsPutTheTagsInTheirOrder) {
  TOGGParam abr;
  abr.Bitrate = QStringLiteral("192");
  audio::Tags tags;
  tags.title = "T";
  tags.artist = "A";
  tags.album = "L";
  tags.genre = "G";
  tags.track = "3/12";
  EncoderRun run = OggRun(abr, tags);
  EXPECT_EQ(run.encoder, "oggenc");
  EXPECT_EQ(run.arguments, Split("-Q -b 192 -o temp.ogg -N 3/12 -t T -l L -a A -G G 1.wav"));

  TOGGParam quality;
  quality.UseBitrate = 0;
  tags = {};
  tags.artist = "A";
  run = OggRun(quality, tags);
  EXPECT_EQ(run.arguments, Split("-Q -q 3 -o temp.ogg -a A 1.wav"));
}

TEST(EncoderCommand, AacTakesTheQualityAndNoTags) {
  TAACParam p;
  p.Quality = QStringLiteral("150");
  const EncoderRun run = RunFor(ConvertFormat::kAac, {{}, {}, p}, {});
  EXPECT_EQ(run.encoder, "faac");
  EXPECT_EQ(run.outputFile, "test.aac");
  EXPECT_EQ(run.arguments, Split("-q 150 -o test.aac 1.wav"));
}

TEST(EncoderCommand, AHostileTagStaysOneArgument) {
  const char* hostile[] = {"--help\" -o /tmp/x \"", "-V 0", "a\nb \"c\"", "--", "$(touch /tmp/y)"};
  for (const char* title : hostile) {
    SCOPED_TRACE(title);
    audio::Tags tags;
    tags.title = title;
    const QStringList a = Mp3Run({}, tags).arguments;
    const qsizetype at = a.indexOf(QStringLiteral("--tt"));
    ASSERT_GE(at, 0);
    EXPECT_EQ(a.at(at + 1), QString::fromUtf8(title));
    EXPECT_EQ(a.size(), Mp3Run({}, {}).arguments.size() + 2);
  }
}

TEST(EncoderCommand, TagsAreCutToTheirLongestLength) {
  struct Case {
    std::string tag;
    qsizetype expectedUnits;  // UTF-16 units kept
  } cases[] = {
      {std::string(300, 'x'), kMaxTagLength},
      {std::string(kMaxTagLength, 'x'), kMaxTagLength},
      {"короткий", 8},
      // 300 characters outside the BMP: a pair is one character, never split.
      {[] { std::string s; for (int i = 0; i < 300; ++i) s += "\xF0\x9F\x8E\xB5"; return s; }(), 2 * kMaxTagLength},
  };
  for (const Case& c : cases) {
    const QString v = TagValue(c.tag);
    EXPECT_EQ(v.size(), c.expectedUnits);
    EXPECT_FALSE(v.back().isHighSurrogate());
  }
}

TEST(EncoderCommand, PriorityBecomesNiceness) {
  const std::pair<const char*, int> cases[] = {{"0", 19}, {"1", 10}, {"2", 0}, {"3", 0}, {"4", 0}, {"", 0}, {"x", 0}};
  for (const auto& [priority, niceness] : cases) {
    TMP3Param p;
    p.Priority = QString::fromLatin1(priority);
    EXPECT_EQ(Mp3Run(p, {}).niceness, niceness) << priority;
  }
}

}  // namespace
}  // namespace orve
