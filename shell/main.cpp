// hornstad: the desktop program.
#include <QApplication>
#include <QIcon>

#include "programvinduer.h"
#include "skall.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Hornstad");
  LastNorskeQtTekster();
  // The desktop entry hornstad.desktop and the icon installed with it; a
  // program that is not installed shows the icon built into it.
  QApplication::setDesktopFileName("hornstad");
  QApplication::setWindowIcon(QIcon::fromTheme("hornstad", QIcon(":/hornstad.svg")));
  QApplication::setQuitOnLastWindowClosed(false);

  // The long-lived windows; only the main window is shown.
  TProgramvinduer vinduer;
  TFormVaer& hoved = vinduer.hoved;

  QObject::connect(&app, &QApplication::lastWindowClosed, &app, [] {});
  hoved.Vis();
  QObject::connect(hoved.Avslutt, &QAction::triggered, &app, &QApplication::quit, Qt::QueuedConnection);
  // Closing the main window ends the program.
  class Avslutter : public QObject {
   public:
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == QEvent::Close) QMetaObject::invokeMethod(qApp, &QApplication::quit, Qt::QueuedConnection);
      return false;
    }
  } avslutter;
  hoved.installEventFilter(&avslutter);
  return app.exec();
}
