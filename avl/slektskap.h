// What the windows and the command-line tool show of relationship and
// inbreeding: the lines of a planned mating, the table of every ram's own
// coefficient, the mating plan, the catalogue's "Innavl %" and the
// insemination grid's status text. Texts are Windows-1252; percentages have
// two decimals and a decimal comma.
//
// The pedigree and the coefficients are computed when first asked for:
//
//   TAvlsdata avl;                                   // in the shell, beside the register
//   avl.Bruk(reg);                                   // after every load; drops the old figures
//   const TInnavl& innavl = avl.InnavlFor({ver, far, morfar, mormorfar});   // or avl.Innavl()
//   const TParing p = innavl.Paring(ver, far, morfar, mormorfar);
//   lines = SlektskapLinjer(p, innavl.Stamtavle(), avl.Poster());
//   message = avl.NySloyfeMelding();                 // once a load
#pragma once

#include <QSettings>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "innavl.h"
#include "register.h"
#include "soyer.h"
#include "stamtavle.h"
#include "tabell.h"

// The pedigree and its coefficients for one register, made on first use.
class TAvlsdata {
 public:
  // The records to read from now on: the register's (its mapping is held
  // here, so a later load of the register leaves them readable), or records
  // in memory. Anything computed before is dropped.
  void Bruk(const TProdusent& reg);
  void Bruk(std::vector<TVerPost> poster);
  // Drops what has been computed (a record was changed).
  void Glem();
  bool Beregnet() const { return innavl_ != nullptr; }
  std::span<const TVerPost> Poster() const { return poster_; }
  // Built at the first call.
  const TStamtavle& Stamtavle();
  const TInnavl& Innavl();
  // The coefficients of the animals with these judging numbers and of their
  // ancestors: every animal's (Innavl) when they are computed already, else
  // those of a pedigree of just these animals and their ancestors
  // (TStamtavle::Aner; the same figures, and at a million rams a fraction of
  // the time). Its animals are numbered in its own Stamtavle(). Valid until
  // the next call, Bruk or Glem; numbers not in the pedigree are left out.
  const TInnavl& InnavlFor(std::span<const int32_t> nummer);
  // Called with true before the coefficients are computed and with false
  // after, so that a window can show that it is busy.
  std::function<void(bool)> VedBeregning;
  // The message about loop links (SloyfeMelding) the first time it is asked
  // for after the coefficients of a load were computed; empty after that,
  // before they are computed, and when there are none.
  std::string NySloyfeMelding();

 private:
  std::shared_ptr<const void> eier_;  // keeps poster_ valid
  std::span<const TVerPost> poster_;
  std::unique_ptr<TStamtavle> stamtavle_;
  std::unique_ptr<TInnavl> innavl_;
  std::unique_ptr<TStamtavle> delStamtavle_;  // the pedigree InnavlFor made last
  std::unique_ptr<TInnavl> delInnavl_;
  bool sloyferMeldt_ = false;
};

// The warning limit `[Avl] Grense` of Hornstad.Ini in percent (6,25 when it
// is missing, not a number or negative; a decimal comma or point).
inline constexpr double StandardGrense = 6.25;
double LesGrense(const QSettings& ini);

// A fraction as a percentage with two decimals: 0.125 gives "12,50" (the
// text FormatN gives for the percentage).
std::string Prosent(double andel);
// The figure as shown (two decimals) is at or above the limit (percent).
bool VedGrensa(double andel, double grense);

// How an animal of the pedigree is named: a ram by number and name, a number
// without a record "(ikke i registeret)", a dam as her offspring's dam.
std::string AneTekst(const TStamtavle& s, std::span<const TVerPost> poster, int32_t dyr);

