#include "settings/FileNames.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QStringList>
#include <climits>

#include "base/TextCodec.h"

namespace orve {
namespace {

constexpr char16_t kHeldByte = 0xDC00;

bool IsHeld(char16_t c) { return c >= kHeldByte + 0x80 && c <= kHeldByte + 0xFF; }

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Length of the well-formed UTF-8 character at `at` (RFC 3629: no
// overlongs, no surrogates, nothing above U+10FFFF), 0 when there is none.
int CharacterLength(QByteArrayView s, qsizetype at) {
  const auto byte = [&](qsizetype i) { return i < s.size() ? static_cast<unsigned char>(s[i]) : 0u; };
  const unsigned b0 = byte(at);
  if (b0 < 0x80) return 1;
  int n = 0;
  unsigned low = 0x80, high = 0xBF;  // the range of the second byte
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    n = 2;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    n = 3;
    if (b0 == 0xE0) low = 0xA0;
    if (b0 == 0xED) high = 0x9F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    n = 4;
    if (b0 == 0xF0) low = 0x90;
    if (b0 == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (byte(at + 1) < low || byte(at + 1) > high) return 0;
  for (int k = 2; k < n; ++k) {
    if (!IsContinuation(static_cast<unsigned char>(byte(at + k)))) return 0;
  }
  return n;
}

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
  QString name;
  name.reserve(bytes.size());
  for (qsizetype i = 0; i < bytes.size();) {
    const int n = CharacterLength(bytes, i);
    if (n == 0) {
      name.append(QChar(kHeldByte + static_cast<unsigned char>(bytes[i])));
      ++i;
    } else {
      name.append(QString::fromUtf8(bytes.sliced(i, n)));
      i += n;
    }
  }
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
