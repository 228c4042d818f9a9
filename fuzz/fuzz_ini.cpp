// Any bytes as an INI file: parsing never crashes, rewriting is stable, and
// every key that is listed can be read, written and deleted.
#include <QString>
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "settings/IniDocument.h"
#include "settings/TextFile.h"

using orve::IniDocument;
using orve::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  IniDocument doc = IniDocument::Parse(orve::DecodeFileText(bytes));

  // Writing the text out and reading it again changes nothing more.
  const QByteArray once = doc.Serialize();
  const QByteArray twice = IniDocument::Parse(orve::DecodeFileText(once)).Serialize();
  Check(once == twice);

  const QStringList sections = doc.Sections();
  for (const QString& section : sections) {
    for (const QString& key : doc.Keys(section)) {
      Check(doc.KeyExists(section, key));
      Check(doc.Value(section, key).has_value());
    }
  }

  // A value written under names made of the input reads back after a round trip.
  const QString name = QString::fromUtf8(bytes.left(24)).trimmed();
  const QString value = QString::fromUtf8(bytes.right(24)).trimmed();
  if (!name.isEmpty() && !name.contains(u'=') && !name.startsWith(u';') && !name.startsWith(u'[') &&
      !name.contains(u'\r') && !name.contains(u'\n') && !name.contains(QChar(0))) {
    doc.SetValue(name, name, value);
    const IniDocument again = IniDocument::Parse(orve::DecodeFileText(doc.Serialize()));
    const auto read = again.Value(name, name);
    Check(read.has_value());
    doc.DeleteKey(name, name);
    doc.EraseSection(name);
    Check(!doc.SectionExists(name));
  }
  for (const QString& section : sections) doc.EraseSection(section);
  Check(doc.Sections().isEmpty());
  return 0;
}
