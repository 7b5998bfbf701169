// The table window: shows any list of the program under a heading, with a
// footer for sums, averages and counts; sorts, finds, exports and prints it.
// Callers fill it through the calling contract (Oppsett, NyRad, NyBunnRad)
// and show it; it frees itself when it is closed.
#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>

#include "eksport.h"
#include "filtype.h"
#include "sortering.h"
#include "tabell.h"

class QAction;
class QPrinter;
class QLabel;
class QMenu;
class QProgressBar;
class QToolBar;
class QToolButton;
class TGrid;

class TVindu : public QMainWindow, public TTabellMottaker {
  Q_OBJECT

 public:
  explicit TVindu(QWidget* eier = nullptr);
  ~TVindu() override;

  // The calling contract. `Avsender` has no effect on the table.
  void Oppsett(QWidget* avsender, int antKol, int tittelStorrelse, int fasteKol, int fasteRader, int bunnRader,
               const std::string& tittel, TFarge farge1, TFarge farge2);
  void Oppsett(int antKol, int tittelStorrelse, int fasteKol, int fasteRader, int bunnRader, const std::string& tittel,
               TFarge farge1, TFarge farge2) override;
  void NyRad(std::string_view tekst) override;
  void NyBunnRad(std::string_view tekst) override;
  void SettVindusnavn(const std::string& navn) override;
  void SettMinsteskrift(int punkt) override { tabell_.SettMinsteskrift(punkt); }
  void Utvid(int kol, const std::string& tekst) override { tabell_.Utvid(kol, tekst); }
  void NyeRader(int antall, TRadtekst tekst) override;

  // Shows the window as the program does: its first layout (font fitted to
  // 600 pixels, column widths, print-fit note), then shows, raises and
  // activates it. A restore by the desktop runs nothing, so rows, sorting,
  // column widths and the scroll position stay.
  void Vis();

  TTabell& Tabell() { return tabell_; }

  // Components.
  QLabel* Overskr;
  QToolBar* VerkT;  // "Verktøy"
  QLabel* Label1;
  QProgressBar* Soyla;
  TGrid* Grinn;
  TGrid* bunn;
  QLabel* Panel[3];
  QMenu* Redmen;

  QToolButton* Lukk;      // "Lukk"
  QToolButton* Let;       // "Let"
  QToolButton* Utskrift;  // "Skriv ut"
  QToolButton* Storre;    // "Større"
  QToolButton* Mindre;    // "Mindre"
  QToolButton* Minkende;  // "Minkende"
  QToolButton* Okende;    // "Økende"
  QToolButton* Egdeff;    // "Pdf"
  QToolButton* Hjelp;     // "Hjelp"

  QAction* Tellein;    // "Tell linjer"
  QAction* SumKol;     // "Summer kolonne"
  QAction* SniKol;     // "Snitt kolonne"
  QAction* KanEndre;   // "Endre tekst"
  QAction* Kopier1;    // "Lagre/Kopier separert med ;"
  QAction* Kopier2;    // "Lagre/kopier TAB-separert"
  QAction* Komma;      // "TAB med komma som linjeskift"
  QAction* Excel;      // "Eksporter MS Excel"
  QAction* KopHtm;     // "Lagre/Kopier som HTML"
  QAction* KopMedTab;  // "Kopier tab-sepp"
  QAction* MerkAlt1;   // "Merk &Alt"

  // Re-layout after a font change: row heights, column widths, footer, note.
  void Skaler();
  void StorreClick();
  void MindreClick();
  void MerkAltClick();
  void SlettMerkede();
  int Skriftstorrelse() const { return tabell_.Skriftstorrelse; }

  // Sorting, finding and the column figures.
  void SorterClick(bool minkende);
  void LetClick();  // opens the find dialog
  bool FinnNeste(const QString& tekst);
  void TelleinClick();
  void SumKolClick();
  void SniKolClick();
  class QDialog* FindDialog1 = nullptr;
  class QLineEdit* Finnetekst = nullptr;

  // The exports: a save dialog (settings kept per window), the clipboard
  // when it is cancelled.
  void EksportClick(TEksportType type);
  TLagreValg& Lagrevalg() { return valg_; }
  // Asks for the file to save to: the file and the type chosen among the
  // dialog's filters (from 0); no value when the user cancels. The type
  // chosen gives a name without an ending its own. Tests answer it instead
  // of the dialog.
  std::function<std::optional<TLagringsfil>(const TLagreValg&)> VelgLagringsfil;

  // Messages go through this, so that tests can read them.
  std::function<void(const QString&)> Melding;

  // Printing on paper and into PDF.
  void UtskriftClick();
  void EgdeffClick();
  // The print dialog: sets up the printer; `tilbyUtvalg` offers the selection
  // choice, `utvalg` tells whether it was taken. False when cancelled. Tests
  // answer it instead of the dialog.
  std::function<bool(QPrinter&, bool tilbyUtvalg, bool& utvalg)> VelgSkriver;
  // The main window's caption, which the page heads carry.
  std::function<QString()> Hovedtekst;

 protected:
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  void ForsteLayout();
  void VisSkrevet(const std::string& melding, const QString& fil = {});
  void Arkmerknad();
  void TegnCelle(class QPainter& p, struct TCelleTegning& c, bool fot);
  void GrinnMusSluppet();
  void VisPosisjon();
  void FolgHoved();
  QFont Gridfont() const;
  void SettSkrift(int storrelse);
  struct TUtskrift Utskriftsjobb();
  // The file the save dialog's answer names, with the ending of its type.
  static std::optional<TLagringsfil> Lagringsfil(const std::optional<TLagringsfil>& svar, const TLagreValg& valg);

  TTabell tabell_;
  TFinnTilstand finn_;
  TLagreValg valg_;
  QAction* merknad_ = nullptr;  // the print-fit note's place in the tool bar
};
