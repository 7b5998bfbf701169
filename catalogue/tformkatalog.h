// The ram catalogue window: picks rams by county, breed, years, index and
// kind, or from an own list, and shows them as a text listing or a table.
#pragma once

#include <QMainWindow>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "utvalg.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPrinter;
class QProgressBar;
class QPushButton;
class QSettings;
class QSpinBox;
class QWidget;
class TOkt;
class TVindu;

class TFormKatalog : public QMainWindow {
  Q_OBJECT

 public:
  // The register, the breed table, the settings, the ewes for "Innavl %"
  // and the place of the last selection are the program's, in `okt`.
  explicit TFormKatalog(TOkt& okt, QWidget* parent = nullptr);

  // Shows the window as the program does: a window not shown yet gets
  // FormShow (and the floating panels it had open when it was closed); then
  // it is shown, taken out of the task bar, raised and activated. A restore
  // by the desktop runs nothing.
  void Vis();

  // Criteria.
  QListWidget* Fylker;  // the counties ("Alle fylker" first)
  QListWidget* TaRase;  // the breeds to take
  QSpinBox* Fra;        // birth year from
  QSpinBox* til;        // birth year to
  QSpinBox* Antall;     // "Minste indeks"
  QCheckBox* Semin;     // "Ta med seminværer"
  QCheckBox* UtgSem;    // "Utgått semin"
  QCheckBox* Gkar;      // "Alle kårede "
  QCheckBox* Nykar;     // "Årets egne kårede"
  QCheckBox* Avkomgr;   // "Avkomsgranska"
  QCheckBox* Ugul;      // "Unngå gule værer"

  // Buttons.
  QPushButton* vis;       // "Vis katalog"
  QPushButton* VisTab;    // "Vis i tabell"
  QPushButton* EgDef;     // "Egendefinert"
  QPushButton* BdefInst;  // "Tabellfelter"
  QPushButton* Lagre;     // "Lagre"
  QPushButton* Skriv;     // "Skriv ut"
  QPushButton* Ramvis;    // "Vis med rammer"
  QPushButton* Lukk;      // "Lukk"

  // The listing, the progress bar and the status panels.
  QPlainTextEdit* Linjer;  // the listing; editable, and what is saved and printed
  QProgressBar* Progr;     // progress of a listing
  QLabel* Panel[3];

  // The own-list panel and the table-field panel, floating tool windows.
  QWidget* PanEgFlyt;       // the own-list panel
  QPlainTextEdit* MeVeLi;   // the own list (EgenVerer.Txt), one judging number per line
  QPushButton* BeVis;       // "Vis"
  QPushButton* Btabb;       // "Tabell"
  QPushButton* BeLukk;      // "Lukk"
  QWidget* PanelValg;       // the table-field panel
  QListWidget* ChSkalMed;   // the table fields, ticked when taken
  QPushButton* BinstOK;     // "OK"
  QPushButton* BinstAngre;  // "Annuler"

  // The current year (read once at start; tests may set it).
  int DetteAar;

  // The criteria behind the controls; the coupling between them is logic
  // that the controls only show.
  TUtvalg Utvalg;

  // Handlers.
  // The start of a showing: buttons, listing, years, breed entries and the
  // table fields' check marks.
  void FormShow();
  void FylkerClick(QObject* sender);
  void FraChange();
  void tilChange();
  void AntallClick();
  void SeminClick();
  void GkarClick();
  void AvkomgrClick();
  void EgDefClick();
  void BeLukkClick();
  void MeVeLiChange();
  void BdefInstClick();
  void BinstOKClick();
  void BinstAngreClick();
  void LukkClick();
  // The selection pass: from the register or the own list, to the text
  // listing or a table window.
  void visClick(bool egenListe, bool tabell);
  // "Vis i tabell": the pass to a table window; while no table field has ever
  // been chosen, the field choice comes first and "OK" goes on to the table.
  void VisTabClick();
  void LagreClick();
  // Prints the listing as text pages through the print dialog.
  void SkrivClick();
  // Opens the listing's framed catalogue pages in a paged print window, which is returned.
  class TPapVin* RamvisClick();
  std::vector<std::string> ListeLinjer() const;

  // Hooks the tests answer instead of the dialogs: the save dialog's file
  // name (empty when cancelled), and the print dialog over the printer (false
  // when cancelled).
  std::function<QString()> VelgFil;
  std::function<bool(QPrinter&)> VelgSkriver;
  // A message box with an OK button (an information box unless a test sets it).
  std::function<void(const QString&)> Melding;

  // The own list's text as the panel read it from EgenVerer.Txt.
  const QString& EgenLastet() const { return egenLastet_; }

 signals:
  // A pass has filled a table window, which shows next: whoever adds
  // actions for its marked rams does so now.
  void nyTabell(TVindu* vindu);

 public:
  // True when the county and the breed are among those checked.
  bool FylkeOgRaseValgt(int fylke, int rase) const;
  int LinjeAntall() const;

 protected:
  void closeEvent(QCloseEvent* e) override;
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  void LesSkalMed();
  bool SkalMedLagret() const;
  // Saves the own list as "Lukk" does, unless it is as it was loaded.
  void LagreEgenListe();
  void Knapper();
  // Shows the criteria in the controls without setting their handlers off.
  void VisUtvalg();
  std::vector<std::string> MeVeLiLinjer() const;
  // EgenVerer.Txt was written by another program: an open panel whose list
  // is as it was read shows the new one.
  void EgenListeEndret();

  TOkt& okt_;

  QString egenLastet_;            // the own list as it was loaded
  bool egenGjenapnes_ = false;    // the own-list panel was open when the window closed
  bool valgGjenapnes_ = false;    // the table-field panel was open when the window closed
  bool tabellEtterValg_ = false;  // "OK" of the table-field panel goes on to the table
};
