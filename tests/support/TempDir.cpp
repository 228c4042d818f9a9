#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QFile>

namespace orve::test {

TempDir::TempDir() { EXPECT_TRUE(dir_.isValid()); }

QString TempDir::file(const QString& name) const { return dir_.filePath(name); }

QString TempDir::write(const QString& name, const QByteArray& bytes) const {
  const QString full = file(name);
  QDir().mkpath(QFileInfo(full).absolutePath());
  QFile f(full);
  EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << full.toStdString();
  f.write(bytes);
  return full;
}

QByteArray ReadAll(const QString& fileName) {
  QFile f(fileName);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

}  // namespace orve::test
