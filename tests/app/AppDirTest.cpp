#include "app/AppDir.h"

#include <gtest/gtest.h>

#include <QDir>

#include "support/TempDir.h"

namespace orve {
namespace {

class EnvGuard {
 public:
  explicit EnvGuard(const char* name) : name_(name), old_(qgetenv(name)), had_(qEnvironmentVariableIsSet(name)) {}
  ~EnvGuard() { had_ ? qputenv(name_, old_) : qunsetenv(name_); }

 private:
  const char* name_;
  QByteArray old_;
  bool had_;
};

TEST(AppDir, ComesFromOrveHomeAndIsCreated) {
  EnvGuard guard("ORVE_HOME");
  test::TempDir dir;
  for (const QString& home : {dir.path() + "/new/folder", dir.path() + "/slash/"}) {
    qputenv("ORVE_HOME", home.toUtf8());
    const QString appDir = ResolveAppDir();
    EXPECT_EQ(appDir, QDir(home).absolutePath() + "/");
    EXPECT_TRUE(QDir(appDir).exists());
  }
}

TEST(AppDir, DefaultsToTheUsersDataFolder) {
  EnvGuard home("HOME");
  EnvGuard orveHome("ORVE_HOME");
  EnvGuard xdg("XDG_DATA_HOME");
  test::TempDir dir;
  qunsetenv("ORVE_HOME");
  qunsetenv("XDG_DATA_HOME");
  qputenv("HOME", dir.path().toUtf8());
  EXPECT_EQ(ResolveAppDir(), dir.path() + "/.local/share/orve/");
}

}  // namespace
}  // namespace orve
