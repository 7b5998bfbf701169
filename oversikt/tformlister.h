// The breeder's named lists of rams in windows: the question that adds rams
// to a list ("Legg i liste"), the list window ("Lister") that shows a list in
// the table window, removes rams from it and renames or deletes it, and the
// comparison of 2 to 6 rams (a table window and a window with its chart).
#pragma once

#include <QDialog>
#include <QWidget>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "epost.h"
#include "lister.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class TDiagramflate;
class TOkt;
class TVindu;

// ---- the comparison ----

struct TSammenligningsvinduer {
  TVindu* tabell = nullptr;
  TDiagramflate* diagram = nullptr;
};
// Compares the rams with these judging numbers: the table in a table window
// and the bar chart of their indexes in a window of its own. Numbers not in
// the register are told and left out; fewer than 2 or more than 6 rams left
// is told, and nothing opens.
TSammenligningsvinduer VisSammenligning(TOkt& okt, const std::vector<int32_t>& nummer, QWidget* eier,
                                        const std::function<void(const QString&)>& melding);

// The question for judging numbers to compare ("Sammenlign værer").
class TSammenlignVerer : public QDialog {
  Q_OBJECT

 public:
  TSammenlignVerer(const QString& numre, QWidget* parent = nullptr);
  QLineEdit* Numre;
  QLabel* Feil;
  const std::vector<int32_t>& Verer() const { return verer_; }
  // OK: numbers that do not read, or too few or too many, keep the dialog open.
  void accept() override;

 private:
  // The rams typed into `verer`, or why they cannot be compared (Windows-1252).
  std::string Sjekk(std::vector<int32_t>& verer) const;
  bool provd_ = false;  // OK was refused once
  std::vector<int32_t> verer_;
};

// ---- a list's name ----

// The question for a list's name, one for "Legg i liste", "Ny liste …" and
// "Gi nytt navn …": a name chosen among the choices or typed. The name is
// checked as it is typed: one that cannot be used keeps OK off and says why
// in the dialog, and the text stays as typed, never cut short.
class TVelgListe : public QDialog {
  Q_OBJECT

 public:
  // Why a name (trimmed, Windows-1252) cannot be used; empty when it can.
  using TSjekk = std::function<std::string(const std::string& navn)>;
  // `valg`: the names offered in a drop-down list (none: a plain field);
  // `forslag`: the name shown first; `hjelp`: a line under the field.
  TVelgListe(const QString& tittel, const QString& sporsmal, const QStringList& valg, const QString& forslag,
             const QString& hjelp, TSjekk sjekk, QWidget* parent = nullptr);
  // "Legg i liste": the lists there are and the names offered for a first
  // list; `hva` says what is added ("Bamsen (1900123)", "3 merkede værer").
  TVelgListe(const TLister& lister, const QString& hva, const QString& forslag, QWidget* parent = nullptr);

  QComboBox* Navn = nullptr;  // the choices (none without)
  QLineEdit* Linje;           // where the name is typed: the drop-down list's own field, when there is one
  QLabel* Feil;
  QPushButton* Ok;
  // The name chosen (trimmed, Windows-1252), after OK.
  const std::string& Valgt() const { return valgt_; }
  // OK: a name that cannot be used keeps the dialog open and says why.
  void accept() override;

 private:
  // The name as typed into `navn`, and why it cannot be used (none for an
  // empty name).
  QString Sjekk(std::string& navn) const;
  void Folg();
  TSjekk sjekk_;
  std::string valgt_;
};

// Asks for a list and adds the rams to it in Lister.Txt of the data folder.
// `kjor` runs the dialog (tests answer it); the outcome and any failure go
// through `melding`. True when the file was written. The list chosen is
// offered first the next time.
bool LeggIListe(TOkt& okt, const std::vector<int32_t>& nummer, const QString& hva, QWidget* eier,
                const std::function<int(QDialog&)>& kjor, const std::function<void(const QString&)>& melding);

// ---- the pocket catalogue ----

