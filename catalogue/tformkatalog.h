// The ram catalogue window.
#pragma once

#include <QWidget>

class QListWidget;

class TFormKatalog : public QWidget {
  Q_OBJECT

 public:
  explicit TFormKatalog(QWidget* parent = nullptr);

  // The breed list; the main window fills it the first time it opens the window.
  QListWidget* Raser;
};
