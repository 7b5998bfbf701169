// The ram lookup window: one ram at a time, found by judging number or by
// part of its name, shown in four read-only grids under a three-line heading.
#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "melding.h"
#include "register.h"
#include "verpost.h"

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QScrollArea;
class TGrid;
class TIntEdit;
class TProdusent;
class Tlesing;
class Trase;

class TFormVer : public QWidget {
  Q_OBJECT

 public:
  explicit TFormVer(QWidget* parent = nullptr);

  // Where the register and the breed table come from; the main window owns
  // both and may replace them (after an import).
  std::function<TProdusent*()> Register;
  std::function<const Trase*()> Raser;

  // The editing dialogs are shown through KjorDialog (by default modally; it
  // returns Tlesing::Ok or Tlesing::Angre) and the editing's messages through
  // Melding, so that tests can fill in the dialogs and read the messages.
  std::function<int(Tlesing& dialog)> KjorDialog;
  std::function<void(const QString& tekst, TMeldingstype type)> Melding;
  // The print dialog over the printer (false when cancelled); tests answer it.
  std::function<bool(class QPrinter& skriver)> VelgSkriver;
  // "Slektskap": opens the relationship window for the ram shown (the main
  // window's); the button does nothing without it.
  std::function<void(const TVerPost& ver)> VisSlektskap;
  // "Legg i liste": adds the ram shown to one of the breeder's lists (the
  // main window's); the button does nothing without it.
  std::function<void(const TVerPost& ver)> LeggIListe;
  // Called after the editing has saved a record, so that figures made from
  // the records can be made again.
  std::function<void()> PostLagret;

  TIntEdit* Evernum;             // "0"
  QPushButton* Let;              // "&Let...."
  QPushButton* Endre;            // "&Endre navn"
  QPushButton* Stamme;           // "Stamtre"
  QPushButton* Avkom;            // "Avkom"
  QPushButton* Slektskap;        // "Slektskap"
  QPushButton* LeggIListeKnapp;  // "Legg i liste"
  QPushButton* Skriv;            // "Skriv"
  QPushButton* Endrealt;         // "Endre alt"
  QPushButton* Lukk;             // "&Lukk"
  QListWidget* LiVer;            // the floating candidate list of a name search
  TGrid* Verind;                 // the indexes
  QLabel* Rasnav;                // the breed name
  TGrid* Slekt;                  // the sire and dam lines (double-click looks one up)
  TGrid* Scan;                   // the scanning figures
  TGrid* Ulla;                   // the wool figures

  // The ram shown (all zero when none is).
  const TVerPost& GjeldendeVer() const { return ver_; }
  // The name-search text, kept apart from the field's text.
  const std::string& Navnesoek() const { return navnesoek_; }

  void Vis();
  void LetClick();
  void LiVerClick(QListWidgetItem* item);
  void SlektDblClickCell(int kol, int rad);
  void SkrivClick();
  // Changes the name, birth flock and birth place of the shown ram, saves the
  // record and, once it is saved, logs the change in Verers.Nav in the
  // working directory.
  void EndreClick();
  // Changes pedigree numbers, index date, indexes, scores, wool figures and
  // insemination status of the shown ram and saves the record.
  void EndrealtClick();
  // Opens the pedigree of the shown ram in a new print preview, which is returned.
  class TInnlesing* StammeClick();
  // Lists the sons of the shown ram in a new table window, which is returned.
  class TVindu* AvkomClick();
  // Prints a picture of the window on one page, as large as the page allows.
  void SkrivBilde(class QPagedPaintDevice& skriver);

 protected:
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  bool EvernumKeypress(class QKeyEvent* e);
  void EvernumEtterTast();
  // Saves the current ram over its record. When it cannot, the user is told
  // why: the ram is no longer in the register (Mistet) or the write failed (Feil).
  enum class Lagring { Lagret, Mistet, Feil };
  Lagring Lagre();

  TVerPost ver_;
  int32_t verIndeks_ = -1;  // the record ver_ was read from
  std::string navnesoek_;
  std::vector<TTekstElement> kandidater_;  // number and record of each item of LiVer
  bool soekVedTast_ = false;
};