// How saving a pocket catalogue talks with the user; tests answer instead.
struct TLommeDialog {
  // Asks for the file, offering `forslag`; empty: cancelled.
  std::function<QString(const QString& forslag)> velgFil;
  std::function<void(const QString&)> melding;
  // Shows the text about the saved page with a button "Send på e-post …";
  // true when that was pressed. Empty: the text goes to `melding`.
  std::function<bool(const QString& tekst)> tilbyEpost;
  // Hands the mail to the mail program (GiTilEpostprogram when empty).
  std::function<TSendeSvar(const TEpost&)> send;
  // A yes/no question (a very large page); empty: no question.
  std::function<bool(const QString&)> bekreft;
};
// Above this many rams the user is asked before a page is made of a whole
// table (about 1 kB a ram).
inline constexpr std::size_t StorLommekatalog = 5000;
// The program's own: a file dialog and message boxes over `eier`.
TLommeDialog LommeDialog(QWidget* eier);
// The file dialog: offers `forslag`, adds ".html" to a name without an
// ending and asks before replacing a file. Empty when cancelled.
QString VelgLommefil(QWidget* eier, const QString& forslag);
// "Lagre lommekatalog …" in a table window's tool bar and menu, for `nummer`.
void LeggTilLommeknapp(TOkt& okt, TVindu& vindu, const std::vector<int32_t>& nummer);

// Saves the pocket catalogue of the rams with these judging numbers (with the
// program's ewes, its limit and the saved mating suggestion): asks for the
// file, offering "Lommekatalog.html" in the Documents folder; the page is
// written whole, and the user is told where it went and how it reaches the
// phone, with the offer to mail it (to oneself: the mail program opens with
// the page attached), or why it was not saved. The file written, or empty.
std::filesystem::path LagreLommekatalog(TOkt& okt, const std::vector<int32_t>& nummer, const TLommeDialog& d);

// ---- the list window ----

class TFormLister : public QWidget {
  Q_OBJECT

 public:
  // The lists, the register and what a list's table needs are the
  // program's, in `okt`; an open window follows Lister.Txt changed anywhere
  // and a new register.
  explicit TFormLister(TOkt& okt, QWidget* parent = nullptr);

  // Messages, questions (true: yes) and the dialog for a list's name (a
  // TVelgListe; it gives QDialog::Accepted or Rejected) go through these, so
  // that tests can answer them.
  std::function<void(const QString&)> Melding;
  std::function<bool(const QString&)> Bekreft;
  std::function<int(QDialog&)> KjorDialog;
  // The save dialog of "Lagre lommekatalog …": the file chosen, or empty.
  std::function<QString(const QString& forslag)> VelgFil;
  // The saved pocket catalogue's text with its mail button (TLommeDialog).
  std::function<bool(const QString& tekst)> TilbyEpost;
  std::function<TSendeSvar(const TEpost&)> SendEpost;

  // Shows the window as the program does: a window that is not open reads
  // Lister.Txt afresh and keeps the list chosen before; a minimised one
  // comes back. A restore by the desktop runs nothing.
  void Vis();
  // Shows the lists as the program holds them now, keeping the list chosen.
  void VisLister();

  QListWidget* Listene;
  QListWidget* Verer;
  QPushButton* VisTabell;
  QPushButton* Sammenlign;
  QPushButton* Lommekatalog;
  QPushButton* Fjern;
  QPushButton* NyListe;
  QPushButton* NyttNavn;
  QPushButton* Slett;
  QPushButton* Lukk;
  QLabel* Status;

  const TLister& Lister() const;
  // The name of the list chosen (Windows-1252), or empty.
  std::string Valgt() const;

  // The list in a table window with the catalogue's table fields (and
  // "Innavl %" when Soyer.Txt exists), which is returned.
  TVindu* VisTabellClick();
  // The marked rams compared (all of the list when none is marked).
  TSammenligningsvinduer SammenlignClick();
  // The chosen list as a pocket catalogue (LagreLommekatalog): its marked
  // rams when more than one is marked, otherwise all of it; the file written,
  // or empty.
  std::filesystem::path LommekatalogClick();
  // Takes the marked rams off the list.
  void FjernClick();
  void NyListeClick();
  void NyttNavnClick();
  void SlettClick();

 private:
  // Changes Lister.Txt; false (told) when it could not be read or written.
  bool Endre(const std::function<bool(TLister&)>& endre);
  void VisListene(const std::string& velg);
  void VisVerer();
  std::vector<int32_t> Merkede() const;

  TOkt& okt_;
};
