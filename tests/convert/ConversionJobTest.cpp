// Conversions through the real encoders (lame, oggenc, orve-aacenc): the
// outputs decode to the source's tones, the tags arrive, the names follow
// the base name, and every failure says why and leaves nothing behind.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <cmath>
#include <sys/stat.h>

#include "audio/AudioTestSupport.h"
#include "audio/TagReader.h"
#include "convert/ConversionJob.h"
#include "convert/ConversionMessages.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"
#include "support/Unprivileged.h"
#include "support/Wait.h"

namespace orve {
namespace {

using audio::test::FfmpegDecode;
using audio::test::Fixture;
using test::TempDir;

QString FixturePath(const char* name) { return QString::fromStdString(Fixture(name)); }

// A test's folders: the destination and the program folder, whose
// Decode/codecs/ may hold the user's own encoders.
struct Folders {
  TempDir root;
  QString dest = root.path() + QStringLiteral("/dest/");
  QString codecs = root.path() + QStringLiteral("/Decode/codecs/");
  Folders() {
    QDir().mkpath(dest);
    QDir().mkpath(codecs);
  }
  // Entries of a folder, the working folders' leftovers included.
  static QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
  }
  // An encoder of the user's own in the codecs folder: a shell script.
  void AddEncoder(const QString& name, const QByteArray& script) const {
    QFile f(codecs + name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\n" + script);
    f.close();
    f.setPermissions(f.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther);
  }
};

struct Outcome {
  bool ended = false;
  QString failure;
  QList<int> percents;
};

ConversionRequest Request(const QString& source, ConvertFormat format, const Folders& f) {
  ConversionRequest r;
  r.source = source;
  r.format = format;
  r.destFolder = f.dest;
  r.codecsFolder = f.codecs;
  r.ownProgramsFolder = QStringLiteral(ORVE_PROGRAMS_DIR);
  return r;
}

Outcome Convert(const ConversionRequest& request) {
  Outcome out;
  ConversionJob job(request);
  QObject::connect(&job, &ConversionJob::Progress, [&](int p) { out.percents << p; });
  QObject::connect(&job, &ConversionJob::Finished, [&](const QString& failure) {
    out.ended = true;
    out.failure = failure;
  });
  job.Start();
  EXPECT_TRUE(test::WaitUntil([&] { return out.ended; }, 60000));
  return out;
}

// The level (RMS) and the pitch (by zero crossings) of one channel of
// decoded 16-bit PCM, over its middle half.
struct Tone {
  double rms = 0;
  double hz = 0;
};
Tone Measure(const std::vector<int16_t>& pcm, int channels, int channel, int rate) {
  const size_t frames = pcm.size() / static_cast<size_t>(channels);
  const size_t from = frames / 4, to = frames * 3 / 4;
  auto at = [&](size_t i) { return pcm[i * static_cast<size_t>(channels) + static_cast<size_t>(channel)]; };
  double sum = 0;
  int crossings = 0;
  for (size_t i = from; i < to; ++i) {
    const double v = at(i) / 32768.0;
    sum += v * v;
    if (i > from && (at(i - 1) < 0) != (at(i) < 0)) ++crossings;
  }
  const double seconds = static_cast<double>(to - from) / rate;
  return {std::sqrt(sum / static_cast<double>(to - from)), crossings / 2.0 / seconds};
}

// The fixtures' signal: 440 Hz left, 660 Hz right (mono: 440 Hz), at -6 dBFS.
void ExpectTones(const QString& file, bool mono) {
  const int channels = mono ? 1 : 2;
  const std::vector<int16_t> pcm = FfmpegDecode(file.toStdString(), mono ? "-ac 1" : "-ac 2");
  ASSERT_GT(pcm.size(), static_cast<size_t>(channels) * 11025u) << file.toStdString();
  const double expectedHz[] = {440, 660};
  for (int ch = 0; ch < channels; ++ch) {
    const Tone t = Measure(pcm, channels, ch, 44100);
    EXPECT_NEAR(t.hz, expectedHz[ch], expectedHz[ch] * 0.01) << file.toStdString() << " channel " << ch;
    EXPECT_NEAR(20 * std::log10(t.rms / (0.5 / std::sqrt(2.0))), 0.0, 1.0) << file.toStdString() << " channel " << ch;
  }
}

struct Source {
  const char* fixture;
  const char* baseName;
  bool mono;
};
// One file of every kind the playlist accepts.
const Source kSources[] = {
    {"cbr.mp3", "cbr", false},        {"layer2.mp2", "layer2", false}, {"layer1.mp1", "layer1", false},
    {"wav_s16_mono.wav", "wav_s16_mono", true}, {"vorbis.ogg", "vorbis", false}, {"aiff.aiff", "aiff", false},
    {"adts.aac", "adts", false},      {"tagged.m4a", "tagged", false}, {"tagged.wma", "tagged", false},
};

class EveryKind : public ::testing::TestWithParam<ConvertFormat> {};

TEST_P(EveryKind, ConvertsToTheSameTonesUnderItsBaseName) {
  const ConvertFormat format = GetParam();
  for (const Source& s : kSources) {
    SCOPED_TRACE(s.fixture);
    Folders f;
    const Outcome out = Convert(Request(FixturePath(s.fixture), format, f));
    ASSERT_TRUE(out.failure.isEmpty()) << out.failure.toStdString();
    const QString name = QString::fromLatin1(s.baseName) + Extension(format);
    ASSERT_EQ(Folders::Entries(f.dest), QStringList{name});
    ExpectTones(f.dest + name, s.mono);
    EXPECT_EQ(Folders::Entries(f.codecs), QStringList{}) << "the working folder is gone";
    ASSERT_FALSE(out.percents.isEmpty());
    EXPECT_EQ(out.percents.back(), 100);
    EXPECT_TRUE(std::is_sorted(out.percents.begin(), out.percents.end()));
  }
}

INSTANTIATE_TEST_SUITE_P(Encoders, EveryKind,
                         ::testing::Values(ConvertFormat::kMp3, ConvertFormat::kOgg, ConvertFormat::kAac),
                         [](const auto& p) { return FormatCaption(p.param).toStdString(); });

TEST(Conversion, WaveIsBitExactWithFfmpegsDecode) {
  for (const char* fixture : {"cbr.mp3", "tagged.flac", "wav_u8_mono.wav"}) {
    SCOPED_TRACE(fixture);
    Folders f;
    const Outcome out = Convert(Request(FixturePath(fixture), ConvertFormat::kWave, f));
    ASSERT_TRUE(out.failure.isEmpty()) << out.failure.toStdString();
    const QStringList entries = Folders::Entries(f.dest);
    ASSERT_EQ(entries.size(), 1);
    EXPECT_TRUE(entries[0].endsWith(QLatin1String(".wav")));
    const QByteArray wav = test::ReadAll(f.dest + entries[0]);
    const std::vector<int16_t> ref = FfmpegDecode(Fixture(fixture));
    ASSERT_EQ(static_cast<size_t>(wav.size() - 44), ref.size() * 2);
    EXPECT_EQ(std::memcmp(wav.constData() + 44, ref.data(), ref.size() * 2), 0);
  }
}

TEST(Conversion, TagsArriveInMp3AndOgg) {
  // cbr.mp3 carries UTF-8 Cyrillic tags.
  const audio::Tags source = audio::ReadTags(Fixture("cbr.mp3"));
  ASSERT_FALSE(source.title.empty());
  ASSERT_FALSE(source.album.empty());
  Folders f;
  ASSERT_TRUE(Convert(Request(FixturePath("cbr.mp3"), ConvertFormat::kMp3, f)).failure.isEmpty());
  const audio::Tags mp3 = audio::ReadTags((f.dest + QStringLiteral("cbr.mp3")).toStdString());
  EXPECT_EQ(mp3.title, source.title);
  EXPECT_EQ(mp3.artist, source.artist);
  EXPECT_EQ(mp3.album, "") << "lame is given the title and the artist only";
  ASSERT_TRUE(Convert(Request(FixturePath("cbr.mp3"), ConvertFormat::kOgg, f)).failure.isEmpty());
  const audio::Tags ogg = audio::ReadTags((f.dest + QStringLiteral("cbr.ogg")).toStdString());
  EXPECT_EQ(ogg.title, source.title);
  EXPECT_EQ(ogg.artist, source.artist);
  EXPECT_EQ(ogg.album, source.album);
  EXPECT_EQ(ogg.genre, source.genre);
  EXPECT_EQ(ogg.track, source.track);
}

TEST(Conversion, AHostileTitleArrivesAsOneTagValue) {
  Folders f;
  const QString trap = f.root.path() + QStringLiteral("/x");
  const std::string title = "--help\" -o " + trap.toStdString() + " \"\n-V 0 'q' $(touch " + trap.toStdString() + ")";
  const QString source = f.root.path() + QStringLiteral("/hostile.mp3");
  // The title goes in through the environment, so no shell reads it.
  ASSERT_EQ(qputenv("T", QByteArray::fromStdString(title)), true);
  ASSERT_TRUE(audio::test::RunCommand("ffmpeg -y -v error -i '" + Fixture("cbr.mp3") +
                                      "' -c copy -map_metadata -1 -metadata title=\"$T\" -metadata artist=-a '" +
                                      source.toStdString() + "'"));
  ASSERT_EQ(audio::ReadTags(source.toStdString()).title, title);
  for (ConvertFormat format : {ConvertFormat::kMp3, ConvertFormat::kOgg}) {
    const Outcome out = Convert(Request(source, format, f));
    ASSERT_TRUE(out.failure.isEmpty()) << out.failure.toStdString();
    const audio::Tags tags = audio::ReadTags((f.dest + QStringLiteral("hostile") + Extension(format)).toStdString());
    EXPECT_EQ(tags.title, title) << FormatName(format).toStdString();
    EXPECT_EQ(tags.artist, "-a");
  }
  EXPECT_FALSE(QFileInfo::exists(trap));
  EXPECT_EQ(Folders::Entries(f.dest), (QStringList{QStringLiteral("hostile.mp3"), QStringLiteral("hostile.ogg")}));
}

TEST(Conversion, TheEncoderGetsItsArgumentsAsTheyAre) {
  // The user's own lame in the codecs folder is preferred; it records what
  // it was given, one argument per line, and writes the output.
  Folders f;
  f.AddEncoder(QStringLiteral("lame"), "ls > ../files.txt; cat 1.wav > /dev/null\n"
                                       "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > ../args.txt\n"
                                       "echo encoded > test.mp3\n");
  const Outcome out = Convert(Request(FixturePath("cbr.mp3"), ConvertFormat::kMp3, f));
  ASSERT_TRUE(out.failure.isEmpty()) << out.failure.toStdString();
  const audio::Tags tags = audio::ReadTags(Fixture("cbr.mp3"));
  const QString expected = QStringLiteral("-m\ns\n--silent\n-q\n2\n-b\n128\n-k\n--tt\n%1\n--ta\n%2\n--id3v2-only\n1.wav\ntest.mp3\n")
                               .arg(QString::fromStdString(tags.title), QString::fromStdString(tags.artist));
  EXPECT_EQ(QString::fromUtf8(test::ReadAll(f.codecs + QStringLiteral("args.txt"))), expected);
  EXPECT_EQ(test::ReadAll(f.codecs + QStringLiteral("files.txt")), "1.wav\n") << "a working folder of its own";
  EXPECT_EQ(test::ReadAll(f.dest + QStringLiteral("cbr.mp3")), "encoded\n");
}

TEST(Conversion, AnOlderFileIsReplacedOnlyByACompleteOne) {
  Folders f;
  const QString older = f.dest + QStringLiteral("cbr.mp3");
  QFile file(older);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("older");
  file.close();
  f.AddEncoder(QStringLiteral("lame"), "head -c 1000 1.wav > test.mp3; echo 'lame: disk trouble' >&2; exit 1\n");
  Outcome out = Convert(Request(FixturePath("cbr.mp3"), ConvertFormat::kMp3, f));
  EXPECT_FALSE(out.failure.isEmpty());
  EXPECT_EQ(test::ReadAll(older), "older");
  EXPECT_EQ(Folders::Entries(f.dest), QStringList{QStringLiteral("cbr.mp3")});

  QFile::remove(f.codecs + QStringLiteral("lame"));
  out = Convert(Request(FixturePath("cbr.mp3"), ConvertFormat::kMp3, f));
  EXPECT_TRUE(out.failure.isEmpty()) << out.failure.toStdString();
  EXPECT_GT(QFileInfo(older).size(), 10000);
  EXPECT_EQ(Folders::Entries(f.dest), QStringList{QStringLiteral("cbr.mp3")});
}

TEST(Conversion, FailuresSayWhyAndLeaveNothing) {
  struct Case {
    const char* what;
    const char* fixture;
    ConvertFormat format;
    QByteArray encoder;  // the user's own lame, when not empty
    bool emptyPath;      // nothing on PATH, nothing beside the program
    const char* says;
  } cases[] = {
      {"no encoder", "cbr.mp3", ConvertFormat::kMp3, {}, true, "не найден кодировщик lame (установите пакет lame)"},
      {"no ogg encoder", "cbr.mp3", ConvertFormat::kOgg, {}, true, "не найден кодировщик oggenc (установите пакет vorbis-tools)"},
      {"no aac encoder", "cbr.mp3", ConvertFormat::kAac, {}, true, "не найден кодировщик AAC (ни faac, ни orve-aacenc рядом с программой)"},
      {"encoder fails", "cbr.mp3", ConvertFormat::kMp3, "echo 'Unsupported sample rate' >&2; exit 1\n", false,
       "кодировщик lame завершился с ошибкой (код 1): Unsupported sample rate"},
      {"encoder crashes", "cbr.mp3", ConvertFormat::kMp3, "kill -SEGV $$\n", false, "кодировщик lame аварийно завершился"},
      {"no output", "cbr.mp3", ConvertFormat::kMp3, "exit 0\n", false, "кодировщик lame не создал файл"},
      {"input not read to the end", "cbr.mp3", ConvertFormat::kMp3, "head -c 100 1.wav > test.mp3\n", false,
       "кодировщик lame прочитал не весь звук"},
      {"source gone", "no such file.mp3", ConvertFormat::kMp3, {}, false, "исходный файл не найден"},
      {"not audio", "text.mp3", ConvertFormat::kWave, {}, false, "исходный файл не читается как звук"},
      {"not audio, encoded", "text.mp3", ConvertFormat::kAac, {}, false, "исходный файл не читается как звук"},
  };
  const QByteArray path = qgetenv("PATH");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Folders f;
    if (!c.encoder.isEmpty()) f.AddEncoder(QStringLiteral("lame"), c.encoder);
    ConversionRequest request = Request(FixturePath(c.fixture), c.format, f);
    if (c.emptyPath) {
      qputenv("PATH", f.root.path().toUtf8());
      request.ownProgramsFolder.clear();
    }
    const Outcome out = Convert(request);
    qputenv("PATH", path);
    const QString base = QString::fromUtf8(c.fixture).section(QLatin1Char('.'), 0, 0);
    EXPECT_EQ(out.failure, ConversionFailureText(base, c.format, QString::fromUtf8(c.says)));
    EXPECT_EQ(Folders::Entries(f.dest), QStringList{});
    QStringList left = Folders::Entries(f.codecs);
    left.removeAll(QStringLiteral("lame"));
    EXPECT_EQ(left, QStringList{});
  }
}

TEST(Conversion, AnEncoderThatCannotStartIsNamed) {
  Folders f;
  QFile lame(f.codecs + QStringLiteral("lame"));
  ASSERT_TRUE(lame.open(QIODevice::WriteOnly));
  lame.write("#!/no/such/interpreter\n");
  lame.close();
  lame.setPermissions(lame.permissions() | QFileDevice::ExeOwner);
  ConversionJob job(Request(FixturePath("cbr.mp3"), ConvertFormat::kMp3, f));
  QStringList failures;
  QObject::connect(&job, &ConversionJob::Finished, [&](const QString& failure) { failures << failure; });
  job.Start();
  ASSERT_TRUE(test::WaitUntil([&] { return !failures.isEmpty(); }));
  QTest::qWait(100);  // what the worker reports after the end changes nothing
  ASSERT_EQ(failures.size(), 1);
  EXPECT_TRUE(failures[0].startsWith(ConversionFailureText(QStringLiteral("cbr"), ConvertFormat::kMp3,
                                                           QStringLiteral("кодировщик lame не запускается (")).chopped(1)))
      << failures[0].toStdString();
  EXPECT_EQ(Folders::Entries(f.dest), QStringList{});
  EXPECT_EQ(Folders::Entries(f.codecs), QStringList{QStringLiteral("lame")});
}

TEST(Conversion, AFolderThatCannotBeWrittenIsSaidAtOnce) {
  Folders f;
  ::chmod(f.root.path().toLocal8Bit().constData(), 0755);
  ::chmod(f.dest.toLocal8Bit().constData(), 0555);
  const int result = test::RunUnprivileged([&] {
    // Said before any work, so no event loop is needed here.
    ConversionJob job(Request(FixturePath("cbr.mp3"), ConvertFormat::kMp3, f));
    QString failure;
    QObject::connect(&job, &ConversionJob::Finished, [&](const QString& text) { failure = text; });
    job.Start();
    const QString expected = ConversionFailureText(
        QStringLiteral("cbr"), ConvertFormat::kMp3, QStringLiteral("нет прав на запись в папку %1").arg(f.dest));
    return failure == expected ? 0 : 1;
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(Folders::Entries(f.dest), QStringList{});
}

TEST(Conversion, WriteFailuresAreNamed) {
  const std::pair<int, const char*> cases[] = {
      {ENOSPC, "на диске не хватает места"},
      {EROFS, "диск доступен только для чтения"},
      {EACCES, "нет прав на запись в папку /m/"},
      {ENOENT, "папка /m/ не найдена"},
  };
  for (const auto& [number, text] : cases) EXPECT_EQ(WriteFailureReason(number, QStringLiteral("/m/")), QString::fromUtf8(text));
  EXPECT_TRUE(WriteFailureReason(EIO, QStringLiteral("/m/")).startsWith(QStringLiteral("ошибка записи (")));
}

TEST(Conversion, ConvertingAFileOntoItselfIsRefused) {
  Folders f;
  const QString source = f.dest + QStringLiteral("song.wav");
  ASSERT_TRUE(QFile::copy(FixturePath("wav_s24.wav"), source));
  const QByteArray before = test::ReadAll(source);
  const Outcome out = Convert(Request(source, ConvertFormat::kWave, f));
  EXPECT_EQ(out.failure, ConversionFailureText(QStringLiteral("song"), ConvertFormat::kWave,
                                               QStringLiteral("файл назначения совпадает с исходным")));
  EXPECT_EQ(test::ReadAll(source), before);
}

TEST(Conversion, TwoConversionsAtOnceKeepTheirOwnWorkingFiles) {
  Folders f;
  Outcome a, b;
  ConversionJob first(Request(FixturePath("cbr.mp3"), ConvertFormat::kMp3, f));
  ConversionJob second(Request(FixturePath("vorbis.ogg"), ConvertFormat::kMp3, f));
  QObject::connect(&first, &ConversionJob::Finished, [&](const QString& s) { a = {true, s, {}}; });
  QObject::connect(&second, &ConversionJob::Finished, [&](const QString& s) { b = {true, s, {}}; });
  first.Start();
  second.Start();
  ASSERT_TRUE(test::WaitUntil([&] { return a.ended && b.ended; }, 60000));
  EXPECT_TRUE(a.failure.isEmpty() && b.failure.isEmpty());
  ExpectTones(f.dest + QStringLiteral("cbr.mp3"), false);
  ExpectTones(f.dest + QStringLiteral("vorbis.mp3"), false);
}

TEST(Conversion, AConversionStoppedHalfWayLeavesNothing) {
  Folders f;
  // An encoder that waits until it is stopped.
  f.AddEncoder(QStringLiteral("lame"), "touch ../started; exec sleep 60\n");
  {
    bool ended = false;
    ConversionJob job(Request(FixturePath("cbr.mp3"), ConvertFormat::kMp3, f));
    QObject::connect(&job, &ConversionJob::Finished, [&] { ended = true; });
    job.Start();
    ASSERT_TRUE(test::WaitUntil([&] { return QFileInfo::exists(f.codecs + QStringLiteral("started")); }));
    EXPECT_FALSE(ended);
  }
  QStringList left = Folders::Entries(f.codecs);
  EXPECT_EQ(left, (QStringList{QStringLiteral("lame"), QStringLiteral("started")}));
  EXPECT_EQ(Folders::Entries(f.dest), QStringList{});
}

}  // namespace
}  // namespace orve
