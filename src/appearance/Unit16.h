#pragma once
// The colour-scheme window "Цветовая схема": the schemes of the Themes
// folder by name; a double-click or Enter picks one.

#include <QListWidget>
#include <QWidget>

namespace orve {

class TForm16 : public QWidget {
  Q_OBJECT
 public:
  TForm16(const QString& appDir, QWidget* parent = nullptr);

  QListWidget* ListBox1;

  // Picks the selected scheme: themes/name is written and the file flushed,
  // then SchemePicked lets the program load and apply it; the window closes.
  // Nothing happens with no item selected.
  void PickSelected();

 signals:
  void SchemePicked(const QString& name);

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FillList();
  QString appDir_;
};

}  // namespace orve
