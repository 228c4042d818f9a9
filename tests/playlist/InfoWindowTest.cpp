// The information window on real files: the tags the audio library reads,
// and what it shows for addresses and files that do not decode.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <memory>
#include <thread>

#include "WindowFixture.h"
#include "playlist/InfoWindow.h"

namespace orve::test {
namespace {

const QString kAudio = QStringLiteral(ORVE_FIXTURES_DIR "/audio/");

// A TCP listener on 127.0.0.1 that accepts, counts and drops every
// connection on its own thread, so a client that connects fails at once
// instead of waiting for an answer.
class ConnectionCounter {
 public:
  ConnectionCounter() {
    fd_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    const bool ok = fd_ >= 0 && bind(fd_, reinterpret_cast<sockaddr*>(&addr), len) == 0 && listen(fd_, 4) == 0 &&
                    getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len) == 0;
    EXPECT_TRUE(ok) << "no listening socket";
    port_ = ok ? ntohs(addr.sin_port) : 0;
    thread_ = std::thread([this] { Run(); });
  }
  ~ConnectionCounter() {
    stop_ = true;
    thread_.join();
    if (fd_ >= 0) close(fd_);
  }
  int Port() const { return port_; }
  int Count() const { return count_; }

 private:
  void Run() {
    while (!stop_ && fd_ >= 0) {
      pollfd p{fd_, POLLIN, 0};
      if (poll(&p, 1, 20) > 0) {
        const int c = accept(fd_, nullptr, nullptr);
        if (c >= 0) {
          ++count_;
          close(c);
        }
      }
    }
  }

  int fd_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<int> count_{0};
  std::thread thread_;
};

class InfoWindowTest : public WindowFixture<InfoWindow> {
 protected:
  // The seven tag fields in the order title, artist, album, genre, year,
  // track, comment.
  QStringList TagFields() const {
    return {Ui().titleEdit->text(), Ui().artistEdit->text(), Ui().albumEdit->text(), Ui().genreEdit->text(),
            Ui().yearEdit->text(), Ui().trackEdit->text(), Ui().commentEdit->toPlainText()};
  }
  static QStringList NoTags() { return QStringList(7, QString()); }

};

TEST_F(InfoWindowTest, LayoutAndOk) {
  EXPECT_EQ(form->windowTitle(), "Информация");
  EXPECT_EQ(form->size(), QSize(218, 321));
  EXPECT_EQ(form->minimumSize(), form->maximumSize());
  EXPECT_EQ(Ui().okButton->text(), "Ok");
  for (QLineEdit* e : {Ui().pathEdit, Ui().artistEdit, Ui().titleEdit, Ui().albumEdit, Ui().genreEdit, Ui().yearEdit, Ui().trackEdit}) {
    EXPECT_TRUE(e->isReadOnly());
    EXPECT_TRUE(form->rect().contains(e->geometry())) << e->geometry().y();
  }
  EXPECT_TRUE(Ui().commentEdit->isReadOnly());
  EXPECT_TRUE(form->rect().contains(Ui().commentEdit->geometry()));
  EXPECT_GT(Ui().commentEdit->height(), Ui().artistEdit->height());
  EXPECT_TRUE(form->rect().contains(Ui().okButton->geometry()));
  EXPECT_GE(Ui().okButton->y(), Ui().commentEdit->geometry().bottom());

  form->ShowFor(kAudio + "cbr.mp3");
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(form->windowModality(), Qt::ApplicationModal);
  QTest::mouseClick(Ui().okButton, Qt::LeftButton);
  EXPECT_FALSE(form->isVisible());
}

struct TagCase {
  const char* file;
  QStringList tags;  // title, artist, album, genre, year, track, comment
};

TEST_F(InfoWindowTest, ShowsThePathAndTheSevenTags) {
  const TagCase cases[] = {
      {"cbr.mp3", {"Песня", "Исполнитель", "Альбом", "Рок", "1999", "3", "Комментарий"}},
      // A file without tags after a tagged one: nothing is left over.
      {"sine_s16.wav", {"", "", "", "", "", "", ""}},
      {"id3v1_cp1251.mp3", {"Группа крови", "Кино", "Звезда", "", "1988", "", "Тест"}},
      {"vorbis.ogg", {"Огг", "Тест", "", "", "", "", ""}},
      {"tagged.m4a", {"M4A Title", "M4A Artist", "", "", "", "", ""}},
      {"tagged.wma", {"WMA Title", "WMA Artist", "", "", "", "", ""}},
  };
  for (const TagCase& c : cases) {
    const QString path = kAudio + c.file;
    form->ShowFor(path);
    EXPECT_EQ(Ui().pathEdit->text(), path);
    EXPECT_EQ(TagFields(), c.tags) << c.file;
    EXPECT_TRUE(form->isVisible());
    form->close();
  }
}

TEST_F(InfoWindowTest, WhatDoesNotOpenShowsOnlyThePath) {
  form->ShowFor(kAudio + "cbr.mp3");  // so that leftovers would show
  const QString paths[] = {
      "http://127.0.0.1:9/x",
      kAudio + "text.mp3",
      kAudio + "empty.mp3",
      home.file("missing.mp3"),
      home.path(),  // a folder
  };
  for (const QString& path : paths) {
    form->ShowFor(path);
    EXPECT_EQ(Ui().pathEdit->text(), path);
    EXPECT_EQ(TagFields(), NoTags()) << path.toStdString();
    EXPECT_TRUE(form->isVisible());
  }
}

// The window runs on the UI thread: an address must not be followed onto
// the network, where a silent server would hold the window for good.
TEST_F(InfoWindowTest, AnAddressIsNeverConnected) {
  ConnectionCounter server;
  ASSERT_NE(server.Port(), 0);
  const QString url = QStringLiteral("http://127.0.0.1:%1/x").arg(server.Port());
  form->ShowFor(url);
  EXPECT_EQ(Ui().pathEdit->text(), url);
  EXPECT_EQ(TagFields(), NoTags());
  // A connection would be counted before it is dropped, and only the drop
  // lets a reader that connected return: no waiting needed.
  EXPECT_EQ(server.Count(), 0);
}

TEST_F(InfoWindowTest, ColoursFollowTheScheme) {
  ExpectColoursFollowTheScheme([this] {
    EXPECT_EQ(form->palette().color(QPalette::Window), Theme(ColourRole::ButtonText));
    EXPECT_EQ(Ui().okButton->FontColour(), Theme(ColourRole::ButtonText));
  });
}

}  // namespace
}  // namespace orve::test
