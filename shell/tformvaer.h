// The main window: the program's actions, the register's status and the
// settings file.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QSet>
#include <QSettings>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QDialog;
class QLabel;
class QMenu;
class QProgressBar;
class QToolBar;
class TFormLister;
class TFormSlektskap;
class TFormStatistikk;
class TFormSoyer;
class TFormVer;
class TFormKatalog;
class TFormLes1;
class TFormNedlast;
class TOkt;
class TVindu;

class TFormVaer : public QMainWindow {
  Q_OBJECT

 public:
  // The program's state (its data folder, register, settings, …) is `okt`.
  explicit TFormVaer(TOkt& okt, QWidget* parent = nullptr);
  ~TFormVaer() override;

  // The long-lived windows, created by the program entry after this one; the
  // menus open them.
  QDialog* OmBoks = nullptr;
  TFormVer* FormVer = nullptr;
  TFormKatalog* FormKatalog = nullptr;
  TFormNedlast* FormNedlast = nullptr;
  TFormLes1* FormLes = nullptr;
  QWidget* FormSemReg = nullptr;  // closed with the main window when it is open
  TFormSoyer* FormSoyer = nullptr;
  TFormSlektskap* FormSlektskap = nullptr;
  TFormLister* FormLister = nullptr;
  TFormStatistikk* FormStatistikk = nullptr;

  // Actions, with the captions of the menu.
  QAction* HentHornstad;     // "Hent Hornstad på internett" (not shown)
  QAction* LeggInn;          // "Legg in værer fra internett"
  QAction* LesFraFil;        // "Les inn værer fra fil…"
  QAction* HenteInn;         // "Hente inn værer" (not shown)
  QAction* Avslutt;          // "Avslutt"
  QAction* Semin;            // in the "Registrering" menu, which is not shown
  QAction* Kartotekoppslag;  // "Kartotekoppslag"
  QAction* Katalog;          // "Katalog"
  QAction* Soyer;            // "Søyer…" in the "Arkiv" menu: the breeder's ewes
  QAction* Paringsplan;      // "Paringsplan" in the "Utlistinger" menu
  QAction* Paringsforslag;   // "Paringsforslag …": the best ram for each ewe
  QAction* Lister;           // "Lister …": the breeder's lists of rams
  QAction* Sammenlign;       // "Sammenlign værer …": 2 to 6 rams side by side
  QAction* Statistikk;       // "Statistikk": the charts of the register
  QAction* Endringer;        // "Endringer i listene": the last import's change report
  QAction* OmHornstad;       // "Om Hornstad"

  QMenu* Registrering;
  QLabel* StatusLinje;  // "Ingen værer inne"
  // Says that the last import changed rams on the lists (hidden otherwise).
  QLabel* EndringsVarsel;
  QProgressBar* Animasjon;

  // The full configuration ([Hoved] Fullt=1 in Hornstad.Ini): the reading
  // window, the program download, the insemination registration and the
  // lookup window's editing buttons are offered too.
  bool Fullt() const { return fullt_; }

  // Questions and messages go through these, so that tests can answer them.
  std::function<bool(const QString& tekst)> Bekreft;      // OK / Avbryt
  std::function<bool(const QString& tekst)> SporJaNei;    // Ja / Nei
  std::function<void(const QString& tekst)> Melding;      // information
  std::function<void(const QString& tekst)> Feilmelding;  // error
  std::function<QString()> VelgVerfil;                    // a chosen archive or export, or empty
  // Runs a dialog of the main window (by default modally) and returns its result.
  std::function<int(QDialog& dialog)> KjorDialog;

  // Shows the window as the program does. The first time this runs the
  // start-up: finds the data folder, reads Hornstad.Ini and places the
  // windows by it, loads the register and the breed table. After that, and
  // when the desktop restores the window, nothing is run again.
  void Vis();
  // Brings the window forward when another copy of the program was started
  // on the same data folder: restored if minimised, raised and activated.
  void KomFram();

