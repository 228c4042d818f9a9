#include "settings/IniDocument.h"

#include "settings/LineFile.h"

namespace orve {
namespace {

QString Fold(const QString& name) { return name.trimmed().toCaseFolded(); }

QString OneLine(QString text) {
  text.replace(QChar(u'\r'), QChar(u' '));
  text.replace(QChar(u'\n'), QChar(u' '));
  text.replace(QChar(u'\0'), QChar(u' '));
  return text;
}

// The section name of a header line, or nothing when the line is not one.
std::optional<QString> HeaderName(const QString& trimmed) {
  if (!trimmed.startsWith(u'[')) return std::nullopt;
  const qsizetype close = trimmed.lastIndexOf(u']');
  if (close < 0 || close != trimmed.size() - 1) return std::nullopt;
  return trimmed.mid(1, close - 1).trimmed();
}

}  // namespace

int IniDocument::Section::FindKey(const QString& foldedKey) const {
  if (!indexValid) {
    keyIndex.clear();
    // Backwards, so that the first line of a key that appears twice wins.
    for (int i = static_cast<int>(lines.size()) - 1; i >= 0; --i) {
      if (!lines[i].key.isEmpty()) keyIndex.insert(Fold(lines[i].key), i);
    }
    indexValid = true;
  }
  return keyIndex.value(foldedKey, -1);
}

IniDocument IniDocument::Parse(const QString& text) {
  IniDocument doc;
  for (const QString& raw : SplitLines(text, NulByte::IsText)) {
    const QString trimmed = raw.trimmed();
    if (auto name = HeaderName(trimmed)) {
      doc.sections_.push_back(Section{*name, raw, {}, {}, false});
      continue;
    }
    Line line{raw, {}, {}};
    const qsizetype eq = trimmed.indexOf(u'=');
    if (!trimmed.startsWith(u';') && eq > 0) {
      line.key = trimmed.left(eq).trimmed();
      line.value = trimmed.mid(eq + 1).trimmed();
      if (line.key.isEmpty()) line.value.clear();
    }
    doc.sections_.back().lines.push_back(std::move(line));
  }
  doc.RebuildSectionIndex();
  return doc;
}

void IniDocument::RebuildSectionIndex() {
  sectionIndex_.clear();
  for (int i = static_cast<int>(sections_.size()) - 1; i >= 1; --i) {
    sectionIndex_.insert(Fold(sections_[i].name), i);
  }
}

QByteArray IniDocument::Serialize() const {
  QString text;
  for (size_t i = 0; i < sections_.size(); ++i) {
    if (i > 0) text += sections_[i].header + QStringLiteral("\r\n");
    for (const Line& line : sections_[i].lines) text += line.text + QStringLiteral("\r\n");
  }
  return text.toUtf8();
}

IniDocument::Section* IniDocument::FindSection(const QString& name) {
  const int i = sectionIndex_.value(Fold(name), -1);
  return i < 0 ? nullptr : &sections_[i];
}

const IniDocument::Section* IniDocument::FindSection(const QString& name) const {
  const int i = sectionIndex_.value(Fold(name), -1);
  return i < 0 ? nullptr : &sections_[i];
}

std::optional<QString> IniDocument::Value(const QString& section, const QString& key) const {
  const Section* s = FindSection(section);
  if (!s) return std::nullopt;
  const int i = s->FindKey(Fold(key));
  if (i < 0) return std::nullopt;
  return s->lines[i].value;
}

void IniDocument::SetValue(const QString& section, const QString& key, const QString& value) {
  const QString name = OneLine(section).trimmed();
  const QString k = OneLine(key).trimmed();
  const QString v = OneLine(value);
  Section* s = FindSection(name);
  if (!s) {
    sections_.push_back(Section{name, QLatin1Char('[') + name + QLatin1Char(']'), {}, {}, false});
    sectionIndex_.insert(Fold(name), static_cast<int>(sections_.size()) - 1);
    s = &sections_.back();
  }
  Line line{k + QLatin1Char('=') + v, k, v.trimmed()};
  const int existing = s->FindKey(Fold(k));
  if (existing >= 0) {
    line.key = s->lines[existing].key;  // keep the letter case the file has
    line.text = line.key + QLatin1Char('=') + v;
    s->lines[existing] = std::move(line);
    return;
  }
  // After the last non-blank line, so blank lines between sections stay put.
  auto pos = s->lines.end();
  while (pos != s->lines.begin() && (pos - 1)->text.trimmed().isEmpty()) --pos;
  s->lines.insert(pos, std::move(line));
  s->indexValid = false;
}

bool IniDocument::EraseSection(const QString& section) {
  const QString folded = Fold(section);
  const auto before = sections_.size();
  std::erase_if(sections_, [&](const Section& s) { return !s.header.isEmpty() && Fold(s.name) == folded; });
  if (sections_.size() == before) return false;
  RebuildSectionIndex();
  return true;
}

bool IniDocument::DeleteKey(const QString& section, const QString& key) {
  Section* s = FindSection(section);
  if (!s) return false;
  const int i = s->FindKey(Fold(key));
  if (i < 0) return false;
  s->lines.erase(s->lines.begin() + i);
  s->indexValid = false;
  return true;
}

QStringList IniDocument::Sections() const {
  QStringList names;
  for (size_t i = 1; i < sections_.size(); ++i) {
    if (sectionIndex_.value(Fold(sections_[i].name), -1) == static_cast<int>(i)) {
      names.append(sections_[i].name);
    }
  }
  return names;
}

QStringList IniDocument::Keys(const QString& section) const {
  QStringList keys;
  const Section* s = FindSection(section);
  if (!s) return keys;
  for (int i = 0; i < static_cast<int>(s->lines.size()); ++i) {
    const Line& line = s->lines[i];
    if (!line.key.isEmpty() && s->FindKey(Fold(line.key)) == i) keys.append(line.key);
  }
  return keys;
}

QList<std::pair<QString, QString>> IniDocument::Entries(const QString& section) const {
  QList<std::pair<QString, QString>> entries;
  const Section* s = FindSection(section);
  if (!s) return entries;
  for (int i = 0; i < static_cast<int>(s->lines.size()); ++i) {
    const Line& line = s->lines[i];
    if (!line.key.isEmpty() && s->FindKey(Fold(line.key)) == i) entries.append({line.key, line.value});
  }
  return entries;
}

bool IniDocument::SectionExists(const QString& section) const {
  const Section* s = FindSection(section);
  if (!s) return false;
  for (const Line& line : s->lines) {
    if (!line.key.isEmpty()) return true;
  }
  return false;
}

bool IniDocument::KeyExists(const QString& section, const QString& key) const {
  return Value(section, key).has_value();
}

}  // namespace orve
