#include "settings/IniFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <thread>

#include "settings/FileError.h"
#include "support/TempDir.h"
#include "support/Unprivileged.h"

namespace orve {
namespace {

using test::ReadAll;

class IniFileTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  QString name = dir.file("config.ini");
};

TEST_F(IniFileTest, MissingFileGivesDefaultsAndFirstWriteCreatesIt) {
  IniFile ini(name);
  EXPECT_EQ(ini.ReadInteger("core", "buff", 1000), 1000);
  EXPECT_EQ(ini.ReadString("themes", "name", "blue"), "blue");
  EXPECT_TRUE(ini.ReadSections().isEmpty());
  EXPECT_FALSE(QFile::exists(name));
  ini.WriteInteger("core", "buff", 500);
  EXPECT_EQ(ReadAll(name), "[core]\r\nbuff=500\r\n");
}

TEST_F(IniFileTest, TypedReadsFollowTheValueRules) {
  dir.write("config.ini",
            "[CORE]\r\nBuff=0x200\r\nbad=abc\r\nsplash=2\r\nempty=\r\n"
            "[x]\r\nreal=12,5\r\nno=zz\r\n");
  IniFile ini(name);
  EXPECT_EQ(ini.Read(config::core::kBuffer), 512);
  EXPECT_EQ(ini.ReadInteger("core", "bad", 1000), 1000);
  EXPECT_TRUE(ini.Read(config::core::kSplash));           // 2 counts as true
  EXPECT_TRUE(ini.ReadBool("core", "empty", true));       // empty gives the default
  EXPECT_FALSE(ini.ReadBool("core", "empty", false));
  EXPECT_DOUBLE_EQ(ini.ReadFloat("x", "real", 0), 12.5);
  EXPECT_DOUBLE_EQ(ini.ReadFloat("x", "no", 7), 7);
  EXPECT_DOUBLE_EQ(ini.ReadFloat("x", "missing", 3), 3);
}

// A stray NUL (a crash of another editor, a bad copy) stays where it is:
// the settings after it are still read and are written back with it.
TEST_F(IniFileTest, ANulByteLosesNothingAfterIt) {
  const QByteArray before("[core]\r\nbuff=500\r\nbad=a\0b\r\n[themes]\r\nname=green\r\n", 49);
  dir.write("config.ini", before);
  IniFile ini(name);
  EXPECT_EQ(ini.ReadString("themes", "name", "blue"), "green");
  ini.WriteInteger("core", "buff", 600);
  QByteArray after = before;
  after.replace("buff=500", "buff=600");
  EXPECT_EQ(ReadAll(name), after);
}

TEST_F(IniFileTest, TypedWrites) {
  IniFile ini(name);
  ini.WriteBool("f", "on", true);
  ini.WriteBool("f", "off", false);
  ini.WriteFloat("f", "delay", 250);
  ini.WriteInteger("f", "neg", -2602);
  EXPECT_EQ(ReadAll(name), "[f]\r\non=1\r\noff=0\r\ndelay=250\r\nneg=-2602\r\n");
}

TEST_F(IniFileTest, TextsAreReadBackToAtMost2047Characters) {
  IniFile ini(name);
  const QString exact(2047, u'я');
  ini.WriteString("t", "exact", exact);
  ini.WriteString("t", "long", exact + "xyz");
  IniFile again(name);
  EXPECT_EQ(again.ReadString("t", "exact", {}), exact);
  EXPECT_EQ(again.ReadString("t", "long", {}), exact);
}

TEST_F(IniFileTest, Windows1251FileReadsAndIsWrittenBackAsUtf8) {
  // "[Настройки]\r\nимя=Кино\r\n" in Windows-1251
  dir.write("config.ini", "[\xCD\xE0\xF1\xF2\xF0\xEE\xE9\xEA\xE8]\r\n\xE8\xEC\xFF=\xCA\xE8\xED\xEE\r\n");
  IniFile ini(name);
  EXPECT_EQ(ini.ReadSections(), QStringList({"Настройки"}));
  EXPECT_EQ(ini.ReadString("НАСТРОЙКИ", "ИМЯ", {}), "Кино");
  ini.WriteString("Настройки", "год", "1988");
  EXPECT_EQ(ReadAll(name), QString("[Настройки]\r\nимя=Кино\r\nгод=1988\r\n").toUtf8());
}

// One line in Windows-1251 among UTF-8 ones: every value keeps its letters.
TEST_F(IniFileTest, AnOldLineAmongUtf8LinesSpoilsNothing) {
  dir.write("config.ini", "[themes]\r\nname=\xD0\xB3\xD1\x80\xD0\xB0\xD1\x84\xD0\xB8\xD1\x82\r\n"
                          "old=\xCA\xE8\xED\xEE\r\n");
  IniFile ini(name);
  EXPECT_EQ(ini.ReadString("themes", "name", {}), "графит");
  EXPECT_EQ(ini.ReadString("themes", "old", {}), "Кино");
}

TEST_F(IniFileTest, Utf8ByteOrderMarksAreAccepted) {
  for (const QByteArray mark : {"\xEF\xBB\xBF", "\xEF\xBB\xBF\xEF\xBB\xBF"}) {
    dir.write("config.ini", mark + "[themes]\nname=графит\n");
    IniFile ini(name);
    EXPECT_EQ(ini.Read(config::themes::kName), "графит");
    ini.WriteString("themes", "name", "blue");
    EXPECT_EQ(ReadAll(name), "[themes]\r\nname=blue\r\n");  // written without a mark
  }
}

TEST_F(IniFileTest, SeesWhatAnotherObjectWrote) {
  IniFile reader(name);
  IniFile writer(name);
  EXPECT_EQ(reader.ReadInteger("a", "x", -1), -1);
  for (int i = 0; i < 5; ++i) {  // same size every time: only the file's identity changes
    writer.WriteInteger("a", "x", i);
    EXPECT_EQ(reader.ReadInteger("a", "x", -1), i);
  }
  QFile::remove(name);
  EXPECT_EQ(reader.ReadInteger("a", "x", -1), -1);
}

// A caller reading many keys in a row may hold the look at the disk: an
// outside change is seen again once the hold ends.
TEST_F(IniFileTest, AHeldDiskCheckSeesTheFileAsItWasUntilReleased) {
  IniFile reader(name);
  IniFile writer(name);
  writer.WriteInteger("a", "x", 1);
  reader.HoldDiskCheck(true);
  EXPECT_EQ(reader.ReadInteger("a", "x", -1), 1);
  writer.WriteInteger("a", "x", 2);
  EXPECT_EQ(reader.ReadInteger("a", "x", -1), 1);
  reader.HoldDiskCheck(false);
  EXPECT_EQ(reader.ReadInteger("a", "x", -1), 2);
}

TEST_F(IniFileTest, EraseDeleteAndExistence) {
  IniFile ini(name);
  ini.WriteString("a", "k1", "1");
  ini.WriteString("a", "k2", "2");
  ini.WriteString("b", "k", "3");
  EXPECT_TRUE(ini.SectionExists("A"));
  EXPECT_TRUE(ini.ValueExists("a", "K2"));
  ini.DeleteKey("a", "k2");
  EXPECT_FALSE(ini.ValueExists("a", "k2"));
  ini.EraseSection("b");
  EXPECT_FALSE(ini.SectionExists("b"));
  EXPECT_EQ(ini.ReadSection("a"), QStringList({"k1"}));
  EXPECT_EQ(ReadAll(name), "[a]\r\nk1=1\r\n");
}

TEST_F(IniFileTest, DeferredWritesReachTheDiskOnUpdate) {
  IniFile ini(name);
  ini.WriteString("a", "first", "1");
  ini.SetDeferredWrites(true);
  ini.WriteString("a", "second", "2");
  EXPECT_EQ(ini.ReadString("a", "second", {}), "2");
  EXPECT_EQ(ReadAll(name), "[a]\r\nfirst=1\r\n");
  ini.UpdateFile();
  EXPECT_EQ(ReadAll(name), "[a]\r\nfirst=1\r\nsecond=2\r\n");
  {
    IniFile other(name);
    other.SetDeferredWrites(true);
    other.WriteString("a", "third", "3");
  }  // pending writes are saved when the object goes
  EXPECT_EQ(ReadAll(name), "[a]\r\nfirst=1\r\nsecond=2\r\nthird=3\r\n");
}

// In a read-only folder a write raises "Unable to write to <name>", the old
// file stays byte for byte and the value is not seen by later reads.
TEST_F(IniFileTest, FailedWriteKeepsTheOldFile) {
  const QByteArray old = "; hand-written\r\n[core]\r\nbuff=700\r\n";
  dir.write("config.ini", old);
  QFile::setPermissions(name, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
  QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                        QFileDevice::ReadGroup | QFileDevice::ExeGroup |
                                        QFileDevice::ReadOther | QFileDevice::ExeOther);
  const QString expected = "Unable to write to " + name;
  const int result = test::RunUnprivileged([&] {
    IniFile ini(name);
    if (ini.ReadInteger("core", "buff", 0) != 700) return 1;
    try {
      ini.WriteInteger("core", "buff", 1);
      return 2;
    } catch (const FileError& e) {
      if (e.message() != expected) return 3;
    }
    if (ini.ReadInteger("core", "buff", 0) != 700) return 4;
    return 0;
  });
  QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(ReadAll(name), old);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"config.ini"}));
}

TEST_F(IniFileTest, UnreadableFileGivesDefaultsAndIsNeverOverwritten) {
  const QByteArray old = "[core]\r\nbuff=700\r\n";
  dir.write("config.ini", old);
  QFile::setPermissions(name, QFileDevice::Permissions());
  QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                        QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther);
  const int result = test::RunUnprivileged([&] {
    IniFile ini(name);
    if (ini.ReadInteger("core", "buff", 1000) != 1000) return 1;
    try {
      ini.WriteInteger("core", "splash", 0);
      return 2;
    } catch (const FileError&) {
    }
    return 0;
  });
  QFile::setPermissions(name, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(ReadAll(name), old);
}

}  // namespace
}  // namespace orve