  void LeggInnClick();
  void LesFraFilClick();
  // Reads the rams of an archive or export the user has, as `hornstad-cli
  // importer` does, and opens the register again; a failure leaves it as it
  // was and says why.
  void LesInnFil(const std::filesystem::path& fil);
  void HenteInnClick();
  void HentHornstadClick();
  void SeminClick();
  void KartotekoppslagClick();
  void KatalogClick();
  void SoyerClick();
  // Asks for the candidate rams and shows the mating plan of the ewes of
  // Soyer.Txt in a new table window, which is returned (null when there is
  // none: no ewes, cancelled, or no ram in the register).
  TVindu* ParingsplanClick();
  // The mating suggestion: its open window brought forward, or the one saved
  // in Paringer.Txt shown, or (none saved) the choices asked for and a new
  // one made. With `verer` (a mating plan's rams) the choices are asked for
  // with those rams as the candidates. Null when none is shown.
  class TParingsforslagVindu* ParingsforslagClick(const std::vector<int32_t>* verer = nullptr);
  void OmHornstadClick();
  void ListerClick();
  // Asks for the numbers of 2 to 6 rams and opens their comparison.
  void SammenlignClick();
  void StatistikkClick();
  // The last import's change report in a new table window, which is
  // returned (null when there is none to show; the user is told).
  TVindu* EndringerClick();
  // Adds rams to a list the user chooses (the lookup window's and the
  // catalogue table's "Legg i liste").
  void LeggIListe(const std::vector<int32_t>& nummer, const QString& hva);
  // Verene.Dat was replaced by another program (hornstad-cli importer): asks
  // whether to load it, and does so with the change report.
  void RegisterErstattet();

 signals:
  // The window has closed (the program ends); a window that kept unsaved
  // changes open (Cancel) keeps the main window open too, and this is not sent.
  void lukket();

 protected:
  void closeEvent(QCloseEvent* e) override;
  // An archive or export dropped on the window is read in, after a question.
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dropEvent(QDropEvent* e) override;

 private:
  void ForsteVisning();
  // The windows whose place Hornstad.Ini keeps, with their sections.
  std::vector<std::pair<QWidget*, QString>> Plasseringer() const;
  void ForsteLasting();
  void LastRegister();
  void Oppdater();
  // Places a window by Hornstad.Ini, on the screen.
  void Plasser(QWidget* w, const QString& seksjon, bool medStorrelse);
  // At a window's first showing after Plasser: looks again with its frame.
  void EtterForsteVisning(QWidget* w);
  void ForberedNedlasting();
  // The change report's part in an import: made before it, while the old
  // register is loaded; finished after the new one is loaded.
  std::unique_ptr<class TEndringsvakt> StartEndringer();
  void FullforEndringer(std::unique_ptr<class TEndringsvakt> vakt);
  // Shows the notice of changes when Endringer.Txt holds any.
  void VisEndringsVarsel();
  void SettFullt(bool fullt);

  // Lets the register go before an import replaces it.
  void SlippRegister();

  TOkt& okt_;
  // The ewes of Soyer.Txt read afresh; false when there are none (the user
  // is offered the ewe window) or the file cannot be read (told).
  bool LesSoyerFor(const QString& hva);
  QString paringsplanNumre_;  // the numbers typed for the last mating plan
  QPointer<class TParingsforslagVindu> paringsforslag_;
  QString sammenlignNumre_;  // the numbers typed for the last comparison
  QString siste_;
  bool vist_ = false;
  bool fullt_ = false;
  bool sporOmNyttRegister_ = false;       // the question about a replaced register is open
  QAction* registreringKnapp_ = nullptr;  // the tool bar's button for the "Registrering" menu
  class TMenylinje* menylinje_ = nullptr;
  QSet<QWidget*> sjekkesEtterVisning_;  // windows whose frame is looked at after their first showing
};
