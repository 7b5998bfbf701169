#include "tformkatalog.h"

#include <QListWidget>
#include <QVBoxLayout>

TFormKatalog::TFormKatalog(QWidget* parent) : QWidget(parent, Qt::Window) {
  setWindowTitle("Katalog");
  Raser = new QListWidget(this);
  auto* lag = new QVBoxLayout(this);
  lag->addWidget(Raser);
  resize(640, 480);
}
