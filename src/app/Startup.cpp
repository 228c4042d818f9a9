#include "app/Startup.h"

#include "app/AppDir.h"
#include "app/Application.h"
#include "app/Unit1.h"
#include "settings/ConfigKeys.h"
#include "settings/IniFile.h"

namespace orve {

bool Startup(TApplication& app, const QStringList& /*arguments*/) {
  AppState& state = app.State();
  state.AppDir = ResolveAppDir();
  InstallBundledThemes(state.AppDir);
  {
    IniFile config(state.AppDir + QString::fromLatin1(config::kFileName));
    state.Scheme = LoadTheme(state.AppDir, config.Read(config::themes::kName));
  }
  QObject::connect(state.Engine.get(), &TCore::NowPlayingChanged, &app,
                   [&state](const QString& artist, const QString& title) {
                     state.NowArtist = artist;
                     state.NowTitle = title;
                   });
  state.Engine->Init(state.AppDir);
  auto* main = new TForm1();
  main->setAttribute(Qt::WA_DeleteOnClose, false);
  app.SetMainWindow(main);
  main->show();
  return true;
}

void Shutdown(TApplication& app) {
  delete app.MainWindow();
  app.SetMainWindow(nullptr);
  app.State().Engine->Shutdown();
}

}  // namespace orve
