// The ram lookup window.
#pragma once

#include <QWidget>

class QPushButton;

class TFormVer : public QWidget {
  Q_OBJECT

 public:
  explicit TFormVer(QWidget* parent = nullptr);

  // The record-editing buttons, which the main window hides.
  QPushButton* Endre;
  QPushButton* Endrealt;
};
