#include "playlist/MeasureCache.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>
#include <atomic>
#include <cstdio>
#include <sys/stat.h>

namespace orve {
namespace {

constexpr int kSchemaVersion = 1;
constexpr int kBusyMs = 200;               // another player holding the file: wait this long, then do without

}  // namespace

FileStamp StampOf(const QString& path) {
  struct stat st {};
  if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
  return {static_cast<qint64>(st.st_size), static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

namespace {

// SQLite's "database is locked": another player holds the file.
bool Locked(const QSqlError& error) { return error.nativeErrorCode() == QLatin1String("5"); }

constexpr char kColumns[] = "path, size, mtime, kind, artist, title, seconds";

MeasureCache::Measure FromRow(const QSqlQuery& q) {
  MeasureCache::Measure m;
  m.entry.path = q.value(0).toString();
  m.stamp = {q.value(1).toLongLong(), q.value(2).toLongLong()};
  m.entry.kind = q.value(3).toString();
  m.entry.artist = q.value(4).toString();
  m.entry.title = q.value(5).toString();
  m.entry.seconds = q.value(6).toInt();
  return m;
}

QString NewConnectionName() {
  static std::atomic<int> serial{0};
  return QStringLiteral("orve-measures-%1").arg(serial++);
}

}  // namespace

MeasureCache::Reader::Reader(const QString& fileName) : connection_(NewConnectionName()) {
  QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
  db.setDatabaseName(fileName);
  // A reader does not wait: a locked file is done without.
  db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
  working_ = db.open();
  if (!working_) return;
  // Prepared once: parsing the statement cost more than the lookup itself.
  find_ = std::make_unique<QSqlQuery>(db);
  find_->setForwardOnly(true);
  working_ = find_->prepare(QStringLiteral("SELECT %1 FROM measures WHERE path = ?").arg(QLatin1String(kColumns)));
}

MeasureCache::Reader::~Reader() {
  find_.reset();  // before its connection goes
  QSqlDatabase::database(connection_, false).close();
  QSqlDatabase::removeDatabase(connection_);
}

std::optional<MeasureCache::Measure> MeasureCache::Reader::Find(const QString& path) {
  if (!working_) return std::nullopt;
  find_->bindValue(0, path);
  if (!find_->exec()) {
    working_ = false;
    return std::nullopt;
  }
  std::optional<Measure> found;
  if (find_->next()) found = FromRow(*find_);
  find_->finish();  // no read transaction is left open between lookups
  return found;
}

std::unique_ptr<MeasureCache::Reader> MeasureCache::NewReader() const {
  if (!usable_) return nullptr;
  return std::make_unique<Reader>(fileName_);
}

QString MeasureCache::DefaultFileName() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/orve/measures.sqlite");
}

MeasureCache::MeasureCache(const QString& fileName) : fileName_(fileName), connection_(NewConnectionName()) {
  // A file that is not a database (damaged, or something else) is replaced once.
  if (!Open()) {
    Close();
    QFile::remove(fileName_);
    if (!Open()) Disable(QStringLiteral("cannot be opened"));
  }
}

MeasureCache::~MeasureCache() { Close(); }

bool MeasureCache::Open() {
  if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"))) return false;
  QDir().mkpath(QFileInfo(fileName_).absolutePath());
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    db.setDatabaseName(fileName_);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyMs));
    if (!db.open()) return false;
    QSqlQuery q(db);
    // The version of the table's layout; another layout is dropped, not read.
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next()) return false;
    const int version = q.value(0).toInt();
    if (version != kSchemaVersion && version != 0) {
      if (!q.exec(QStringLiteral("DROP TABLE IF EXISTS measures"))) return false;
    }
    const bool ready =
        q.exec(QStringLiteral("PRAGMA journal_mode=WAL")) &&
        q.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS measures (path TEXT PRIMARY KEY, size INTEGER, "
                              "mtime INTEGER, kind TEXT, artist TEXT, title TEXT, seconds INTEGER)")) &&
        q.exec(QStringLiteral("PRAGMA user_version=%1").arg(kSchemaVersion));
    if (!ready) return false;
  }
  usable_ = true;
  return true;
}

void MeasureCache::Close() {
  usable_ = false;
  if (!QSqlDatabase::contains(connection_)) return;
  QSqlDatabase::database(connection_, false).close();
  QSqlDatabase::removeDatabase(connection_);
}

void MeasureCache::Disable(const QString& why) {
  if (usable_ || QSqlDatabase::contains(connection_)) Close();
  std::fprintf(stderr, "orve: the measurement cache %s %s; files are measured without it\n",
               QFile::encodeName(fileName_).constData(), why.toUtf8().constData());
}

void MeasureCache::Store(const std::vector<Measure>& measures) {
  if (!usable_ || measures.empty()) return;
  QString failure;
  {
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (!db.transaction()) return;  // busy: these are measured again next time
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT OR REPLACE INTO measures (path, size, mtime, kind, artist, title, seconds) "
                             "VALUES (?, ?, ?, ?, ?, ?, ?)"));
    for (const Measure& m : measures) {
      q.addBindValue(m.entry.path);
      q.addBindValue(m.stamp.size);
      q.addBindValue(m.stamp.mtimeNs);
      q.addBindValue(m.entry.kind);
      q.addBindValue(m.entry.artist);
      q.addBindValue(m.entry.title);
      q.addBindValue(m.entry.seconds);
      if (!q.exec()) {
        if (!Locked(q.lastError())) failure = q.lastError().text();
        break;
      }
    }
    if (failure.isEmpty() && !q.lastError().isValid() && db.commit()) return;
    db.rollback();
  }
  if (!failure.isEmpty()) Disable(QStringLiteral("cannot be written (%1)").arg(failure));
}

}  // namespace orve