// The lines of a planned mating: "Innavlsgrad for lammet: 12,50 %", the ram's
// own coefficient with its completeness, the lamb's completeness, then the
// common ancestors one a line with their shares by Wright's paths, "N andre"
// for those beyond the listed, and "Eldre aner" for what the paths longer than
// those followed give (only when it shows as more than 0,00). For a ram not in
// the pedigree, one line saying so. For a sire or dam's sire given that is not
// in the pedigree, the lamb's figure is "–" and the third line says which.
std::vector<std::string> SlektskapLinjer(const TParing& p, const TStamtavle& s, std::span<const TVerPost> poster);
// "Far 999 finnes ikke i registeret." and the same for the dam's sire and the
// dam's dam's sire, in one line; empty when all are there (or not given).
std::string ManglerTekst(const TParing& p);
// The same for a ewe's sire, dam's sire and dam's dam's sire against the pedigree.
std::string ManglerTekst(const TStamtavle& s, const TSoye& soye);
// The share of the lamb's figure that lies further back than the paths
// followed, as shown ("0,23"); empty when it shows as 0,00.
std::string EldreTekst(const TParing& p);

// Every ram's own coefficient as a table: judging number, name, coefficient
// in percent, known ancestors in five generations; one row a ram (the record
// FindByNumber gives), in file order.
inline constexpr int InnavlKolonner = 4;
std::string InnavlTittel();
void ListInnavl(const TInnavl& innavl, std::span<const TVerPost> poster, TTabellMottaker& tabell);

// A mating plan: each ewe against each ram.
struct TParingsplan {
  std::vector<TSoye> soyer;
  std::vector<int32_t> verer;    // the rams of the plan (judging numbers, each once)
  std::vector<int32_t> ukjente;  // numbers given that are not in the pedigree
  std::vector<double> lam;       // lamb's coefficient, ewe by ewe, verer.size() a ewe
  std::vector<double> snitt;     // per ram, the mean over the ewes (empty without ewes)
  double Lam(std::size_t soye, std::size_t ver) const { return lam[soye * verer.size() + ver]; }
};
TParingsplan LagParingsplan(const TInnavl& innavl, const std::vector<TSoye>& soyer, const std::vector<int32_t>& verer);
std::string ParingsplanTittel();
// The table window's caption, naming the plan: "Paringsplan: 3 søyer og
// værene 2000 og 3000"; above six rams their number instead of theirs.
std::string ParingsplanNavn(const TParingsplan& plan);
// The table: "Søye;Far;Morfar;" ("Mormors far;" after, when some ewe has
// one) and a column per ram; cells at or above the
// limit (percent) in the first colour (red); the means in the footer row, or
// (for a delimited file, which has no footer) as the last row "Snitt".
enum class TSnittrad { Bunnrad, SisteRad };
void ListParingsplan(const TParingsplan& plan, double grense, TTabellMottaker& tabell,
                     TSnittrad snitt = TSnittrad::Bunnrad);

// The catalogue's "Innavl %": every ram's mean expected coefficient with the
// ewes of a list, computed once for the list.
class TInnavlSnitt {
 public:
  TInnavlSnitt(const TInnavl& innavl, const std::vector<TSoye>& soyer);
  // The mean (fraction), or nothing without ewes or for a number not in the pedigree.
  std::optional<double> Andel(int32_t nummer) const;
  // The cell text: the percentage, or empty.
  std::string Celle(int32_t nummer) const;

 private:
  const TStamtavle& s_;
  std::vector<double> snitt_;  // per animal
};

// The same means for the rams with these judging numbers alone, from the
// coefficients of them, the ewes' sires and dams' sires and their ancestors
// (TAvlsdata::InnavlFor: the same figures, without those of the whole
// register when they are not computed yet). Valid while `avl` makes no other
// figures. Nothing without ewes.
std::unique_ptr<TInnavlSnitt> InnavlSnittFor(TAvlsdata& avl, const std::vector<TSoye>& soyer,
                                             std::span<const int32_t> verer);

// The insemination grid's status line for a ram used on a ewe of the list,
// e.g. "Søye 123 × 1900123: forventet innavl 3,13 % (kjente aner 40 av 62)".
std::string InnavlStatus(const TInnavl& innavl, const TSoye& soye, int32_t ver);
