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
class TOkt;
class TProdusent;
class Tlesing;

class TFormVer : public QWidget {
  Q_OBJECT

 public:
  // The register and the breed table are the program's, in `okt` (an
  // import replaces the register).
  explicit TFormVer(TOkt& okt, QWidget* parent = nullptr);

  // The editing dialogs are shown through KjorDialog (by default modally; it
  // returns Tlesing::Ok or Tlesing::Angre) and the editing's messages through
  // Melding, so that tests can fill in the dialogs and read the messages.
  std::function<int(Tlesing& dialog)> KjorDialog;
  std::function<void(const QString& tekst, TMeldingstype type)> Melding;
  // The print dialog over the printer (false when cancelled); tests answer it.
  std::function<bool(class QPrinter& skriver)> VelgSkriver;

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
  // A register read in while the window is open (an import): the ram shown
  // is looked up again in it, and the candidates of an earlier name search
  // are dropped.
  void NyttRegister();
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

 signals:
  // "Slektskap": the relationship window for the ram shown.
  void slektskapOnsket(const TVerPost& ver);
  // "Legg i liste": the ram shown to one of the breeder's lists.
  void leggIListeOnsket(const TVerPost& ver);

 protected:
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  bool EvernumKeypress(class QKeyEvent* e);
  void EvernumEtterTast();
  // Saves the current ram over its record. When it cannot, the user is told
  // why: the ram is no longer in the register (Mistet) or the write failed (Feil).
  enum class Lagring { Lagret, Mistet, Feil };
  Lagring Lagre();

  TOkt& okt_;
  TVerPost ver_;
  int32_t verIndeks_ = -1;  // the record ver_ was read from
  std::string navnesoek_;
  std::vector<TTekstElement> kandidater_;  // number and record of each item of LiVer
  bool soekVedTast_ = false;
};
