#include "appearance/Unit16.h"

#include <QDir>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "settings/ConfigKeys.h"
#include "settings/FileError.h"
#include "settings/IniFile.h"

namespace orve {

TForm16::TForm16(const QString& appDir, QWidget* parent) : QWidget(parent, Qt::Window), appDir_(appDir) {
  setObjectName(QStringLiteral("Form16"));
  setWindowTitle(QStringLiteral("Цветовая схема"));
  resize(220, 260);
  ListBox1 = new QListWidget(this);
  ListBox1->setSortingEnabled(true);
  ListBox1->installEventFilter(this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(ListBox1);
  connect(ListBox1, &QListWidget::itemDoubleClicked, this, &TForm16::PickSelected);
}

void TForm16::showEvent(QShowEvent* event) {
  FillList();
  QWidget::showEvent(event);
}

void TForm16::FillList() {
  ListBox1->clear();
  const QDir themes(appDir_ + QStringLiteral("Themes"));
  for (const QString& file : themes.entryList({QStringLiteral("*.thd")}, QDir::Files)) {
    ListBox1->addItem(file.chopped(4));
  }
}

bool TForm16::eventFilter(QObject* watched, QEvent* event) {
  // Releasing Enter picks, as a double-click does.
  if (watched == ListBox1 && event->type() == QEvent::KeyRelease) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      PickSelected();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void TForm16::PickSelected() {
  const QListWidgetItem* item = ListBox1->currentItem();
  if (item == nullptr || !item->isSelected()) return;
  const QString name = item->text();
  IniFile config(appDir_ + QString::fromLatin1(config::kFileName));
  config.Write(config::themes::kName, name);
  config.UpdateFile();
  emit SchemePicked(name);
  close();
}

}  // namespace orve
