#pragma once
// The one error the program's file writers and readers raise. The handler
// that started the operation lets it reach the application, which shows its
// text in a message box; the operation stops where the error was raised.

#include <QString>
#include <stdexcept>

namespace orve {

class FileError : public std::runtime_error {
 public:
  explicit FileError(const QString& message)
      : std::runtime_error(message.toStdString()), message_(message) {}
  const QString& message() const { return message_; }

  // "Unable to write to <full file name>"
  static FileError WriteFailed(const QString& fileName);
  // A file that exists but cannot be read.
  static FileError ReadFailed(const QString& fileName, const QString& reason);

 private:
  QString message_;
};

}  // namespace orve
