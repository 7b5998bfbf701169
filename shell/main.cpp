// hornstad: the desktop program.
#include <QApplication>
#include <QIcon>
#include <QLocale>

#include "programvinduer.h"
#include "skall.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Hornstad");
  // The program's own conventions: Norwegian texts, "dd/mm/yyyy" dates, a
  // blank between thousands and a decimal comma, whatever the system says.
  QLocale::setDefault(QLocale(QLocale::NorwegianBokmal, QLocale::Norway));
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
  // Closing the main window ("Avslutt" closes it too) ends the program, once
  // it has closed: a window with unsaved changes may keep it open.
  QObject::connect(&hoved, &TFormVaer::lukket, &app, &QApplication::quit, Qt::QueuedConnection);
  return app.exec();
}
