#include "app/Unit1.h"

#include <QPalette>

#include "app/Application.h"

namespace orve {

TForm1::TForm1(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QString::fromLatin1(kAppTitle));
  setFixedSize(kWidth, kHeight);
  setAttribute(Qt::WA_QuitOnClose, true);
  ApplyScheme();
}

void TForm1::ApplyScheme() {
  const auto& colours = TApplication::Instance()->State().Scheme.ThemeColors;
  QPalette p = palette();
  p.setColor(QPalette::Window, ToQColor(colours[5]));
  setPalette(p);
  setAutoFillBackground(true);
}

}  // namespace orve
