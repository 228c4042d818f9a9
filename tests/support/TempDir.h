#pragma once
// A fresh folder per test, removed afterwards, with small file helpers.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace orve::test {

class TempDir {
 public:
  TempDir();
  QString path() const { return dir_.path(); }
  // Full name of `name` inside the folder.
  QString file(const QString& name) const;
  // Writes `bytes` to `name` inside the folder and returns its full name.
  QString write(const QString& name, const QByteArray& bytes) const;

 private:
  QTemporaryDir dir_;
};

// The whole content of a file; empty when it cannot be read.
QByteArray ReadAll(const QString& fileName);

}  // namespace orve::test
