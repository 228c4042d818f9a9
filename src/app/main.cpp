// orve [FILE|URL ...]: the player. --help and --version are the only switches.

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/AppDir.h"
#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/Platform.h"
#include "app/SingleInstance.h"
#include "app/Startup.h"
#include "app/Trace.h"
#include "playlist/EntryAdder.h"
#include "playlist/PlaylistWindow.h"

namespace {

constexpr char kUsage[] =
    "Использование: orve [ФАЙЛ|АДРЕС ...]\n"
    "Аудиоплеер ORVE: добавляет названные файлы и адреса радиостанций\n"
    "в плейлист и начинает воспроизведение первого из них. Если плеер\n"
    "с той же папкой программы уже запущен, файлы получает он, а без\n"
    "файлов поднимается его окно.\n"
    "\n"
    "  --help     показать эту справку\n"
    "  --version  показать версию\n"
    "\n"
    "Переменные окружения:\n"
    "  ORVE_HOME          папка программы (по умолчанию ~/.local/share/orve/)\n"
    "  ORVE_AUDIO_OUTPUT  вывод звука: auto, null или wav:ФАЙЛ\n"
    "  ORVE_TRACE         файл журнала событий для замеров (- : stderr)\n";

// What another start of the program named: added and the first started as
// at start-up; a start without names (or none the playlist takes) brings
// the window up.
void OpenHandedOver(orve::Application& app, const QStringList& names) {
  if (app.Terminating()) return;
  orve::PlaylistWindow* playlist = app.Windows().playlist;
  if (!playlist || !playlist->AddArguments(names)) app.RaiseMainWindow();
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("%s\n", orve::kAppTitle);
      return 0;
    }
  }
  orve::ChoosePlatformDefaults();
  orve::Application app(argc, argv);
  // From the bytes: a file name that is not UTF-8 must reach the playlist
  // as the file system has it (Qt's own decoding would lose it), also from
  // a "file:" URI a desktop hands over; playlist files stand for their
  // entries. Qt has taken its own options out of argv by now.
  const QStringList arguments = orve::CommandLineNames(argc, argv);
  // One player per program folder: a player already running takes the names.
  orve::SingleInstance instance(orve::AppDirName());
  switch (instance.Claim(arguments)) {
    case orve::SingleInstance::Role::HandedOver:
      return 0;
    case orve::SingleInstance::Role::NoAnswer:
      std::fputs("orve: запущенный плеер не отвечает\n", stderr);
      return 1;
    case orve::SingleInstance::Role::First:
      break;
  }
  if (!orve::Startup(app, arguments)) return 1;
  instance.SetReceiver([&app](const QStringList& names) { OpenHandedOver(app, names); });
  const auto trace = orve::Trace::FromEnvironment(app);
  // A signal that came while start-up waited on a box ends the program here.
  const int code = app.Terminating() ? 0 : app.exec();
  instance.StopListening();
  orve::Shutdown(app);
  // A worker left measuring on a disk that stopped answering must not meet
  // the static destructors: everything is saved, so the process ends here.
  if (orve::EntryAdder::AbandonedWorkers() > 0) {
    std::fflush(nullptr);
    std::_Exit(code);
  }
  return code;
}
