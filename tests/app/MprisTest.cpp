// The player as an MPRIS 2 media player on a real session bus: the whole
// program runs in this process, and the test talks to it over the bus from
// a connection of its own (asynchronous calls while the event loop runs,
// as the player answers on this same thread), and through playerctl.
#include <gtest/gtest.h>

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <csignal>

#include "PlaylistFixture.h"
#include "app/MprisService.h"

namespace orve::test {
namespace {

const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kRoot = QStringLiteral("org.mpris.MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
constexpr qlonglong kSecond = 1000000;

// A variant as the bus hands a nested a{sv} over: still marshalled.
QVariantMap AsMap(const QVariant& v) {
  if (v.canConvert<QDBusArgument>()) return qdbus_cast<QVariantMap>(v.value<QDBusArgument>());
  return v.toMap();
}

}  // namespace

// What the player announces, as it arrives.
class BusRecorder : public QObject {
  Q_OBJECT
 public:
  QList<QVariantMap> changes;  // of the Player interface
  QList<qlonglong> seeks;

  // The last value announced for `property`; invalid when none was.
  QVariant Last(const QString& property) const {
    for (qsizetype i = changes.size() - 1; i >= 0; --i) {
      if (changes[i].contains(property)) return changes[i].value(property);
    }
    return {};
  }

 public slots:
  void PropertiesChanged(const QString& interface, const QVariantMap& changed, const QStringList&) {
    if (interface == kPlayer) changes << changed;
  }
  void Seeked(qlonglong position) { seeks << position; }
};

namespace {

class MprisTest : public PlaylistFixture {
 protected:
  void SetUp() override {
    if (!QDBusConnection::sessionBus().isConnected()) {
      GTEST_SKIP() << "no D-Bus session bus (DBUS_SESSION_BUS_ADDRESS; scripts/test starts one)";
    }
    PlaylistFixture::SetUp();
  }

  // Starts the program; its name on the bus, and what it announces, are followed.
  void StartOnBus(const QStringList& arguments) {
    Start(arguments);
    auto* service = main->findChild<MprisService*>();
    ASSERT_NE(service, nullptr);
    service_ = service->BusName();
    ASSERT_TRUE(service_.startsWith("org.mpris.MediaPlayer2.orve")) << service_.toStdString();
    ASSERT_TRUE(client_.connect(service_, kPath, kProperties, "PropertiesChanged", &recorder_,
                                SLOT(PropertiesChanged(QString, QVariantMap, QStringList))));
    ASSERT_TRUE(client_.connect(service_, kPath, kPlayer, "Seeked", &recorder_, SLOT(Seeked(qlonglong))));
    // Once a call has been answered, the bus has the subscriptions sent before it.
    EXPECT_EQ(Get(kRoot, "Identity").toString(), "ORVE");
  }

  QDBusMessage Call(const QString& interface, const QString& method, const QVariantList& args = {}) {
    QDBusMessage message = QDBusMessage::createMethodCall(service_, kPath, interface, method);
    message.setArguments(args);
    QDBusPendingCall pending = client_.asyncCall(message, 20000);
    EXPECT_TRUE(WaitUntil([&] { return pending.isFinished(); }, 30000)) << method.toStdString();
    return pending.reply();
  }
  // A method of the Player interface, answered without an error.
  void Player(const QString& method, const QVariantList& args = {}) {
    const QDBusMessage reply = Call(kPlayer, method, args);
    EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << method.toStdString() << ": "
                                                        << reply.errorMessage().toStdString();
  }
  QVariant Get(const QString& interface, const QString& property) {
    const QDBusMessage reply = Call(kProperties, "Get", {interface, property});
    EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << property.toStdString();
    if (reply.arguments().isEmpty()) return {};
    return reply.arguments().constFirst().value<QDBusVariant>().variant();
  }
  QVariant Get(const QString& property) { return Get(kPlayer, property); }
  void Set(const QString& property, const QVariant& value) {
    const QDBusMessage reply = Call(kProperties, "Set", {kPlayer, property, QVariant::fromValue(QDBusVariant(value))});
    EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << property.toStdString();
  }
  QVariantMap Metadata() { return AsMap(Get("Metadata")); }
  qlonglong Position() { return Get("Position").toLongLong(); }

