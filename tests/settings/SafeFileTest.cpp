#include "settings/SafeFile.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>

#include "support/TempDir.h"

namespace orve {
namespace {

using test::ReadAll;

// What a save killed after naming its temporary file leaves: it goes at the
// next start once it is old, and nothing else beside the file is touched.
TEST(SafeFile, StaleSavesOfTheFileAreRemovedAndNothingElse) {
  test::TempDir dir;
  const QString config = dir.write("config.ini", "[a]\r\nx=1\r\n");
  const QDateTime old = QDateTime::currentDateTime().addSecs(-3600);
  struct Case {
    const char* name;
    bool old;
    bool removed;
  };
  const Case cases[] = {
      {"config.ini.AbC123", true, true},    // a cut-off save
      {"config.ini.XyZ789", false, false},  // young: perhaps another copy's save under way
      {"config.ini.bak", true, false},      // the user's own copy
      {"config.ini.ab-123", true, false},   // not a temporary name
      {"config.ini.abcdefg", true, false},  // seven characters
      {"Config.ini.AbC123", true, false},   // another file's name
      {"Default.pld.AbC123", true, false},  // another file's leftover is its own call's
  };
  for (const Case& c : cases) {
    const QString path = dir.write(c.name, "x");
    if (c.old) {
      QFile f(path);
      ASSERT_TRUE(f.open(QIODevice::ReadWrite));
      ASSERT_TRUE(f.setFileTime(old, QFileDevice::FileModificationTime));
    }
  }
  RemoveStaleSaves(config);
  for (const Case& c : cases) EXPECT_EQ(QFile::exists(dir.file(c.name)), !c.removed) << c.name;
  EXPECT_EQ(ReadAll(config), "[a]\r\nx=1\r\n");
  RemoveStaleSaves(dir.file("missing.ini"));  // no file, no leftovers: nothing happens
}

}  // namespace
}  // namespace orve
