#include "PlaylistFixture.h"

#include <QMessageBox>
#include <cmath>

#include "playlist/ItemMarkup.h"

namespace orve::test {

QByteArray SineWav(double seconds, int hz) {
  const quint32 frames = static_cast<quint32>(8000 * seconds);
  const quint32 data = frames * 2u;
  QByteArray wav;
  auto u32 = [&](quint32 v) { for (int i = 0; i < 4; ++i) wav.append(char((v >> (8 * i)) & 0xFF)); };
  auto u16 = [&](quint16 v) { wav.append(char(v & 0xFF)); wav.append(char(v >> 8)); };
  wav += "RIFF"; u32(36 + data); wav += "WAVEfmt "; u32(16); u16(1); u16(1); u32(8000); u32(16000); u16(2); u16(16);
  wav += "data"; u32(data);
  for (quint32 i = 0; i < frames; ++i) {
    const double v = hz == 0 ? 0.0 : 0.5 * std::sin(2 * M_PI * hz * i / 8000.0);
    u16(static_cast<quint16>(static_cast<qint16>(std::lround(v * 32767))));
  }
  return wav;
}

NextMessageBox::NextMessageBox() {
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      text = box->text();
      box->accept();
      timer_.stop();
    }
  });
  timer_.start(10);
}

void PlaylistFixture::SetUp() {
  qputenv("ORVE_HOME", home.path().toUtf8());
  qputenv("ORVE_AUDIO_OUTPUT", "null");
  qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());  // the trash is the run's own
}

void PlaylistFixture::TearDown() {
  if (started) End();
}

void PlaylistFixture::Start(const QStringList& arguments) {
  app.State() = AppState();  // a fresh run
  ASSERT_TRUE(Startup(app, arguments));
  started = true;
  main = app.Windows().main;
  pls = app.Windows().playlist;
  eq = app.Windows().equalizer;
  engine = app.State().Engine.get();
  WaitAdded();
}

void PlaylistFixture::End() {
  Shutdown(app);
  started = false;
}

void PlaylistFixture::Add(const QStringList& paths) {
  pls->AddFiles(paths);
  WaitAdded();
}

void PlaylistFixture::WaitAdded() {
  ASSERT_TRUE(WaitUntil([&] { return !pls->Adding(); }, 60000));
  QCoreApplication::processEvents();  // the batch's own follow-up (a start) has run
  ASSERT_TRUE(pls->Consistent());
}

void PlaylistFixture::StartRow(int i) {
  pls->SelectIndex(i);
  pls->StartSelected();
}

bool PlaylistFixture::DrawnCurrent(int i) const {
  return pls->RowText(i).startsWith(CurrentItemPrefix(app.State().Scheme.CurrentColorText));
}

}  // namespace orve::test
