#include "tafrem.h"

#include <QWidget>

void TaFrem(QWidget* w) {
  if (w == nullptr) return;
  if (w->isMinimized()) w->setWindowState((w->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
  w->show();
  w->raise();
  w->activateWindow();
}
