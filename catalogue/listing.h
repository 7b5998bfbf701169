// The catalogue's two outputs: the fixed-width text listing VerKat.txt, 13
// lines a ram, whose columns the framed pages read back by position; and one
// table row a ram with the fields chosen in the table-field list. All texts
// are Windows-1252.
//
// What the window does for a pass to the text listing:
//
//   TTekstKatalog ut(reg, raser);                 // VerKat.txt in the data folder
//   Utplukk(reg, utvalg, egenListe, [&](const TVerPost& v) { ut.Ta(v); }, progress);
//   ut.Fullfor();                                 // replaces VerKat.txt
//   load Linjer from ut.Fil(); status "<ut.Antall()> værer", "<lines> lin"
//
// and to the table:
//
//   TTabellKatalog ut(reg, tabell, skalMed, KatalogTittel(utvalg, RaseValg(raser)), innavl);
//   Utplukk(..., [&](const TVerPost& v) { ut.Ta(v); }, ...);
//   ut.Fullfor();                                 // footer row; then show the table
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "filer.h"
#include "register.h"
#include "tabell.h"
#include "trase.h"
#include "utvalg.h"

// The listing's file in the data folder.
inline constexpr const char* VerKatFilNavn = "VerKat.txt";
// Lines per ram in the listing.
inline constexpr int KatalogLinjerPerVer = 13;
// What the listing pane shows after a pass to the table.
inline constexpr const char* FerdigLinje = "Ferdig lest";

// Birth type text of BurdFodt (0 to 5), insemination label of Type (0 to 3);
// empty outside the table.
std::string FodselsTekst(int burdFodt);
std::string SeminMerke(int type);
// "dd/mm/yy" for an index date above 50, otherwise "uten ind".
std::string IndeksDatoTekst(double dato);
// An index of 900 or more is yellow ("gul"): shown as " gul", not as a number.
bool ErGul(int indeks);

// One ram's index line: number (9), blank, name (21), index date (8), the
// eight indexes (4 each), the three counts (5 each): 86 characters when no
// field overflows.
std::string IndeksLinje(const TVerPost& ver);

// The 13 lines of one ram, without line ends. The sire, the sire's sire and
// the dam's sire are looked up in the register (an all-zero record when
// unknown); the breed is named by `raser`.
std::vector<std::string> KatalogLinjer(const TVerPost& ver, const TProdusent& reg, const Trase& raser);
// The same lines, each ended by CR LF, appended to `ut`.
void SkrivKatalogLinjer(const TVerPost& ver, const TProdusent& reg, const Trase& raser, std::string& ut);

// The text output of a pass: every ram's 13 lines go to `fil` (by default
// VerKat.txt in the data folder), which is replaced whole when the pass is
// finished; an unfinished pass leaves the old file. `kopi`, when given, gets
// the same text block by block as it is written. The text of the rams is
// made in parts on the machine's cores, while the register is not changed;
// each part is written, and given to `kopi`, by the thread that made it,
// once the part before it is written (so `kopi` is called in order, one call
// at a time, but not on the caller's thread). Errors throw IoFeil (from Ta
// or Fullfor); after a failed write nothing more is written.
class TTekstKatalog {
 public:
  using TKopi = std::function<void(std::string_view)>;
  TTekstKatalog(TProdusent& reg, const Trase& raser, std::filesystem::path fil = {}, TKopi kopi = {});
  ~TTekstKatalog();
  TTekstKatalog(const TTekstKatalog&) = delete;
  TTekstKatalog& operator=(const TTekstKatalog&) = delete;
  void Ta(const TVerPost& ver);
  void Fullfor();
  int64_t Antall() const { return antall_; }
  const std::filesystem::path& Fil() const { return fil_; }

 private:
  TProdusent& reg_;
  const Trase& raser_;
  std::filesystem::path fil_;
  TTryggFil ut_;
  TKopi kopi_;
  int64_t antall_ = 0;
  // The rams taken since the last part was sent, and the parts being made
  // and written (each on a thread of its own), oldest first; the last of
  // them is the one the next part waits for before it writes.
  std::vector<TVerPost> parti_;
  std::deque<std::shared_future<void>> lages_;

  void Send();
};

// The table fields, entries 0 to 31 of the table-field list.
inline constexpr int AntallTabellfelt = 32;
// Entry 31, "Innavl %": the ram's mean expected inbreeding with the breeder's
// ewes, which the caller computes and hands in as a cell text per judging
// number; without it the cell is empty.
inline constexpr int InnavlFelt = 31;
using TInnavlCelle = std::function<std::string(int32_t nummer)>;
using TSkalMed = std::array<bool, AntallTabellfelt>;
// The list's item texts ("Navn", "Rase", …, "Ullanalyse").
const std::array<std::string, AntallTabellfelt>& TabellfeltNavn();
// The header cells of an entry, each ended by ';', and their number.
const std::array<std::string, AntallTabellfelt>& TabellfeltOverskrift();
int TabellfeltKolonner(int felt);

// The table's column count: the judging number and the columns of every
// checked field.
int KatalogKolonner(const TSkalMed& skalMed);
// The header row: "Værnr.;" and the header cells of the checked fields.
std::string KatalogOverskrift(const TSkalMed& skalMed);
// The title of the table: the year range (or "Egendefinert utplukk" for the
// own list), the kinds checked, the checked county entries (13 characters
// from their third on) and a blank and the text of every checked breed
// entry. `raseValg` holds the breed entries' texts (RaseValg).
std::string KatalogTittel(const TUtvalg& u, const std::vector<std::string>& raseValg);
// One ram's row: its number and the cells of the checked fields, each cell
// ended by ';'. The sire, the sire's sire and the dam's sire are looked up in
// the register for every row.
std::string TabellRad(const TVerPost& ver, TProdusent& reg, const TSkalMed& skalMed, const TInnavlCelle& innavl = {});

// The table output of a pass: the constructor sets the table up and adds
// the header row, Ta adds a ram's row, Fullfor the footer row of empty cells.
class TTabellKatalog {
 public:
  TTabellKatalog(TProdusent& reg, TTabellMottaker& tabell, const TSkalMed& skalMed, const std::string& tittel,
                 TInnavlCelle innavl = {});
  void Ta(const TVerPost& ver);
  // Instead of Ta: the row is made when the table shows or writes it, from
  // the record read again by its index (UtplukkPoster's; -1 an all-zero
  // record), so that a table of a million rams holds no text for them. For a
  // table that lives no longer than the register and `innavl` (the
  // command-line tool's). Fullfor hands the rows on.
  void TaSenere(const TVerPost& ver, int32_t indeks);
  void Fullfor();
  int64_t Antall() const { return antall_; }

 private:
  TProdusent& reg_;
  TTabellMottaker& tabell_;
  TSkalMed skalMed_;
  TInnavlCelle innavl_;
  int kolonner_;
  int64_t antall_ = 0;
  std::vector<int32_t> senere_;               // the record indexes of the rows made later
  std::shared_ptr<const TVerPost> nullpost_;  // the record of an index -1
};

// The settings keys of the table-field check marks ("SkalMed0" to
// "SkalMed31" in section "Katalog"), the key of entry `felt`.
std::string SkalMedNokkel(int felt);
