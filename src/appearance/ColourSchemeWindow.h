#pragma once
// The colour-scheme window "Цветовая схема": the schemes of the Themes
// folder by name; a double-click or Enter picks one.

#include <QWidget>

class QListWidget;

namespace orve {

class ColourSchemeWindow : public QWidget {
  Q_OBJECT
 public:
  ColourSchemeWindow(const QString& appDir, QWidget* parent = nullptr);

  // Picks the selected scheme: themes/name is written and the file flushed,
  // then SchemePicked lets the program load and apply it; the window closes.
  // Nothing happens with no item selected.
  void PickSelected();

  // The controls, for tests that drive them as a user does.
  struct Controls {
    QListWidget* schemeList;
  };
  Controls ControlsForTest() const { return {schemeList_}; }

 signals:
  void SchemePicked(const QString& name);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FillList();

  QString appDir_;
  QListWidget* schemeList_;
};

}  // namespace orve
