#include "engine/Core.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSignalSpy>
#include <chrono>
#include <thread>

#include "support/TempDir.h"

namespace orve {
namespace {

const QString kFixtures = QStringLiteral(ORVE_FIXTURES_DIR "/audio/");

class CoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qputenv("ORVE_AUDIO_OUTPUT", "null");
  }
  void Start(const QByteArray& config = {}) {
    if (!config.isEmpty()) home.write("config.ini", config);
    core.Init(home.path() + "/");
  }
  // Adds an entry straight to the lists (adding with measuring comes with the playlist).
  void AddEntry(const QString& path, const char* kind = kKindFile) {
    core.Paths.append(path);
    core.Titles.append(path);
    core.Durations.append("0");
    core.Kinds.append(kind);
  }
  void OpenFixture(const QString& name) {
    AddEntry(kFixtures + name);
    core.OpenEntry(core.Paths.size() - 1);
  }
  // Waits until the channel has been heard up to `seconds` (null sink: real time).
  bool WaitForPosition(double seconds) {
    auto* lib = core.Library();
    for (int i = 0; i < 2000; ++i) {
      if (lib->BytesToSeconds(core.Handle(), lib->Position(core.Handle())) >= seconds) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }
  test::TempDir home;
  TCore core;
};

TEST_F(CoreTest, InitReadsBufferAgentAndProxy) {
  struct Case {
    QByteArray config;
    int buffer;
    std::string proxy;
  };
  const QByteArray longProxy = QByteArray(120, 'p');
  const Case cases[] = {
      {"", 1000, ""},
      {"[core]\r\nbuff=0x200\r\n[proxy]\r\nhttp=10.0.0.1:3128\r\n", 512, ""},  // proxy off: empty text
      {"[CORE]\r\nBuff=abc\r\n[proxy]\r\non=1\r\nhttp=10.0.0.1:3128\r\n", 1000, "10.0.0.1:3128"},
      {"[proxy]\r\non=1\r\n", 1000, "192.168.0.1:80"},
      {"[proxy]\r\non=1\r\nhttp=" + longProxy + "\r\n", 1000, std::string(99, 'p')},
  };
  for (const auto& c : cases) {
    home.write("config.ini", c.config);
    core.Init(home.path() + "/");
    EXPECT_EQ(core.PlayState, kNothingLoaded);
    EXPECT_EQ(core.Library()->BufferMs(), c.buffer) << c.config.constData();
    EXPECT_EQ(core.Library()->UserAgent(), "ORVE 1.56");
    EXPECT_EQ(core.Library()->Proxy(), c.proxy) << c.config.constData();
    core.Shutdown();
  }
}

TEST_F(CoreTest, PlayStateTransitions) {
  enum Op { kPlay, kPause, kStop };
  struct Case {
    quint8 from;
    Op op;
    quint8 to;
    bool signalled;
  };
  const Case cases[] = {
      {0, kPlay, 0, false}, {0, kPause, 0, false}, {0, kStop, 0, false},
      {1, kPlay, 2, true},  {1, kPause, 1, false}, {1, kStop, 4, true},
      {2, kPlay, 2, true},  {2, kPause, 3, true},  {2, kStop, 4, true},
      {3, kPlay, 2, true},  {3, kPause, 3, false}, {3, kStop, 4, true},
      {4, kPlay, 2, true},  {4, kPause, 4, false}, {4, kStop, 4, true},
  };
  Start();
  for (const auto& c : cases) {
    core.Shutdown();
    core.Init(home.path() + "/");
    if (c.from != kNothingLoaded) OpenFixture("sine_s16.wav");
    if (c.from == kPlaying || c.from == kPaused) core.Play();
    if (c.from == kPaused) core.Pause();
    if (c.from == kStopped) core.Stop();
    ASSERT_EQ(core.PlayState, c.from);
    QSignalSpy spy(&core, &TCore::TransportChanged);
    if (c.op == kPlay) core.Play();
    if (c.op == kPause) core.Pause();
    if (c.op == kStop) core.Stop();
    EXPECT_EQ(core.PlayState, c.to) << int(c.from) << " op " << c.op;
    EXPECT_EQ(spy.size(), c.signalled ? 1 : 0) << int(c.from) << " op " << c.op;
    if (!spy.isEmpty()) {
      EXPECT_EQ(spy.at(0).at(0).value<quint8>(), c.to);
    }
  }
}

TEST_F(CoreTest, PositionLengthAndSeek) {
  Start();
  EXPECT_EQ(core.Position(), 0);  // nothing loaded
  EXPECT_EQ(core.Length(), 0);
  OpenFixture("sine_s16.wav");   // 2.000 s
  EXPECT_EQ(core.Length(), 2);
  EXPECT_EQ(core.Position(), 0);
  core.Seek(1);
  EXPECT_EQ(core.Position(), 1);
  core.Play();
  ASSERT_TRUE(WaitForPosition(1.6));
  EXPECT_EQ(core.Position(), 2);  // 1.6 s and more round to 2
}

TEST_F(CoreTest, StopRewindsAndPauseContinues) {
  Start();
  OpenFixture("sine_s16.wav");
  auto* lib = core.Library();
  core.Play();
  ASSERT_TRUE(WaitForPosition(0.3));
  core.Pause();
  // What was already handed to the output is still heard; then the position stands.
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  const int64_t paused = lib->Position(core.Handle());
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(lib->Position(core.Handle()), paused);
  core.Play();  // continues where it stood
  ASSERT_TRUE(WaitForPosition(lib->BytesToSeconds(core.Handle(), paused) + 0.1));
  core.Stop();
  EXPECT_EQ(lib->Position(core.Handle()), 0);
  EXPECT_EQ(core.Position(), 0);
}

TEST_F(CoreTest, PlayReportsArtistAndTitleFromTheTags) {
  Start();
  OpenFixture("cbr.mp3");
  QSignalSpy spy(&core, &TCore::NowPlayingChanged);
  core.Play();
  ASSERT_EQ(spy.size(), 1);
  EXPECT_EQ(spy.at(0).at(0).toString(), "Исполнитель");
  EXPECT_EQ(spy.at(0).at(1).toString(), "Песня");
  OpenFixture("sine_s16.wav");  // no tags: empty texts
  core.Play();
  ASSERT_EQ(spy.size(), 2);
  EXPECT_EQ(spy.at(1).at(0).toString(), "");
  EXPECT_EQ(spy.at(1).at(1).toString(), "");
}

TEST_F(CoreTest, AttributesReachTheChannel) {
  Start();
  core.SetAttributes(40, 0);  // nothing loaded: nothing happens
  OpenFixture("sine_s16.wav");
  core.SetAttributes(40, 22050);
  int frequency = -1, volume = -1;
  ASSERT_TRUE(core.Library()->GetAttributes(core.Handle(), frequency, volume));
  EXPECT_EQ(volume, 40);
  EXPECT_EQ(frequency, 22050);
}

TEST_F(CoreTest, EntriesThatFailToOpenStaySilentAndSafe) {
  Start();
  for (const char* name : {"missing.mp3", "empty.mp3", "text.mp3"}) {
    OpenFixture(name);
    EXPECT_EQ(core.PlayState, kOpened) << name;
    EXPECT_EQ(core.Channel, 0) << name;
    core.SetAttributes(50, 0);
    core.Play();
    EXPECT_EQ(core.PlayState, kPlaying) << name;
    core.Seek(3);
    // What the library answers for a failed handle, rounded.
    EXPECT_EQ(core.Position(), -1) << name;
    EXPECT_EQ(core.Length(), -1) << name;
    core.Pause();
    core.Stop();
    EXPECT_EQ(core.PlayState, kStopped) << name;
  }
}

TEST_F(CoreTest, StreamEntriesOpenWithoutWaitingAndReportNoPositionOrLength) {
  Start();
  AddEntry("http://127.0.0.1:9/none", kKindStream);  // nothing listens there
  core.CurrentIndex = 0;
  core.OpenEntry(0);
  EXPECT_NE(core.Channel, 0);  // a stream exists at once; it connects on its own thread
  core.Play();
  EXPECT_EQ(core.PlayState, kPlaying);
  EXPECT_EQ(core.Position(), 0);
  EXPECT_EQ(core.Length(), 0);
  core.Stop();
}

}  // namespace
}  // namespace orve

