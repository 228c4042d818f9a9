// What INI operations cost on a file of 1,000 keys (the size of a music base
// of a few hundred artists): 1,000 writes, each safely replacing the file;
// 1,000 reads through an object that keeps the parsed file; the same 1,000
// writes deferred and written once.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

#include "settings/IniFile.h"

namespace {

constexpr int kKeys = 1000;
constexpr int kOps = 1000;

QString Section(int i) { return QStringLiteral("Artist %1").arg(i / 10); }
QString Key(int i) { return QStringLiteral("Title number %1").arg(i); }
QString Value(int i) { return QStringLiteral("/home/user/Music/Artist %1/Title number %2.mp3").arg(i / 10).arg(i); }

void Fill(const QString& name) {
  orve::IniFile ini(name);
  ini.SetDeferredWrites(true);
  for (int i = 0; i < kKeys; ++i) ini.WriteString(Section(i), Key(i), Value(i));
  ini.UpdateFile();
}

template <typename F>
double Millis(F&& f) {
  QElapsedTimer timer;
  timer.start();
  f();
  return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QTemporaryDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) + "/iniXXXXXX" : QString());
  const QString name = dir.filePath("base.dbm");
  Fill(name);

  orve::IniFile ini(name);
  const double writes = Millis([&] {
    for (int i = 0; i < kOps; ++i) ini.WriteString(Section(i * 7 % kKeys), Key(i * 7 % kKeys), Value(i + 1));
  });
  int found = 0;
  const double reads = Millis([&] {
    for (int i = 0; i < kOps; ++i) found += ini.ValueExists(Section(i), Key(i)) ? 1 : 0;
  });
  const double fresh = Millis([&] {
    for (int i = 0; i < 100; ++i) orve::IniFile(name).ReadString(Section(i), Key(i), {});
  });
  const double deferred = Millis([&] {
    ini.SetDeferredWrites(true);
    for (int i = 0; i < kOps; ++i) ini.WriteString(Section(i), Key(i), Value(i + 2));
    ini.UpdateFile();
    ini.SetDeferredWrites(false);
  });
  std::printf("file of %d keys, %lld bytes\n", kKeys, static_cast<long long>(QFileInfo(name).size()));
  std::printf("%d writes, each replacing the file: %.1f ms (%.3f ms per write)\n", kOps, writes, writes / kOps);
  std::printf("%d reads through one object:        %.2f ms (%.4f ms per read, %d found)\n", kOps, reads,
              reads / kOps, found);
  std::printf("100 opens of a new object + read:    %.1f ms (%.3f ms each, parses the file)\n", fresh, fresh / 100);
  std::printf("%d deferred writes + one save:      %.1f ms\n", kOps, deferred);
  return found == kOps ? 0 : 1;
}
