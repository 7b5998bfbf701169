#include "tformver.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TFormVer::TFormVer(QWidget* parent) : QWidget(parent, Qt::Window) {
  setWindowTitle("Værkartotek");
  Endre = new QPushButton("&Endre navn", this);
  Endrealt = new QPushButton("Endre alt", this);
  auto* knapper = new QHBoxLayout;
  knapper->addWidget(Endre);
  knapper->addWidget(Endrealt);
  knapper->addStretch();
  auto* lag = new QVBoxLayout(this);
  lag->addStretch();
  lag->addLayout(knapper);
  resize(640, 480);
}