namespace orve {
namespace {

class AddEntryTest : public CoreTest {
 protected:
  // A copy of a fixture under another name.
  QString Copy(const QString& fixture, const QString& name) {
    QFile::copy(kFixtures + fixture, home.file(name));
    return home.file(name);
  }
};

TEST_F(AddEntryTest, KindTitleAndDuration) {
  Start();
  struct Case {
    QString path;
    const char* kind;
    const char* title;
    const char* duration;
  };
  const Case cases[] = {
      {kFixtures + "cbr.mp3", "1", "Исполнитель - Песня", "2"},
      {kFixtures + "id3v1_cp1251.mp3", "1", "Кино - Группа крови", "2"},
      {Copy("tagged.m4a", "tagged.mp4"), "2", "M4A Artist - M4A Title", "2"},
      {kFixtures + "tagged.wma", "3", "WMA Artist - WMA Title", "2"},
      {Copy("sine_s16.wav", "Track 01.WAV"), "1", "Track 01", "2"},
      {Copy("aiff.aiff", "x.aiff"), "1", "x.", "0"},              // 0.5 s rounds to 0 (halves to even)
      {Copy("text.mp3", "broken.mp3"), "1", "broken", "0"},        // cannot be measured: 0, never negative
      {"http://127.0.0.1:8000/stream", "4", "http://127.0.0.1:8000/stream", "0"},  // nothing measured
      {"HTTPS://example.invalid/x.mp3", "4", "HTTPS://example.invalid/x.mp3", "0"},
  };
  int total = 0;
  for (const auto& c : cases) {
    ASSERT_TRUE(core.AddEntry(c.path)) << c.path.toStdString();
    EXPECT_EQ(core.Kinds.last(), c.kind) << c.path.toStdString();
    EXPECT_EQ(core.Titles.last(), QString::fromUtf8(c.title)) << c.path.toStdString();
    EXPECT_EQ(core.Durations.last(), c.duration) << c.path.toStdString();
    EXPECT_EQ(core.Paths.last(), c.path);
    total += QString(c.duration).toInt();
  }
  EXPECT_EQ(core.TotalSeconds, total);
  EXPECT_EQ(core.CurrentIndex, 0);  // the first entry became current
}

TEST_F(AddEntryTest, UnknownExtensionsAreRefusedWithoutTouchingTheLists) {
  Start();
  for (const QString& path : {Copy("cbr.mp3", "song.ape"), Copy("cbr.mp3", "noextension"), QString("/m/a.mp3.txt")}) {
    EXPECT_FALSE(core.AddEntry(path)) << path.toStdString();
  }
  EXPECT_TRUE(core.Paths.isEmpty() && core.Titles.isEmpty() && core.Durations.isEmpty() && core.Kinds.isEmpty());
  EXPECT_EQ(core.CurrentIndex, -1);
  EXPECT_EQ(core.TotalSeconds, 0);
}

TEST_F(AddEntryTest, LocalFilesAreRegisteredStreamsAreNot) {
  Start();
  QStringList registered;
  core.RegisterFile = [&](const TCore::MeasuredEntry& entry) { registered.append(entry.path); };
  core.AddEntry(kFixtures + "cbr.mp3");
  core.AddEntry("http://127.0.0.1:8000/");
  core.AddEntry(kFixtures + "tagged.wma");
  EXPECT_EQ(registered, QStringList({kFixtures + "cbr.mp3", kFixtures + "tagged.wma"}));
}

}  // namespace
}  // namespace orve
