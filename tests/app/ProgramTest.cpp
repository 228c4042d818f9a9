// The orve program itself, started as a user would start it.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <csignal>
#include <cstdio>

#include "support/TempDir.h"

namespace orve {
namespace {

class ProgramTest : public ::testing::Test {
 protected:
  void Start(const QStringList& args = {}, const QString& trace = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ORVE_HOME", home.path());
    if (!trace.isEmpty()) env.insert("ORVE_TRACE", trace);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("ORVE_AUDIO_OUTPUT", "null");
    process.setProcessEnvironment(env);
    process.start(ORVE_BINARY, args);
    ASSERT_TRUE(process.waitForStarted(30000));
  }
  // Start-up is complete once the bundled schemes have been installed and
  // the event loop answers; poll for the first.
  void WaitForStartup() {
    for (int i = 0; i < 600 && !QFile::exists(home.file("Themes/blue.thd")); ++i) process.waitForFinished(50);
    ASSERT_TRUE(QFile::exists(home.file("Themes/blue.thd")));
    process.waitForFinished(500);  // let it reach the event loop
  }
  test::TempDir home;
  QProcess process;
};

TEST_F(ProgramTest, HelpAndVersion) {
  Start({"--version"});
  ASSERT_TRUE(process.waitForFinished(30000));
  EXPECT_EQ(process.exitCode(), 0);
  EXPECT_EQ(process.readAllStandardOutput(), "ORVE 1.9\n");
  Start({"--help"});
  ASSERT_TRUE(process.waitForFinished(30000));
  EXPECT_EQ(process.exitCode(), 0);
  EXPECT_TRUE(QString::fromUtf8(process.readAllStandardOutput()).contains("orve [ФАЙЛ|АДРЕС ...]"));
}

TEST_F(ProgramTest, EndsInOrderOnSigtermAndSigint) {
  for (const int signal : {SIGTERM, SIGINT}) {
    Start();
    WaitForStartup();
    ASSERT_EQ(process.state(), QProcess::Running);
    ::kill(static_cast<pid_t>(process.processId()), signal);
    ASSERT_TRUE(process.waitForFinished(30000)) << signal;
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << signal;
    EXPECT_EQ(process.exitCode(), 0) << signal;
  }
}

// An error box at start-up (a file the program keeps is a folder) runs a
// loop of its own; a signal still ends the program, the box unanswered.
TEST_F(ProgramTest, ASignalEndsTheProgramWhileAnErrorBoxIsOpen) {
  for (const char* name : {"Default.pld", "config.ini"}) {
    QDir(home.path()).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(home.file(name))) << name;
    Start();
    process.waitForFinished(2000);  // start-up reaches its box
    ASSERT_EQ(process.state(), QProcess::Running) << name;
    ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    ASSERT_TRUE(process.waitForFinished(20000)) << name;
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << name;
    EXPECT_EQ(process.exitCode(), 0) << name;
  }
}

// A shell hands a name that is not UTF-8 ("Песня.wav" in Windows-1251)
// over as bytes; the playlist keeps them.
TEST_F(ProgramTest, ANameThatIsNotUtf8ReachesThePlaylistWhole) {
  const QByteArray bytes = QFile::encodeName(home.path()) + "/\xCF\xE5\xF1\xED\xFF.wav";
  QFile::copy(ORVE_SOURCE_DIR "/tests/fixtures/audio/sine_s16.wav", home.file("tone.wav"));
  ASSERT_EQ(::rename(QFile::encodeName(home.file("tone.wav")).constData(), bytes.constData()), 0);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("ORVE_HOME", home.path());
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("ORVE_AUDIO_OUTPUT", "null");
  process.setProcessEnvironment(env);
  process.start("/bin/sh", {"-c", "exec \"$0\" \"$(printf '%s/\\317\\345\\361\\355\\377.wav' \"$1\")\"",
                            ORVE_BINARY, home.path()});
  ASSERT_TRUE(process.waitForStarted(30000));
  WaitForStartup();
  ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
  ASSERT_TRUE(process.waitForFinished(30000));
  EXPECT_EQ(test::ReadAll(home.file("Default.pld")), bytes + "\r\n");
}

TEST_F(ProgramTest, MissingSchemeFallsBackAndSaysSoOnce) {
  home.write("config.ini", "[themes]\r\nname=gone\r\n");
  Start();
  WaitForStartup();
  ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
  ASSERT_TRUE(process.waitForFinished(30000));
  EXPECT_EQ(process.exitCode(), 0);
  const QString err = QString::fromUtf8(process.readAllStandardError());
  EXPECT_EQ(err.count("Themes/gone.thd is missing"), 1) << err.toStdString();
}

}  // namespace
}  // namespace orve

