#pragma once
// What measuring files found (kind, artist, title, length), kept between
// runs in an SQLite file in the user's cache folder, keyed by the path and
// checked against the file's size and modification time: a file seen
// before is not read again, only looked at. It is only a cache: a damaged
// or unreadable file is replaced, and where none can be kept the program
// measures everything as before; deleting it loses nothing.
//
// Threads: the cache object belongs to the UI thread, which stores what
// was measured; each measuring thread reads through a Reader of its own
// (SQLite connections are not shared between threads).

#include <QString>
#include <atomic>
#include <memory>
#include <optional>
#include <vector>

#include "engine/Core.h"

class QSqlQuery;

namespace orve {

// A file's size and modification time; size -1 for what is not a regular file.
struct FileStamp {
  qint64 size = -1;
  qint64 mtimeNs = 0;
  bool operator==(const FileStamp&) const = default;
};
// Any thread.
FileStamp StampOf(const QString& path);

class MeasureCache {
 public:
  struct Measure {
    FileStamp stamp;
    TCore::MeasuredEntry entry;
  };

  // "orve/measures.sqlite" in the user's cache folder (XDG_CACHE_HOME).
  static QString DefaultFileName();

  explicit MeasureCache(const QString& fileName = DefaultFileName());
  ~MeasureCache();
  MeasureCache(const MeasureCache&) = delete;
  MeasureCache& operator=(const MeasureCache&) = delete;

  // One thread's reading connection to the cache.
  class Reader {
   public:
    explicit Reader(const QString& fileName);
    ~Reader();
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;
    // The stored measure of `path`; nullopt when there is none, and from
    // the first time the file is locked or unreadable on.
    std::optional<Measure> Find(const QString& path);

   private:
    QString connection_;
    std::unique_ptr<QSqlQuery> find_;  // on connection_
    bool working_ = true;
  };

  // Whether the file is open; when not, Find finds nothing and Store keeps
  // nothing. Any thread.
  bool Usable() const { return usable_; }
  // A reader for the calling thread; null when the cache is not usable.
  // Any thread.
  std::unique_ptr<Reader> NewReader() const;
  // Stores (or replaces) measures, in one transaction.
  void Store(const std::vector<Measure>& measures);

 private:
  bool Open();
  void Close();
  void Disable(const QString& why);

  const QString fileName_;
  QString connection_;
  std::atomic<bool> usable_{false};
};

}  // namespace orve
