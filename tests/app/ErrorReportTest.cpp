// A file error raised inside an event handler ends the handler and reaches
// the user as a message box with its text.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <QTimer>

#include "app/Application.h"
#include "settings/FileError.h"

namespace orve {
namespace {

class FailingWriter : public QObject {
 public:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::User) {
      throw FileError::WriteFailed("/no/such/folder/config.ini");
    }
    return QObject::event(e);
  }
};

TEST(ErrorReport, FileErrorInAHandlerIsShownInAMessageBox) {
  QString shown;
  QTimer::singleShot(0, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      shown = box->text();
      box->accept();
    }
  });
  FailingWriter writer;
  QEvent event(QEvent::User);
  QCoreApplication::sendEvent(&writer, &event);
  EXPECT_EQ(shown, "Unable to write to /no/such/folder/config.ini");
}

}  // namespace
}  // namespace orve
