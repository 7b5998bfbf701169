// The program's state: the data folder and what the program holds of it,
// one object for the desktop program and the command-line tool alike.
//
//   TOkt okt(dataMappe);
//   okt.LastRegister();                       // at start and after an import
//   okt.Register(), okt.Raser(), okt.Innstillinger(), okt.Soyer(), okt.Lister(), okt.Avlsdata()
//
// It emits a signal when a part of it changes, so that every window shows
// what is current without the main window telling it: the register loaded,
// the ewes or the lists saved (by a window, or by another program when
// Folg() watches the files), the catalogue's selection made, the settings
// changed. Files are read when first asked for and written through the
// safe-replace file; a file changed by another program since it was read
// is merged with, not written over (LagreSoyer, EndreLister).
//
// Used from the user-interface thread only.
#pragma once

#include <QObject>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "filer.h"

class QFileSystemWatcher;
class QSettings;
class QTimer;
class TAvlsdata;
class TLister;
class TProdusent;
class Trase;
struct TListeLesing;
struct TLagretForslag;
struct TSoye;
struct TSoyeKonflikt;

// The settings file Hornstad.Ini in the data folder.
inline constexpr const char* InnstillingsfilNavn = "Hornstad.Ini";
std::filesystem::path Innstillingsfil(const std::filesystem::path& dataMappe);

// What a save of the ewes came to.
struct TSoyelagring {
  bool lagret = false;   // Soyer.Txt was written (false: cancelled by the user)
  int fraAndre = 0;      // ewes changed elsewhere that were merged in
  int konflikter = 0;    // ewes both sides changed differently
  bool mineVant = true;  // how those were decided
};
// Decides the ewes that this window and another program changed each its
// own way: 1 keeps this window's, 0 takes the other's, -1 cancels the save.
using TVelgKonflikt = std::function<int(const std::vector<TSoyeKonflikt>& konflikter)>;

class TOkt : public QObject {
  Q_OBJECT

 public:
  explicit TOkt(std::filesystem::path dataMappe, QObject* parent = nullptr);
  ~TOkt() override;

  const std::filesystem::path& DataMappe() const { return dataMappe_; }

  // ---- the register ----

  // The register loaded last; null before the first load and while an
  // import replaces its file.
  TProdusent* Register() const { return register_.get(); }
  // Opens Verene.Dat of the data folder afresh. A missing file gives an
  // empty register; a file that cannot be read gives an empty register and
  // throws IoFeil. The relationship figures of the old register are dropped.
  // Emits registerLastet (also when it throws).
  TProdusent& LastRegister();
  // The register, loaded at the first call: what the command-line tool uses.
  TProdusent& AapentRegister();
  // Lets the register go before an import replaces its file: Register() is
  // null until the next LastRegister, and a change of Verene.Dat meanwhile is
  // the program's own.
  void SlippRegister();
  // The number of rams loaded (0 without a register).
  std::size_t AntallVerer() const;

  // ---- settings and reference tables ----

  // The breed table, read at the first call (Rasene.Nav in the working folder).
  const Trase& Raser();
  // Hornstad.Ini in the data folder.
  QSettings& Innstillinger();
  // [Hoved] Fullt=1: the full configuration.
  bool Fullt();
  // [Avl] Grense in percent.
  double Grense();

  // ---- the breeder's ewes (Soyer.Txt) ----

  // The ewes as read last (read at the first call); with the lines of the
  // file that did not read.
  const std::vector<TSoye>& Soyer();
  const std::vector<std::string>& SoyeMeldinger();
  // Reads Soyer.Txt again; throws IoFeil when it cannot (the ewes held stay).
  void LesSoyer();
  // Saves the ewes `nye` that a window made from `grunnlag` (the ewes it
  // read). When another program changed the file since, its changes are
  // merged in (FlettTreveis); ewes both changed differently are decided by
  // `velg` (none: this window's win). Emits soyerEndret. Throws IoFeil.
  TSoyelagring LagreSoyer(const std::vector<TSoye>& grunnlag, const std::vector<TSoye>& nye,
                          const TVelgKonflikt& velg = {});

  // ---- the lists (Lister.Txt) ----

