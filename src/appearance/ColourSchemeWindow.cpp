#include "appearance/ColourSchemeWindow.h"

#include <QDir>
#include <QListWidget>
#include <QVBoxLayout>

#include "settings/ConfigKeys.h"
#include "settings/IniFile.h"
#include "widgets/SkinnedWindow.h"

namespace orve {

ColourSchemeWindow::ColourSchemeWindow(const QString& appDir, QWidget* parent) : QWidget(parent, Qt::Window), appDir_(appDir) {
  setObjectName(QStringLiteral("colourSchemeWindow"));
  setWindowTitle(QStringLiteral("Цветовая схема"));
  resize(220, 260);
  schemeList_ = new QListWidget(this);
  schemeList_->setSortingEnabled(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(schemeList_);
  OnItemChosen(schemeList_, [this] { PickSelected(); });
  CloseOnEscape(this);
}

void ColourSchemeWindow::showEvent(QShowEvent* event) {
  FillList();
  QWidget::showEvent(event);
}

void ColourSchemeWindow::FillList() {
  schemeList_->clear();
  const QDir themes(appDir_ + QStringLiteral("Themes"));
  for (const QString& file : themes.entryList({QStringLiteral("*.thd")}, QDir::Files)) {
    schemeList_->addItem(file.chopped(4));
  }
}

void ColourSchemeWindow::PickSelected() {
  const QListWidgetItem* item = schemeList_->currentItem();
  if (item == nullptr || !item->isSelected()) return;
  const QString name = item->text();
  IniFile config(appDir_ + QString::fromLatin1(config::kFileName));
  config.Write(config::themes::kName, name);
  config.UpdateFile();
  emit SchemePicked(name);
  close();
}

}  // namespace orve
