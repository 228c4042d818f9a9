// The program started as a user starts it, with three files on the command
// line and repeat-all on: a WAV capture of the output holds the three tones
// in order and round again, and the next start finds the same playlist.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QtEndian>
#include <cmath>
#include <csignal>

#include "PlaylistFixture.h"

namespace orve::test {
namespace {

struct Capture {
  int rate = 0;
  std::vector<int16_t> left;
};

// The left channel of the float stereo WAV the wav: output writes, scaled to
// 16 bits; the data runs to the end of the file whatever its header says.
Capture ReadCapture(const QString& fileName) {
  Capture c;
  const QByteArray bytes = ReadAll(fileName);
  const qsizetype fmt = bytes.indexOf("fmt ");
  const qsizetype data = bytes.indexOf("data");
  if (fmt < 0 || data < 0) return c;
  c.rate = static_cast<int>(qFromLittleEndian<quint32>(bytes.constData() + fmt + 12));
  for (qsizetype at = data + 8; at + 8 <= bytes.size(); at += 8) {
    const float v = qFromLittleEndian<float>(bytes.constData() + at);
    c.left.push_back(static_cast<int16_t>(std::clamp(v, -1.0f, 1.0f) * 32767));
  }
  return c;
}

// The tone of each 100 ms of the capture by its zero crossings, rounded to
// 10 Hz; runs of one tone over at least three windows are kept once, so a
// window that straddles two entries, or silence, counts for nothing.
QList<int> Tones(const Capture& c) {
  QList<int> windows;
  const size_t window = static_cast<size_t>(c.rate / 10);
  for (size_t start = 0; window > 0 && start + window <= c.left.size(); start += window) {
    int crossings = 0, peak = 0;
    for (size_t i = start + 1; i < start + window; ++i) {
      crossings += (c.left[i - 1] < 0) != (c.left[i] < 0);
      peak = std::max(peak, std::abs(int(c.left[i])));
    }
    windows.append(peak < 1000 ? 0 : static_cast<int>(std::lround(crossings / 2.0)) * 10);
  }
  QList<int> tones;
  for (qsizetype i = 0; i + 2 < windows.size(); ++i) {
    const int t = windows[i];
    if (t != 0 && windows[i + 1] == t && windows[i + 2] == t && (tones.isEmpty() || tones.last() != t)) tones.append(t);
  }
  return tones;
}

double CapturedSeconds(const QString& fileName) {
  const Capture c = ReadCapture(fileName);
  return c.rate > 0 ? double(c.left.size()) / c.rate : 0.0;
}

// How long the tone of `hz` at the start of the capture is heard: from its
// first sample to the zero crossing where its periods end (silence, or the
// next, higher tone).
double FirstToneSeconds(const Capture& c, int hz) {
  const double half = c.rate / (2.0 * hz);  // samples between crossings
  size_t start = 0;
  while (start < c.left.size() && std::abs(int(c.left[start])) < 2000) ++start;
  std::vector<size_t> crossings;
  for (size_t i = start + 1; i < c.left.size(); ++i) {
    if ((c.left[i - 1] < 0) != (c.left[i] < 0)) crossings.push_back(i);
  }
  if (crossings.empty()) return 0;
  size_t last = 0;
  while (last + 1 < crossings.size() && std::abs(double(crossings[last + 1] - crossings[last]) - half) < 0.3 * half) {
    ++last;
  }
  // The tone rises from zero half a period before its first crossing.
  return (double(crossings[last] - crossings[0]) + half) / c.rate;
}

// The program run as a user runs it on `files` with repeat-all, its sound
// captured by the wav: output until `seconds` of it are there, then ended
// with SIGTERM. The capture, and the program's exit code (-1: it did not end).
struct ProgramRun {
  Capture capture;
  int exitCode = -1;
  std::string errors;
};

ProgramRun PlayAndCapture(const TempDir& home, const QStringList& files, double seconds) {
  home.write("config.ini", "[tech]\r\nrpt=1\r\n");  // repeat all: each entry is followed by the next
  const QString capture = home.file("capture.wav");
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("ORVE_HOME", home.path());
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("ORVE_AUDIO_OUTPUT", "wav:" + capture);
  QProcess orve;
  orve.setProcessEnvironment(env);
  orve.start(ORVE_BINARY, files);
  ProgramRun run;
  if (!orve.waitForStarted(30000)) return run;
  // The wav: output runs at real-time pace.
  for (int i = 0; i < 1200 && CapturedSeconds(capture) < seconds; ++i) orve.waitForFinished(50);
  ::kill(static_cast<pid_t>(orve.processId()), SIGTERM);
  if (orve.waitForFinished(30000)) run.exitCode = orve.exitCode();
  run.errors = orve.readAllStandardError().toStdString();
  run.capture = ReadCapture(capture);
  return run;
}

// Each entry is heard to its last sample before the next one starts.
TEST(PlayOrder, AnEntryIsHeardWholeBeforeTheNext) {
  TempDir home;
  const ProgramRun run =
      PlayAndCapture(home, {home.write("a.wav", SineWav(2.0, 440)), home.write("b.wav", SineWav(1.0, 1000))}, 3.5);
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_EQ(Tones(run.capture).mid(0, 2), QList<int>({440, 1000}));
  EXPECT_NEAR(FirstToneSeconds(run.capture, 440), 2.0, 0.02);
}

TEST(PlayOrder, ThreeFilesFromTheCommandLinePlayInOrderAndComeBack) {
  TempDir home;
  const QStringList files{home.write("a.wav", SineWav(1.5, 300)), home.write("b.wav", SineWav(1.5, 600)),
                          home.write("c.wav", SineWav(1.5, 900))};
  // 4.5 s for the round, then the start of the next.
  const ProgramRun run = PlayAndCapture(home, files, 5.5);
  EXPECT_EQ(run.exitCode, 0) << run.errors;

  const QList<int> tones = Tones(run.capture);
  ASSERT_GE(tones.size(), 4) << tones.size();
  EXPECT_EQ(tones.mid(0, 4), QList<int>({300, 600, 900, 300}));
  EXPECT_EQ(ReadAll(home.file("Default.pld")), (files.join("\r\n") + "\r\n").toUtf8());
}

}  // namespace
}  // namespace orve::test
