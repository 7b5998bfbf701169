// The insemination registration window: producer, inseminator and season in
// a header, one checked grid row per insemination, saved per producer and
// sent as a report through the user's mail program.
#pragma once

#include <QMainWindow>
#include <filesystem>
#include <functional>
#include <string>

#include "filer.h"
#include "seminrad.h"

class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSettings;
class QSpinBox;
class TGrid;
class TOkt;

class TFormSemReg : public QMainWindow {
  Q_OBJECT

 public:
  // The register, the settings, the ewes and the relationship figures are
  // the program's, in `okt`.
  explicit TFormSemReg(TOkt& okt, QWidget* parent = nullptr);

  // Shows the window as the program does. When it is not open yet the season
  // year becomes the current year and the window starts afresh: an empty,
  // disabled grid, empty number fields, no data file. An open window (also a
  // minimised one) is only brought to the front, keeping what it holds; a
  // restore by the desktop runs nothing either.
  Q_INVOKABLE void Vis();

  // The data folder.
  std::filesystem::path Datamappe() const;

  QLineEdit* EprodNr;    // producer number
  QLineEdit* EsemNr;     // inseminator number
  QSpinBox* Ssemar;      // season year
  QPushButton* Bhent;    // "Ny / Hent"
  QPushButton* Blagre;   // "Lagre"
  QLabel* Lnav;          // the producer name
  QPushButton* Bsende;   // "Send som e-post"
  QPushButton* Button1;  // "Utskrift"
  QPushButton* Bhjelp1;  // "?"
  QMenu* Hjelpemeny;
  class QMessageBox* Hjelpevindu = nullptr;  // the help text chosen last; stays until closed
  QWidget* Panel1;                           // the header panel; a double-click prints the grid
  TGrid* GriSem;                             // the registration grid
  QLabel* Panel[2];
  // The status bar's inbreeding text for the row (hidden when there is none),
  // red at or above the limit.
  QLabel* Innavl;  // inbreeding of the lamb of the row
  // Shows the inbreeding of the row's ewe and ram when the ewe is in
  // Soyer.Txt; `regn` computes the coefficients when they are not yet,
  // otherwise the text is shown only when they are.
  void VisInnavl(int rad, bool regn);

  // The frame's state and rules.
  TSemin Semin;

  void HenteClick();
  void LagreClick();
  void BsendeClick();
  void Nullstill();
  // Prints the grid under the print title; Button1 sets the title first.
  void Button1Click();
  int SkrivUt(class QPagedPaintDevice& enhet);
  // The print dialog, then the grid on the chosen printer, or whole into the
  // file a print to file names; a failure is told.
  void SkrivMedDialog();
  // The print dialog over the printer (false when cancelled); tests answer it.
  std::function<bool(class QPrinter& skriver)> VelgSkriver;
  QString Utskriftstittel = "Navn";

  // Questions and messages go through these, so that tests can answer them.
  // Spor: 1 yes, 0 no, -1 cancel. SporJaNei: a plain yes/no question.
  std::function<int(const QString& tekst, bool medAvbryt)> Spor;
  std::function<bool(const QString& tekst)> SporJaNei;
  std::function<void(const QString& tekst)> Melding;

  // The data file that Lagre writes to (empty when none is fetched).
  const std::filesystem::path& Datafil() const { return fil_; }
  // The approved-inseminator list that was read (empty when none was found).
  const std::filesystem::path& GodkjentFil() const { return godkjentFil_; }

 protected:
  void closeEvent(QCloseEvent* e) override;
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  void HodeEndret(bool prodNr);
  // The name label as Semin holds it, in its colour.
  void VisLnav();
  // The status line's text (the column's hint or why a field is red).
  void VisStatus(const QString& tekst);
  // A notice in the status line that stays while row `rad` is typed on.
  void VisMerknad(const QString& tekst, int rad);
  void VisHodeGrunn(bool prodNr);
  // Reads the approved-inseminator list the first time it is found.
  void FinnGodkjente();
  bool BeggeGode() const;
  void VisHjelp(const QString& tittel, const QString& tekst);

  TOkt& okt_;
  std::filesystem::path fil_;  // the current data file
  TLestTekst hentet_;          // the data file as it was fetched or last saved
  std::filesystem::path godkjentFil_;
  std::string hentetProdNr_;
  bool godkjenteLest_ = false;  // the list was found (and read, or told unreadable)
  int forrigeRad_ = 1;          // the grid row the cursor stood in
  QString merknad_;             // the notice shown in the status line, empty when none
  int merknadRad_ = 0;          // the row it was given in
};