  // Plays, and waits until it does.
  void WaitPlaying() { ASSERT_TRUE(WaitUntil([&] { return engine->PlayState == kPlaying; })); }
  // Pauses through the window and waits until the bus has been told.
  void PauseAndSettle() {
    main->Pause();
    ASSERT_TRUE(WaitUntil([&] { return recorder_.Last("PlaybackStatus") == "Paused"; }));
  }

  QDBusConnection client_ = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "mpris-test-client");
  BusRecorder recorder_;
  QString service_;
};

TEST_F(MprisTest, TheRootInterfaceNamesThePlayer) {
  StartOnBus({});
  EXPECT_EQ(Get(kRoot, "Identity").toString(), "ORVE");
  EXPECT_EQ(Get(kRoot, "DesktopEntry").toString(), "orve");
  EXPECT_TRUE(Get(kRoot, "CanQuit").toBool());
  EXPECT_TRUE(Get(kRoot, "CanRaise").toBool());
  EXPECT_FALSE(Get(kRoot, "HasTrackList").toBool());
  EXPECT_EQ(Get(kRoot, "SupportedUriSchemes").toStringList(), QStringList({"file", "http", "https"}));
  const QStringList types = Get(kRoot, "SupportedMimeTypes").toStringList();
  EXPECT_TRUE(types.contains("audio/mpeg"));
  EXPECT_TRUE(types.contains("audio/flac"));
  // Raise: back from minimised.
  main->showMinimized();
  ASSERT_TRUE(WaitUntil([&] { return main->isMinimized(); }));
  EXPECT_EQ(Call(kRoot, "Raise").type(), QDBusMessage::ReplyMessage);
  EXPECT_TRUE(WaitUntil([&] { return main->isVisible() && !main->isMinimized(); }));
  // Quit: the road of "Выход", which ends the event loop.
  EXPECT_TRUE(LoopEndsAfter([&] { client_.asyncCall(QDBusMessage::createMethodCall(service_, kPath, kRoot, "Quit")); }));
  EXPECT_TRUE(app.State().Exiting);
}

TEST_F(MprisTest, PropertiesDescribeTheFileThatPlays) {
  const QString song = kFixtures + "cbr.mp3";  // ID3v2: Песня, Исполнитель, Альбом
  home.write("config.ini", "[tech]\r\nrpt=2\r\n");  // repeat the track: it plays on while the test reads
  StartOnBus({song});
  WaitPlaying();
  EXPECT_EQ(Get("PlaybackStatus").toString(), "Playing");
  const QVariantMap m = Metadata();
  EXPECT_EQ(m.value("xesam:title").toString(), "Песня");
  EXPECT_EQ(m.value("xesam:artist").toStringList(), QStringList({"Исполнитель"}));
  EXPECT_EQ(m.value("xesam:album").toString(), "Альбом");
  EXPECT_EQ(m.value("xesam:url").toString(), QUrl::fromLocalFile(song).toString(QUrl::FullyEncoded));
  ASSERT_EQ(m.value("mpris:trackid").metaType(), QMetaType::fromType<QDBusObjectPath>());
  EXPECT_FALSE(m.value("mpris:trackid").value<QDBusObjectPath>().path().startsWith("/org/mpris"));
  EXPECT_EQ(m.value("mpris:length").metaType(), QMetaType::fromType<qlonglong>());
  EXPECT_NEAR(m.value("mpris:length").toLongLong(), 2000000, 30000);  // µs: its LAME header's exact length
  EXPECT_EQ(Get("Rate").toDouble(), 1.0);
  EXPECT_EQ(Get("MinimumRate").toDouble(), 1.0);
  EXPECT_EQ(Get("MaximumRate").toDouble(), 1.0);
  EXPECT_TRUE(Get("CanControl").toBool());
  EXPECT_TRUE(Get("CanPlay").toBool());
  EXPECT_TRUE(Get("CanPause").toBool());
  EXPECT_TRUE(Get("CanSeek").toBool());
  EXPECT_FALSE(Get("CanGoNext").toBool());  // one entry, not round it
  EXPECT_EQ(Get("LoopStatus").toString(), "Track");
  EXPECT_DOUBLE_EQ(Get("Volume").toDouble(), eq->Volume() / 100.0);
  EXPECT_TRUE(WaitUntil([&] { return Position() > 0; }));
  EXPECT_LE(Position(), 2100000);
}

TEST_F(MprisTest, ChangesMadeInTheWindowsAreAnnounced) {
  const QString a = home.write("a.wav", SineWav(30, 440));
  const QString b = home.write("b.wav", SineWav(30, 880));
  StartOnBus({a, b});
  WaitPlaying();
  PauseAndSettle();
  StartRow(1);
  ASSERT_TRUE(WaitUntil([&] { return AsMap(recorder_.Last("Metadata")).value("xesam:title") == "b"; }));
  EXPECT_EQ(recorder_.Last("PlaybackStatus"), "Playing");
  EXPECT_EQ(recorder_.Last("CanGoNext"), false);
  EXPECT_EQ(recorder_.Last("CanGoPrevious"), true);
  eq->StepVolume(-30);
  ASSERT_TRUE(WaitUntil([&] { return recorder_.Last("Volume").isValid(); }));
  EXPECT_DOUBLE_EQ(recorder_.Last("Volume").toDouble(), 0.7);
  QTest::mouseClick(mainUi().repeatButton, Qt::LeftButton);  // ПовВсё
  ASSERT_TRUE(WaitUntil([&] { return recorder_.Last("LoopStatus") == "Playlist"; }));
  EXPECT_EQ(recorder_.Last("CanGoNext"), true);  // round to the first
  // A seek with the keyboard is announced as one.
  PauseAndSettle();
  const qsizetype seeksBefore = recorder_.seeks.size();
  main->SeekTo(20);
  ASSERT_TRUE(WaitUntil([&] { return recorder_.seeks.size() > seeksBefore; }));
  EXPECT_NEAR(recorder_.seeks.last(), 20 * kSecond, kSecond / 2);
  main->Stop();
  ASSERT_TRUE(WaitUntil([&] { return recorder_.Last("PlaybackStatus") == "Stopped"; }));
}

TEST_F(MprisTest, TheTransportMethodsDriveThePlayer) {
  const QStringList files{home.write("a.wav", SineWav(30, 440)), home.write("b.wav", SineWav(30, 660)),
                          home.write("c.wav", SineWav(30, 880))};
  StartOnBus(files);
  WaitPlaying();
  Player("Pause");
  EXPECT_EQ(engine->PlayState, kPaused);
  EXPECT_EQ(Get("PlaybackStatus").toString(), "Paused");
  Player("Play");
  EXPECT_EQ(engine->PlayState, kPlaying);
  Player("PlayPause");
  EXPECT_EQ(engine->PlayState, kPaused);
  Player("PlayPause");
  EXPECT_EQ(engine->PlayState, kPlaying);
  Player("Stop");
  EXPECT_EQ(engine->PlayState, kStopped);
  EXPECT_EQ(Get("PlaybackStatus").toString(), "Stopped");
  Player("Play");
  EXPECT_EQ(engine->PlayState, kPlaying);
  Player("Next");
  EXPECT_EQ(engine->CurrentIndex, 1);
  EXPECT_EQ(engine->PlayState, kPlaying);
  EXPECT_TRUE(DrawnCurrent(1));
  Player("Next");
  EXPECT_EQ(engine->CurrentIndex, 2);
  // Repeat off: the last entry has no next, the first no previous.
  EXPECT_FALSE(Get("CanGoNext").toBool());
  Player("Next");
  EXPECT_EQ(engine->CurrentIndex, 2);
  Player("Previous");
  Player("Previous");
  EXPECT_EQ(engine->CurrentIndex, 0);
  Player("Previous");
  EXPECT_EQ(engine->CurrentIndex, 0);
  // Repeat all goes round, as auto-advance does.
  Set("LoopStatus", "Playlist");
  EXPECT_EQ(app.State().RepeatMode, RepeatModes::All);
  EXPECT_EQ(mainUi().repeatButton->text(), "ПовВсё");
  Player("Previous");
  EXPECT_EQ(engine->CurrentIndex, 2);
  Player("Next");
  EXPECT_EQ(engine->CurrentIndex, 0);
  Set("LoopStatus", "Track");
  EXPECT_EQ(app.State().RepeatMode, RepeatModes::Track);
  EXPECT_EQ(Get("LoopStatus").toString(), "Track");
  // The volume is the equalizer window's slider.
  Set("Volume", 0.25);
  EXPECT_EQ(eq->Volume(), 25);
  EXPECT_EQ(mainUi().volumeLabel->text(), "Грм:25%");
  Set("Volume", 3.0);
  EXPECT_EQ(eq->Volume(), 100);
  EXPECT_DOUBLE_EQ(Get("Volume").toDouble(), 1.0);
}

TEST_F(MprisTest, SeekAndSetPositionLandWhereAsked) {
  const QString a = home.write("a.wav", SineWav(30, 440));
  const QString b = home.write("b.wav", SineWav(30, 880));
  StartOnBus({a, b});
  WaitPlaying();
  PauseAndSettle();
  const QDBusObjectPath track = Metadata().value("mpris:trackid").value<QDBusObjectPath>();
  Player("SetPosition", {QVariant::fromValue(track), 12 * kSecond});
  EXPECT_NEAR(Position(), 12 * kSecond, kSecond / 10);
  ASSERT_TRUE(WaitUntil([&] { return !recorder_.seeks.isEmpty(); }));
  EXPECT_NEAR(recorder_.seeks.last(), 12 * kSecond, kSecond / 10);
  EXPECT_EQ(mainUi().seekBar->value(), 12);
  Player("Seek", {5 * kSecond});
  EXPECT_NEAR(Position(), 17 * kSecond, kSecond / 10);
  ASSERT_TRUE(WaitUntil([&] { return recorder_.seeks.size() >= 2; }));
  EXPECT_NEAR(recorder_.seeks.last(), 17 * kSecond, kSecond / 10);
  Player("Seek", {-40 * kSecond});
  EXPECT_NEAR(Position(), 0, kSecond / 10);
  // Meant for another entry, or beyond the end: nothing moves.
  Player("SetPosition", {QVariant::fromValue(QDBusObjectPath("/orve/track/none")), 5 * kSecond});
  EXPECT_NEAR(Position(), 0, kSecond / 10);
  Player("SetPosition", {QVariant::fromValue(track), 31 * kSecond});
  EXPECT_NEAR(Position(), 0, kSecond / 10);
  // Past the end is the next entry.
  Player("Seek", {40 * kSecond});
  EXPECT_EQ(engine->CurrentIndex, 1);
  EXPECT_NE(Metadata().value("mpris:trackid").value<QDBusObjectPath>(), track);
}

TEST_F(MprisTest, OpenUriAddsAndStartsLikeTheCommandLine) {
  const QString a = home.write("a.wav", SineWav(30, 440));
  StartOnBus({a});
  WaitPlaying();
  const QString b = home.write("b c.wav", SineWav(30, 880));
  Player("OpenUri", {QUrl::fromLocalFile(b).toString(QUrl::FullyEncoded)});
  ASSERT_TRUE(WaitUntil([&] { return engine->CurrentIndex == 1 && engine->PlayState == kPlaying; }));
  EXPECT_EQ(engine->Paths, QStringList({a, b}));
  EXPECT_EQ(Metadata().value("xesam:title").toString(), "b c");
  EXPECT_EQ(Call(kPlayer, "OpenUri", {"ftp://example.org/a.mp3"}).type(), QDBusMessage::ErrorMessage);
  EXPECT_EQ(engine->Paths.size(), 2);
}

// playerctl, a real client: status, metadata, play-pause and next.
TEST_F(MprisTest, PlayerctlDrivesThePlayer) {
  if (QStandardPaths::findExecutable("playerctl").isEmpty()) GTEST_SKIP() << "playerctl is not installed";
  // "-p orve" would match every ORVE on the bus (other tests' too), and
  // "-p orve.instanceN" only this one: the plain name is held meanwhile, so
  // the player takes an instance name.
  // Every program the other tests start in parallel takes the plain name
  // too, for a while: wait for it to be free.
  const QString plain = QStringLiteral("org.mpris.MediaPlayer2.orve");
  bool holding = false;
  const auto release = qScopeGuard([&] {
    if (holding) client_.unregisterService(plain);
  });
  ASSERT_TRUE(WaitUntil([&] { return holding = client_.registerService(plain); }, 60000));
  StartOnBus({home.write("a.wav", SineWav(30, 440)), home.write("b.wav", SineWav(30, 880))});
  WaitPlaying();
  ASSERT_TRUE(service_.startsWith(plain + ".instance")) << service_.toStdString();
  // Its name for the player: the bus name without the common part.
  const QString name = service_.mid(QStringLiteral("org.mpris.MediaPlayer2.").size());
  const auto playerctl = [&](const QStringList& args) {
    QProcess p;
    p.start("playerctl", QStringList{"-p", name} + args);
    EXPECT_TRUE(p.waitForStarted(10000));
    EXPECT_TRUE(WaitUntil([&] { return p.state() == QProcess::NotRunning; }, 30000));
    EXPECT_EQ(p.exitCode(), 0) << args.join(' ').toStdString() << ": " << p.readAllStandardError().constData();
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
  };
  EXPECT_EQ(playerctl({"status"}), "Playing");
  EXPECT_EQ(playerctl({"metadata", "title"}), "a");
  const QString metadata = playerctl({"metadata"});
  EXPECT_TRUE(metadata.contains("xesam:url")) << metadata.toStdString();
  EXPECT_TRUE(metadata.contains("mpris:length")) << metadata.toStdString();
  playerctl({"play-pause"});
  EXPECT_EQ(engine->PlayState, kPaused);
  EXPECT_EQ(playerctl({"status"}), "Paused");
  playerctl({"next"});
  EXPECT_EQ(engine->CurrentIndex, 1);
  EXPECT_EQ(engine->PlayState, kPlaying);
  EXPECT_EQ(playerctl({"metadata", "title"}), "b");
  playerctl({"position", "10"});
  EXPECT_EQ(mainUi().seekBar->value(), 10);
}

// Without a session bus the real program plays as before and says so once.
TEST(MprisWithoutBus, TheProgramRunsAndSaysSoOnce) {
  TempDir home;
  const QString trace = home.file("trace.log");
  QProcess orve;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("ORVE_HOME", home.path());
  env.insert("ORVE_TRACE", trace);
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("ORVE_AUDIO_OUTPUT", "null");
  env.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + home.file("no-bus"));
  orve.setProcessEnvironment(env);
  orve.start(ORVE_BINARY, {home.write("a.wav", SineWav(5, 440))});
  ASSERT_TRUE(orve.waitForStarted(30000));
  EXPECT_TRUE(WaitUntil([&] { return ReadAll(trace).contains(" playing\n"); }, 60000));
  ::kill(static_cast<pid_t>(orve.processId()), SIGTERM);
  ASSERT_TRUE(orve.waitForFinished(30000));
  EXPECT_EQ(orve.exitCode(), 0);
  const QString err = QString::fromUtf8(orve.readAllStandardError());
  EXPECT_EQ(err.count("D-Bus"), 1) << err.toStdString();
}

}  // namespace
}  // namespace orve::test

#include "MprisTest.moc"
