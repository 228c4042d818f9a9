#include "settings/FileNames.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QStringList>
#include <climits>

#include "base/TextCodec.h"
#include "settings/TextFile.h"

namespace orve {
namespace {

constexpr char16_t kHeldByte = 0xDC00;

bool IsHeld(char16_t c) { return c >= kHeldByte + 0x80 && c <= kHeldByte + 0xFF; }

bool Stat(const QString& name, struct stat& info) {
  return ::stat(EncodeFileName(name).constData(), &info) == 0;
}

// The entry of `folder` (bytes) whose name Qt would decode to `shown`.
QByteArray FindEntry(const QByteArray& folder, const QString& shown) {
  DIR* dir = ::opendir(folder.isEmpty() ? "/" : folder.constData());
  if (dir == nullptr) return {};
  QByteArray found;
  while (const dirent* entry = ::readdir(dir)) {
    const QByteArray bytes(entry->d_name);
    if (QFile::decodeName(bytes) == shown) {
      found = bytes;
      break;
    }
  }
  ::closedir(dir);
  return found;
}

}  // namespace

QString DecodeFileName(QByteArrayView bytes) {
  const std::string_view raw(bytes.data(), static_cast<size_t>(bytes.size()));
  QString name;
  name.reserve(bytes.size());
  size_t run = 0;  // start of the UTF-8 text not yet appended
  const auto flush = [&](size_t end) { name += Utf8KeepingMarks(bytes.sliced(qsizetype(run), qsizetype(end - run))); };
  for (size_t i = 0; i < raw.size();) {
    const int n = Utf8CharacterLength(raw, i);
    if (n > 0) {
      i += static_cast<size_t>(n);
      continue;
    }
    flush(i);
    name.append(QChar(kHeldByte + static_cast<unsigned char>(raw[i])));
    run = ++i;
  }
  flush(raw.size());
  return name;
}

QByteArray EncodeFileName(const QString& name) {
  QByteArray bytes;
  bytes.reserve(name.size());
  qsizetype runStart = 0;
  const auto flush = [&](qsizetype end) { bytes += QStringView(name).sliced(runStart, end - runStart).toUtf8(); };
  for (qsizetype i = 0; i < name.size(); ++i) {
    const char16_t c = name[i].unicode();
    // A held byte is a lone low surrogate: one after a high surrogate is half of a character.
    if (IsHeld(c) && !(i > 0 && name[i - 1].isHighSurrogate())) {
      flush(i);
      bytes += static_cast<char>(c - kHeldByte);
      runStart = i + 1;
    }
  }
  flush(name.size());
  return bytes;
}

QString DisplayFileName(const QString& name) {
  if (QtCanName(name)) return name;
  QString shown;
  QByteArray held;
  const auto flush = [&] {
    shown += QString::fromStdString(Cp1251ToUtf8(std::string_view(held.constData(), static_cast<size_t>(held.size()))));
    held.clear();
  };
  for (const QChar c : name) {
    if (IsHeld(c.unicode())) {
      held += static_cast<char>(c.unicode() - kHeldByte);
    } else {
      flush();
      shown += c;
    }
  }
  flush();
  return shown;
}

bool QtCanName(const QString& name) {
  for (const QChar c : name) {
    if (IsHeld(c.unicode())) return false;
  }
  return true;
}

QString ResolveFileName(const QString& name) {
  struct stat info;
  if (!name.contains(QChar::ReplacementCharacter) || Stat(name, info)) return name;
  const QStringList parts = name.split(u'/');
  QByteArray path;
  for (qsizetype k = 0; k < parts.size(); ++k) {
    QByteArray part = EncodeFileName(parts[k]);
    if (parts[k].contains(QChar::ReplacementCharacter)) {
      const QByteArray found = FindEntry(path, parts[k]);
      if (found.isEmpty()) return name;
      part = found;
    }
    path += (k > 0 ? "/" : "") + part;
  }
  return DecodeFileName(path);
}

bool IsRegularFile(const QString& name) {
  struct stat info;
  return !name.isEmpty() && Stat(name, info) && !S_ISDIR(info.st_mode);
}

bool IsFolder(const QString& name) {
  struct stat info;
  return !name.isEmpty() && Stat(name, info) && S_ISDIR(info.st_mode);
}

QString AbsoluteFileName(const QString& name) {
  if (name.startsWith(u'/')) return name;
  char buffer[PATH_MAX];
  if (::getcwd(buffer, sizeof buffer) == nullptr) return name;
  QString folder = DecodeFileName(QByteArrayView(buffer));
  if (!folder.endsWith(u'/')) folder += u'/';
  return folder + name;
}

}  // namespace orve