namespace orve {
namespace {

// Closing the program tears the equalizer window down; it does not count as
// the user closing it, so a shown equalizer is shown again next time.
TEST_F(ProgramTest, ShownWindowsStayShownAcrossARestart) {
  home.write("config.ini", "[eq]\r\nstatus=1\r\n[tech]\r\nrpt=2\r\nvol=70\r\n");
  Start();
  WaitForStartup();
  ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
  ASSERT_TRUE(process.waitForFinished(30000));
  EXPECT_EQ(process.exitCode(), 0);
  const QString config = QString::fromUtf8(test::ReadAll(home.file("config.ini")));
  EXPECT_TRUE(config.contains("status=1\r\n")) << config.toStdString();
  EXPECT_TRUE(config.contains("rpt=2\r\n")) << config.toStdString();
  EXPECT_TRUE(config.contains("vol=70\r\n")) << config.toStdString();
}

}  // namespace
}  // namespace orve

namespace orve {
namespace {

// ORVE_TRACE: what benchmarks read of the real program. Each line is a
// clock reading, an event and maybe a value; the events come in the order
// they happened; the effect switches' pause and resume are no new start.
TEST_F(ProgramTest, TraceTellsStartupTheListEachStartAndTheExit) {
  const QString trace = home.file("trace.log");
  const QString tone = ORVE_SOURCE_DIR "/tests/fixtures/audio/sine_s16.wav";
  home.write("config.ini", "[eq]\r\necho=1\r\nchorus=1\r\n");
  Start({tone, ORVE_SOURCE_DIR "/tests/fixtures/audio/vorbis.ogg"}, trace);
  QByteArray text;
  for (int i = 0; i < 600 && !(text.contains(" list-complete 2\n") && text.contains(" playing\n")); ++i) {
    process.waitForFinished(50);
    text = test::ReadAll(trace);
  }
  ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
  ASSERT_TRUE(process.waitForFinished(30000));
  EXPECT_EQ(process.exitCode(), 0);
  QStringList events;
  double last = 0;
  for (const QByteArray& line : test::ReadAll(trace).split('\n')) {
    if (line.isEmpty()) continue;
    const QList<QByteArray> fields = line.split(' ');
    ASSERT_GE(fields.size(), 2) << line.constData();
    bool ok = false;
    const double at = fields[0].toDouble(&ok);
    ASSERT_TRUE(ok) << line.constData();
    EXPECT_GE(at, last) << line.constData();
    last = at;
    if (fields[1] != "stall") events << QString::fromLatin1(fields[1]);
    if (fields[1] == "list-complete") {
      EXPECT_EQ(fields.value(2), "2");
    }
    if (fields[1] == "exit") {
      EXPECT_GE(fields.value(2).toDouble(), 0.0);
    }
  }
  EXPECT_EQ(events, QStringList({"ready", "playing", "list-complete", "exit"})) << events.join(' ').toStdString();
}

TEST_F(ProgramTest, ATraceFileThatCannotBeWrittenIsSaidOnceAndTheProgramRuns) {
  Start({}, home.path());  // a folder
  WaitForStartup();
  ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
  ASSERT_TRUE(process.waitForFinished(30000));
  EXPECT_EQ(process.exitCode(), 0);
  const QString err = QString::fromUtf8(process.readAllStandardError());
  EXPECT_EQ(err.count("ORVE_TRACE"), 1) << err.toStdString();
}

}  // namespace
}  // namespace orve
