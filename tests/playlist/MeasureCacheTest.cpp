// The measurement cache: a file seen before is not read again while its
// size and time stay; a changed one is; a damaged, unusable or locked cache
// never stops files from being added.
#include "playlist/MeasureCache.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <fcntl.h>
#include <sys/stat.h>

#include "playlist/EntryAdder.h"
#include "support/TempDir.h"

namespace orve {
namespace {

constexpr int kWaitMs = 60000;
const QString kFixtures = QStringLiteral(ORVE_FIXTURES_DIR "/audio/");

// What `cache` holds for `path`, read as a measuring thread reads it.
std::optional<MeasureCache::Measure> Stored(const MeasureCache& cache, const QString& path) {
  const std::unique_ptr<MeasureCache::Reader> reader = cache.NewReader();
  return reader != nullptr ? reader->Find(path) : std::nullopt;
}

class MeasureCacheTest : public ::testing::Test {
 protected:
  // The title the playlist gets for `path` through an adder using `cache`.
  QString AddedTitle(MeasureCache* cache, const QString& path) {
    TCore engine;
    engine.Init(home.path() + "/");
    EntryAdder adder(engine, {});
    adder.SetCache(cache);
    QSignalSpy idle(&adder, &EntryAdder::Idle);
    adder.Add({{path, false}});
    EXPECT_TRUE(QTest::qWaitFor([&] { return idle.count() == 1; }, kWaitMs));
    return engine.Titles.value(0);
  }
  QString CacheFile() const { return home.file("cache/measures.sqlite"); }

  test::TempDir home;
};

TEST_F(MeasureCacheTest, AFileIsReadAgainOnlyWhenItChanged) {
  const QString song = home.file("song.mp3");
  ASSERT_TRUE(QFile::copy(kFixtures + "cbr.mp3", song));
  MeasureCache cache(CacheFile());
  ASSERT_TRUE(cache.Usable());
  EXPECT_TRUE(AddedTitle(&cache, song).contains("Песня"));
  const std::optional<MeasureCache::Measure> stored = Stored(cache, song);
  ASSERT_TRUE(stored.has_value());
  EXPECT_EQ(stored->entry.seconds, 2);
  EXPECT_EQ(stored->stamp, StampOf(song));

  // The title changed in place (same size) and the time put back: the
  // cache answers, so the file was not read.
  struct stat before {};
  ASSERT_EQ(::stat(QFile::encodeName(song).constData(), &before), 0);
  QByteArray bytes = test::ReadAll(song);
  const QByteArray oldTitle = QStringLiteral("Песня").toUtf8(), newTitle = QStringLiteral("Пьеса").toUtf8();
  ASSERT_EQ(oldTitle.size(), newTitle.size());
  bytes.replace(bytes.indexOf(oldTitle), oldTitle.size(), newTitle);
  home.write("song.mp3", bytes);
  const struct timespec times[2] = {before.st_atim, before.st_mtim};
  ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(song).constData(), times, 0), 0);
  EXPECT_TRUE(AddedTitle(&cache, song).contains("Песня"));

  // Its time moves on: measured again, and the new measure kept.
  const struct timespec later[2] = {before.st_atim, {before.st_mtim.tv_sec + 1, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(song).constData(), later, 0), 0);
  EXPECT_TRUE(AddedTitle(&cache, song).contains("Пьеса"));
  EXPECT_TRUE(AddedTitle(nullptr, song).contains("Пьеса"));
  ASSERT_TRUE(Stored(cache, song).has_value());
  EXPECT_EQ(Stored(cache, song)->stamp, StampOf(song));
}

TEST_F(MeasureCacheTest, ADamagedOrForeignFileIsReplaced) {
  const QByteArray contents[] = {QByteArray(4096, 'x'), QByteArray("SQLite format 3") + QByteArray(100, '\0')};
  for (const QByteArray& junk : contents) {
    home.write("cache/measures.sqlite", junk);
    MeasureCache cache(CacheFile());
    ASSERT_TRUE(cache.Usable());
    cache.Store({{{10, 20}, {QStringLiteral("/a.mp3"), QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("T"), 5}}});
    ASSERT_TRUE(Stored(cache, QStringLiteral("/a.mp3")).has_value());
    EXPECT_EQ(Stored(cache, QStringLiteral("/a.mp3"))->entry.seconds, 5);
  }
  // A cache of another layout is dropped, not read.
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("foreign"));
    db.setDatabaseName(CacheFile());
    ASSERT_TRUE(db.open());
    QSqlQuery q(db);
    ASSERT_TRUE(q.exec("DROP TABLE measures"));
    ASSERT_TRUE(q.exec("CREATE TABLE measures (path TEXT, other TEXT)"));
    ASSERT_TRUE(q.exec("PRAGMA user_version=99"));
    db.close();
  }
  QSqlDatabase::removeDatabase(QStringLiteral("foreign"));
  MeasureCache cache(CacheFile());
  ASSERT_TRUE(cache.Usable());
  EXPECT_FALSE(Stored(cache, QStringLiteral("/a.mp3")).has_value());
}

TEST_F(MeasureCacheTest, WithoutAUsableCacheFilesAreMeasuredAsBefore) {
  home.write("not-a-folder", "x");
  MeasureCache cache(home.file("not-a-folder/measures.sqlite"));
  EXPECT_FALSE(cache.Usable());
  EXPECT_EQ(cache.NewReader(), nullptr);
  EXPECT_FALSE(Stored(cache, kFixtures + "cbr.mp3").has_value());
  EXPECT_TRUE(AddedTitle(&cache, kFixtures + "cbr.mp3").contains("Песня"));
}

TEST_F(MeasureCacheTest, ACacheLockedByAnotherPlayerIsDoneWithout) {
  MeasureCache cache(CacheFile());
  ASSERT_TRUE(cache.Usable());
  {
    QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
    other.setDatabaseName(CacheFile());
    ASSERT_TRUE(other.open());
    QSqlQuery q(other);
    ASSERT_TRUE(q.exec("BEGIN EXCLUSIVE"));
    EXPECT_TRUE(AddedTitle(&cache, kFixtures + "cbr.mp3").contains("Песня"));
    ASSERT_TRUE(q.exec("ROLLBACK"));
    other.close();
  }
  QSqlDatabase::removeDatabase(QStringLiteral("other"));
  EXPECT_TRUE(cache.Usable());
  EXPECT_TRUE(AddedTitle(&cache, kFixtures + "cbr.mp3").contains("Песня"));
  EXPECT_TRUE(Stored(cache, kFixtures + "cbr.mp3").has_value());
}

}  // namespace
}  // namespace orve
