// One player per program folder, with the real program: a second start
// hands its names to the running player and ends; a killed player's socket
// does not stand in the way of the next; folders of their own never meet.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <unistd.h>
#include <memory>

#include "PlaylistFixture.h"
#include "app/SingleInstance.h"

namespace orve::test {
namespace {

const QString kTone = QStringLiteral(ORVE_FIXTURES_DIR "/audio/sine_s16.wav");
const QString kOgg = QStringLiteral(ORVE_FIXTURES_DIR "/audio/vorbis.ogg");
// "Песня.wav" in Windows-1251, as an old disk keeps it.
const QByteArray kCp1251Name = "\xCF\xE5\xF1\xED\xFF.wav";

std::unique_ptr<QProcess> StartPlayer(const TempDir& home, const QStringList& args, const QString& trace = {},
                              const QString& workDir = {}) {
  auto process = std::make_unique<QProcess>();
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("ORVE_HOME", home.path());
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("ORVE_AUDIO_OUTPUT", "null");
  if (!trace.isEmpty()) env.insert("ORVE_TRACE", trace);
  process->setProcessEnvironment(env);
  if (!workDir.isEmpty()) process->setWorkingDirectory(workDir);
  process->start(ORVE_BINARY, args);
  EXPECT_TRUE(process->waitForStarted(30000));
  return process;
}

bool TraceHas(const QString& trace, const QByteArray& event, int timeoutMs = 60000) {
  return WaitUntil([&] { return ReadAll(trace).contains(" " + event + "\n"); }, timeoutMs);
}

// Ends a player the orderly way, so it writes Default.pld.
void Terminate(QProcess& player) {
  ::kill(static_cast<pid_t>(player.processId()), SIGTERM);
  ASSERT_TRUE(player.waitForFinished(30000));
  EXPECT_EQ(player.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(player.exitCode(), 0);
}

// A second start ends at once (with 0) when it has handed its names over.
void ExpectHandedOver(QProcess& second) {
  ASSERT_TRUE(second.state() == QProcess::NotRunning || second.waitForFinished(20000));
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().constData();
}

TEST(SingleInstance, ASecondStartHandsItsNamesToTheRunningPlayer) {
  TempDir home;
  const QString trace = home.file("trace.log");
  ASSERT_TRUE(QFile::copy(kTone, home.file("tone.wav")));
  ASSERT_TRUE(QFile::copy(kTone, home.file("cp1251.wav")));
  const QByteArray cp1251 = QFile::encodeName(home.path()) + "/" + kCp1251Name;
  ASSERT_EQ(::rename(QFile::encodeName(home.file("cp1251.wav")).constData(), cp1251.constData()), 0);
  const auto first = StartPlayer(home, {}, trace);
  ASSERT_TRUE(TraceHas(trace, "ready"));
  // Relative names, from a working folder the player does not share; the
  // second is not UTF-8, so only its bytes name it.
  QProcess second;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("ORVE_HOME", home.path());
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("ORVE_AUDIO_OUTPUT", "null");
  second.setProcessEnvironment(env);
  second.setWorkingDirectory(home.path());
  second.start("/bin/sh", {"-c", "exec \"$0\" tone.wav \"$(printf '\\317\\345\\361\\355\\377.wav')\"", ORVE_BINARY});
  ASSERT_TRUE(second.waitForStarted(30000));
  ExpectHandedOver(second);
  EXPECT_TRUE(TraceHas(trace, "list-complete 2"));
  EXPECT_TRUE(TraceHas(trace, "playing"));
  Terminate(*first);
  EXPECT_EQ(ReadAll(home.file("Default.pld")), QFile::encodeName(home.file("tone.wav")) + "\r\n" + cp1251 + "\r\n");
  ::unlink(cp1251.constData());  // Qt's removal of the folder cannot name it
}

TEST(SingleInstance, AStartWithoutNamesLeavesThePlaylistAlone) {
  TempDir home;
  const QString trace = home.file("trace.log");
  const auto first = StartPlayer(home, {kTone}, trace);
  ASSERT_TRUE(TraceHas(trace, "playing"));
  const auto second = StartPlayer(home, {});
  ExpectHandedOver(*second);
  EXPECT_EQ(first->state(), QProcess::Running);
  Terminate(*first);
  EXPECT_EQ(ReadAll(home.file("Default.pld")), QFile::encodeName(kTone) + "\r\n");
  EXPECT_EQ(ReadAll(trace).count(" playing\n"), 1);
}

TEST(SingleInstance, AKilledPlayersSocketDoesNotStopTheNextStart) {
  TempDir home;
  const QString socket = SingleInstance::SocketName(QDir(home.path()).absolutePath());
  ASSERT_FALSE(socket.isEmpty());
  const auto killed = StartPlayer(home, {}, home.file("killed.log"));
  ASSERT_TRUE(TraceHas(home.file("killed.log"), "ready"));
  ::kill(static_cast<pid_t>(killed->processId()), SIGKILL);
  ASSERT_TRUE(killed->waitForFinished(30000));
  ASSERT_TRUE(QFile::exists(socket));  // left behind
  const QString trace = home.file("trace.log");
  const auto next = StartPlayer(home, {kTone}, trace);
  ASSERT_TRUE(TraceHas(trace, "playing"));
  // It listens where the killed one did.
  const auto third = StartPlayer(home, {kOgg});
  ExpectHandedOver(*third);
  EXPECT_TRUE(TraceHas(trace, "list-complete 2"));
  Terminate(*next);
  EXPECT_EQ(ReadAll(home.file("Default.pld")), QFile::encodeName(kTone) + "\r\n" + QFile::encodeName(kOgg) + "\r\n");
  EXPECT_FALSE(QFile::exists(socket));  // an orderly end takes it away
}

TEST(SingleInstance, TwoStartsAtOnceMakeOnePlayerWithBothFiles) {
  TempDir home;
  const QString trace = home.file("trace.log");
  const auto a = StartPlayer(home, {kTone}, trace);
  const auto b = StartPlayer(home, {kOgg}, trace);
  ASSERT_TRUE(WaitUntil([&] { return a->state() == QProcess::NotRunning || b->state() == QProcess::NotRunning; }, 30000));
  QProcess& handed = a->state() == QProcess::NotRunning ? *a : *b;
  QProcess& player = &handed == a.get() ? *b : *a;
  ExpectHandedOver(handed);
  ASSERT_EQ(player.state(), QProcess::Running);
  EXPECT_TRUE(TraceHas(trace, "list-complete 2"));
  Terminate(player);
  QList<QByteArray> lines = ReadAll(home.file("Default.pld")).split('\n');
  std::sort(lines.begin(), lines.end());
  EXPECT_EQ(lines, QList<QByteArray>({"", QFile::encodeName(kTone) + "\r", QFile::encodeName(kOgg) + "\r"}));
}

TEST(SingleInstance, PlayersOfTheirOwnFoldersRunSideBySide) {
  TempDir homeA, homeB;
  const auto a = StartPlayer(homeA, {}, homeA.file("trace.log"));
  const auto b = StartPlayer(homeB, {}, homeB.file("trace.log"));
  EXPECT_TRUE(TraceHas(homeA.file("trace.log"), "ready"));
  EXPECT_TRUE(TraceHas(homeB.file("trace.log"), "ready"));
  EXPECT_NE(SingleInstance::SocketName(homeA.path()), SingleInstance::SocketName(homeB.path()));
  Terminate(*a);
  Terminate(*b);
}

// Another start without names brings the window up, from the tray too.
class RaiseTest : public PlaylistFixture {};

TEST_F(RaiseTest, TheMainWindowComesUpFromMinimisedAndFromTheTray) {
  Start();
  main->showMinimized();
  ASSERT_TRUE(WaitUntil([&] { return main->isMinimized(); }));
  app.RaiseMainWindow();
  EXPECT_TRUE(WaitUntil([&] { return main->isVisible() && !main->isMinimized(); }));
  EXPECT_TRUE(WaitUntil([&] { return QApplication::activeWindow() == main; }));
  main->hide();
  app.State().TrayMinimised = true;
  app.RaiseMainWindow();
  EXPECT_TRUE(main->isVisible());
  EXPECT_FALSE(app.State().TrayMinimised);
}

}  // namespace
}  // namespace orve::test
