// hornstad: the desktop program.
#include <QApplication>
#include <QIcon>
#include <QLocale>

#include "enkopi.h"
#include "melding.h"
#include "programvinduer.h"
#include "register.h"
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

  // One copy per data folder: a copy started on a folder that another copy
  // has open brings that one forward and ends.
  const std::filesystem::path dataMappe = ResolveDataFolder(QCoreApplication::applicationDirPath().toStdString());
  TEnKopi enKopi(dataMappe);
  switch (enKopi.Start()) {
    case TEnKopi::TStart::Vekket: return 0;
    case TEnKopi::TStart::SvarerIkke:
      Melding(SvarerIkkeTekst(dataMappe, enKopi.Eierprosess()), TMeldingstype::Advarsel, QMessageBox::Ok, 0,
              QMessageBox::Ok);
      return 1;
    case TEnKopi::TStart::Eier:
    case TEnKopi::TStart::UtenLaas: break;
  }

  // The long-lived windows; only the main window is shown.
  TProgramvinduer vinduer(dataMappe);
  TFormVaer& hoved = vinduer.hoved;
  QObject::connect(&enKopi, &TEnKopi::kalt, &hoved, &TFormVaer::KomFram);
  // A closing program takes no more calls: a copy started now waits for it to end.
  QObject::connect(&hoved, &TFormVaer::lukket, &enKopi, &TEnKopi::Steng);

  QObject::connect(&app, &QApplication::lastWindowClosed, &app, [] {});
  hoved.Vis();
  // Closing the main window ("Avslutt" closes it too) ends the program, once
  // it has closed: a window with unsaved changes may keep it open.
  QObject::connect(&hoved, &TFormVaer::lukket, &app, &QApplication::quit, Qt::QueuedConnection);
  return app.exec();
}
