// The mating suggestion in the program. First the choices (the candidate
// rams with their capacities, the limit and the weight), then the suggestion
// in a table window: one row a ewe, the summary in the footer and the rams'
// counts beside the table. There the breeder gives a ewe another ram (from
// the rams allowed for her, with their figures), locks and forbids pairs and
// has the rest suggested again around them. Every change is saved to
// Paringer.Txt at once, and the saved suggestion is what the window shows
// when it is opened again.
#pragma once

#include <QDialog>
#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "paringsforslag.h"

class QComboBox;
class QDockWidget;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QAction;
class TOkt;
class TVindu;

// The choices before a suggestion.
class TVelgParingsvalg : public QDialog {
  Q_OBJECT

 public:
  // Starts from `valg` (its rams, limit, weight; its locks and bans are
  // kept as they are). The rams come from the catalogue's last selection,
  // a list of Lister.Txt or numbers typed.
  TVelgParingsvalg(TOkt& okt, const TParingsvalg& valg, QWidget* parent = nullptr);

  QTableWidget* Verer;  // "Vær", "Navn", "O-indeks", "Kapasitet" (the last editable)
  QComboBox* Kilde;     // the catalogue's selection and the lists
  QPushButton* LeggTilKilde;
  QLineEdit* Numre;
  QPushButton* LeggTilNumre;
  QPushButton* Fjern;  // removes the marked rams
  QLineEdit* NyKapasitet;
  QLineEdit* Grense;
  QLineEdit* Vekt;
  QLabel* Feil;

  // Adds rams after those there (a ram there already is passed over), each
  // with the capacity of NyKapasitet. Numbers not in the register are told
  // in Feil and left out.
  void LeggTil(const std::vector<int32_t>& numre);
  // The choices (after OK).
  const TParingsvalg& Valg() const { return valg_; }
  // OK: what does not read keeps the dialog open and is named.
  void accept() override;

 protected:
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  std::string Sjekk(TParingsvalg& valg) const;
  void FyllKilde();
  TOkt& okt_;
  TParingsvalg valg_;
  std::function<void()> leggTilNumre_;
};

// A suggestion shown in a table window, which owns this object: it goes
// when the window is closed.
class TParingsforslagVindu : public QObject {
  Q_OBJECT

 public:
  TParingsforslagVindu(TOkt& okt, std::shared_ptr<TParingsforslag> forslag, QWidget* eier);

  TVindu* Vindu() const { return vindu_; }
  // Shows the window as the program does, wide enough for the table and
  // the rams beside it.
  void Vis();
  const TParingsforslag& Forslag() const { return *forslag_; }

  QDockWidget* Dokk;    // the rams' counts beside the table
  QTableWidget* Verer;  // "Vær", "Navn", "Søyer", "Kapasitet"
  QLabel* Merknad;      // what changed under the suggestion, when something did
  QAction* VelgVer;     // "Velg vær …" (Enter, or a double click on the row)
  QAction* PaaNytt;     // "Foreslå på nytt"
  QAction* EndreValg;   // "Valg …"

  // Messages, questions and the dialogs go through these, so that tests can
  // answer them.
  std::function<void(const QString&)> Melding;
  std::function<bool(const QString&)> SporJaNei;
  std::function<int(QDialog&)> KjorDialog;

  // The ewe of the grid's current row, or -1.
  int GjeldendeSoye() const;
  // The breeder's choices for a ewe, as the row's menu gives them: a ram
  // (-1: none; a ram given by hand is locked to her), a lock, a ban.
  void Velg(int soye, int ver);
  void SettLaas(int soye, bool laas);
  void ForbyPar(int soye, int ver);
  void TillatPar(int soye, int ver);
  // The row's menu: the rams allowed for the ewe with their figures, "Ingen
  // vær", the lock and the bans.
  void VisMeny(int soye);
  // A new suggestion with the choices as they are (locks and bans kept).
  void ForeslaaPaaNytt();
  // The choices asked for (starting from the suggestion's, with `verer` as
  // the candidates when given) and a new suggestion made.
  void ValgClick(const std::vector<int32_t>* verer = nullptr);
  // Saves the suggestion as it stands to Paringer.Txt; when a second copy
  // saved one meanwhile, asks whether to write over it or show that one.
  void Lagre();

 protected:
  // Delete in the grid does not take rows away: they are the suggestion's.
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  // Fills the table window from the suggestion, from scratch.
  void Bygg();
  // After a change: the rows, the footer, the rams' counts; then saves.
  void Endret();
  void VisTellinger();
  // The width the rams' table beside the grid needs to show all of it.
  int DokkBredde() const;
  // Makes the window wider, when it is shown, so that the grid and the
  // rams' table fit again after their columns grew (never narrower).
  void Tilpass();
  // The same pairs over the ewes and figures as they are now.
  void LagPaaNytt(const TParingsvalg& valg, const std::vector<TParingspar>* par, const QString& merknad);

  TOkt& okt_;
  std::shared_ptr<TParingsforslag> forslag_;
  TVindu* vindu_;
  // The window's grid, kept apart: the event filter sees events while the
  // window is being destroyed, when its members may no longer be read.
  QObject* grinn_ = nullptr;
};

// "Paringsforslag …": the suggestion saved in Paringer.Txt in a new window,
// or, when none is saved, or `verer` are given (the rams of a mating plan),
// the choices asked for and a new suggestion made, solved and saved. Null
// when nothing is shown (cancelled, or no ram in the register; the user is
// told).
TParingsforslagVindu* VisParingsforslag(TOkt& okt, QWidget* eier, const std::vector<int32_t>* verer,
                                        const std::function<int(QDialog&)>& kjorDialog,
                                        const std::function<void(const QString&)>& melding);