  const TLister& Lister();
  const std::vector<std::string>& ListeMeldinger();
  // Reads Lister.Txt again; throws IoFeil when it cannot.
  void LesLister();
  // Changes the lists as the file holds them now (read afresh, so that a
  // change saved elsewhere stays) and writes them when `endre` returns true.
  // Emits listerEndret. Throws IoFeil.
  TListeLesing EndreLister(const std::function<bool(TLister&)>& endre);
  // The list chosen last in "Legg i liste" (Windows-1252), offered first next time.
  const std::string& SisteListe() const { return sisteListe_; }
  void SettSisteListe(std::string navn) { sisteListe_ = std::move(navn); }

  // ---- the mating suggestion as the breeder left it (Paringer.Txt) ----

  // As read last (read at the first call; nothing when there is no file),
  // with the lines of the file that did not read.
  const TLagretForslag& Paringer();
  const std::vector<std::string>& ParingsMeldinger();
  // Reads Paringer.Txt again; throws IoFeil when it cannot.
  void LesParinger();
  // Saves the suggestion. When another program (a second copy) saved one
  // since it was read here, nothing is written and the answer is false,
  // unless `overskriv`. Emits paringerEndret. Throws IoFeil.
  bool LagreParinger(const TLagretForslag& forslag, bool overskriv = false);

  // ---- relationship and inbreeding ----

  // The pedigree and its coefficients of the loaded register, computed when
  // first asked for; `beregner` is emitted around that work.
  TAvlsdata& Avlsdata();
  // A record was changed: the figures are made again when next asked for.
  // Emits postEndret.
  void PostEndret();
  // The catalogue's "Innavl %" cell of a judging number: the mean of the
  // lamb's coefficient over the ewes. An empty function without ewes.
  // Computes the coefficients when they are not yet.
  std::function<std::string(int32_t nummer)> InnavlCelle();
  // The message about pedigree loops, once a load (Windows-1252; empty after
  // that and when there are none).
  std::string NySloyfeMelding();

  // ---- the catalogue's last selection ----

  // The records of the last selection pass (record indexes, in the order
  // listed; an own-list entry not in the register is left out); empty
  // before the first.
  const std::vector<int32_t>& Katalogutvalg() const { return katalogutvalg_; }
  // Their judging numbers, each once, in that order.
  std::vector<int32_t> KatalogNumre() const;
  // Emits katalogutvalgEndret.
  void SettKatalogutvalg(std::vector<int32_t> poster);

  // ---- files changed by other programs ----

  // Watches the data folder's files (and the own list in the working
  // folder) from now on, for the desktop program: a change made by another
  // program (a second copy, hornstad-cli, an editor) is read and signalled.
  void Folg();
  // Looks at the files now (the watcher does so a moment after a change).
  void SjekkFiler();
  // While an import of this program runs, a new Verene.Dat is its own.
  void SettImporterer(bool importerer) { importerer_ = importerer; }

 signals:
  void registerLastet();
  // Verene.Dat in the data folder is no longer the file loaded: another
  // program put a new register there. Sent once for each new file.
  void registerErstattet();
  // A record of the register was changed (the record editing).
  void postEndret();
  void soyerEndret();
  void listerEndret();
  // Paringer.Txt was saved, here or by another program.
  void paringerEndret();
  void katalogutvalgEndret();
  void innstillingerEndret();
  // Endringer.Txt, the last import's change report, was written.
  void endringerEndret();
  // EgenVerer.Txt, the catalogue's own list, was written by another program.
  void egenlisteEndret();
  // Around the first computation of the relationship figures of a load.
  void beregner(bool start);

 private:
  enum Fil { Soyefil, Listefil, Parfil, Inifil, Endringsfil, Egenfil, Verfil, AntallFiler };
  std::filesystem::path Sti(Fil f) const;
  void Merk(Fil f);

  std::filesystem::path dataMappe_;
  std::unique_ptr<TProdusent> register_;
  std::unique_ptr<Trase> raser_;
  std::unique_ptr<QSettings> ini_;
  std::unique_ptr<TAvlsdata> avl_;

  struct TSoyer;
  std::unique_ptr<TSoyer> soyer_;
  struct TListene;
  std::unique_ptr<TListene> lister_;
  std::string sisteListe_;
  struct TParinger;
  std::unique_ptr<TParinger> paringer_;

  std::vector<int32_t> katalogutvalg_;

  QFileSystemWatcher* vakt_ = nullptr;
  QTimer* ventetid_ = nullptr;
  TFilmerke merker_[AntallFiler];
  bool importerer_ = false;
  TFilmerke erstattetMeldt_;  // the new Verene.Dat registerErstattet was sent for
};
