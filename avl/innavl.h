// Inbreeding and kinship over the pedigree, exact to the precision of the
// machine's floating point (no cut-off at a number of generations).
//
// Every animal's own coefficient: the tabular method (a(i,j) = ½(a(s,j) +
// a(d,j)), a(i,i) = 1 + ½a(s,d)) carried over a window that moves along the
// pedigree's order: only the animals that have grandoffspring get a row, and
// a row is dropped as soon as no later animal needs it. An animal without
// grandoffspring takes its coefficient from its parents' and grandparents'
// rows. The window has a fixed number of rows: when it is full, the row
// needed again last is dropped; a dropped row needed for a new row is made
// again with Colleau's method (below), and a pair that an animal without
// grandoffspring needs from a dropped row is computed at the end the same
// way, many at a time. (Registers whose numbers follow the generations rarely
// fill the window; numbers stored twice, which give old rams new parents, do.)
//
// A planned mating: the lamb's coefficient is the kinship of ram and ewe,
// ½a(ram, ewe), the ewe known by her sire, her dam's sire and her dam's dam's
// sire: ¼a(ram, sire) + ⅛a(ram, dam's sire) + 1/16·a(ram, dam's dam's sire);
// and a(x,y) = Σ_j T_xj T_yj D_j (A = T D T': T the gene flow
// from ancestor j, D_j the Mendelian sampling variance of j), one pass over
// the common ancestry. The shared ancestors listed with it are Wright's
// (stier.h), followed a bounded number of generations back; what lies
// further back is the exact figure less their shares.
//
// Many rams against many ewes: Colleau's (2002) indirect method, A·c = T D T'c
// computed as two passes over the ancestry of the animals involved, for a
// block of columns at a time.
//
// Not for use from more than one thread at a time (the mating pass keeps its
// working arrays between calls).
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "stamtavle.h"

// Generations and ancestors that the completeness figure counts: parents to
// great-great-great-grandparents.
inline constexpr int KjenteAnerMaks = 62;

struct TInnavlValg {
  // Rows of the window (at least 16).
  std::size_t vindu = 1024;
  // Meuwissen and Luo (1992) instead of the window: for checking, it is slow
  // on deep pedigrees.
  bool meuwissenLuo = false;
};

// How far the shared ancestors of a mating are followed (stier.h): the
// generations from each parent of the lamb to the ancestor, at most, and the
// pairs of paths looked at, at most (with more, a generation fewer). Twelve
// generations hold at most 8 191 paths on a side; a million pairs take some
// milliseconds. In deep pedigrees of few breeding rams a mating usually has
// some thousands of pairs, and the paths not followed carry a tenth or less of
// the figure.
struct TStiValg {
  int maksLedd = 12;
  int64_t maksPar = 1000000;
};

// What the window did, for the benchmarks.
struct TVindusTall {
  std::size_t bredde = 0;  // rows the pedigree would need at most
  std::size_t rader = 0;   // rows held
  int64_t gjenskapt = 0;   // dropped rows made again
  int64_t utsatt = 0;      // pairs computed at the end
  int64_t kolonner = 0;    // columns computed for those pairs
};

// A shared ancestor and its share of the lamb's coefficient (a fraction).
struct TFellesAne {
  int32_t dyr = -1;
  double andel = 0;
};

// A planned mating of a ram with a ewe given by her sire, her dam's sire and
// her dam's dam's sire.
struct TParing {
  bool funnet = false;            // the ram is in the pedigree
  bool farMangler = false;        // a sire is given that is not in the pedigree
  bool morfarMangler = false;     // a dam's sire is given that is not in the pedigree
  bool mormorfarMangler = false;  // a dam's dam's sire is given that is not in the pedigree
  int32_t ver = 0;                // judging numbers as given
  int32_t far = 0;
  int32_t morfar = 0;
  int32_t mormorfar = 0;
  int32_t verDyr = -1;
  double lam = 0;     // the lamb's expected coefficient (fraction)
  double verF = 0;    // the ram's own coefficient (fraction)
  int lamKjente = 0;  // the lamb's known ancestors in five generations (of 62)
  int verKjente = 0;  // the ram's
  // The common ancestors by Wright's paths, the largest shares first (equal
  // shares in pedigree order).
  std::vector<TFellesAne> aner;
  // Common ancestors beyond those listed: how many, and their shares together.
  int64_t restAntall = 0;
  double restAndel = 0;
  // What the paths longer than those followed give: the lamb's figure less
  // every share found (never below 0); and the generations followed.
  double eldreAndel = 0;
  int ledd = 0;
  // The ram is in the pedigree and so is every parent given: the figure holds.
  bool Gyldig() const { return funnet && !farMangler && !morfarMangler && !mormorfarMangler; }
};

class TInnavl {
 public:
  explicit TInnavl(const TStamtavle& s, const TInnavlValg& valg = {});

  const TStamtavle& Stamtavle() const { return s_; }
  // An animal's own coefficient (fraction).
  double F(int32_t dyr) const { return f_[static_cast<std::size_t>(dyr)]; }
  // Known ancestors of an animal in five generations (0 to 62).
  int Kjente(int32_t dyr) const;
  // Known ancestors of a lamb of ram `dyr` (-1: unknown) and a ewe by `far`
  // out of a dam by `morfar`, the dam out of a dam by `mormorfar` (judging
  // numbers, 0 unknown).
  int LamKjente(int32_t dyr, int32_t far, int32_t morfar, int32_t mormorfar = 0) const;
  const TVindusTall& Vindustall() const { return vindustall_; }

  // The lamb's coefficient alone.
  double Lam(int32_t ver, int32_t far, int32_t morfar, int32_t mormorfar = 0) const;
  // The whole figure with the shared ancestors; at most `maksAner` listed.
  TParing Paring(int32_t ver, int32_t far, int32_t morfar, int32_t mormorfar = 0, std::size_t maksAner = 20,
                 const TStiValg& stier = {}) const;

  // Kinship block: for every column (a weighted sum of animals, Σ w·a(x, ·)),
  // the value for each of `rader` (animals). Result: rader.size() rows of
  // kolonner.size() values. With alleRader the rows are every animal 0 to
  // Antall() - 1 and `rader` is not read.
  using TKolonne = std::vector<std::pair<int32_t, double>>;
  std::vector<double> Blokk(const std::vector<TKolonne>& kolonner, const std::vector<int32_t>& rader,
                            bool alleRader = false) const;

  // The Mendelian sampling variance of an animal (D_j above).
  double D(int32_t dyr) const;

 private:
  void Vindusmetoden(std::size_t maksRader);
  void MeuwissenLuo();
  // Colleau's columns a(e, ·) for up to four entries `e` of the animals with
  // grandoffspring, over the entries 0 to `til` - 1 (D known for all of them,
  // and `til` above every e), into u_: a(e[b], entry k) at u_[k * 4 + b].
  void Kolonner(const int32_t* e, int antall, int32_t til) const;
  // Adds the gene flow from `dyr` with weight w to side `side` of the mating pass.
  void Fro(int side, int32_t dyr, double w, int32_t& hoyeste) const;
  double Paringspass(int32_t ver, int32_t far, int32_t morfar, int32_t mormorfar) const;

  const TStamtavle& s_;
  std::vector<double> f_;
  std::vector<uint8_t> hoyde_;   // 0 no offspring, 1 no grandoffspring, 2 more
  std::vector<uint8_t> kjente_;  // known ancestors in 1..4 generations, 4 a row
  TVindusTall vindustall_;

  // The animals with grandoffspring, in order, for the mating pass.
  std::vector<int32_t> dypt_;         // animal of each entry
  std::vector<int32_t> dyptAv_;       // entry of each animal, or -1
  std::vector<int32_t> dFar_, dMor_;  // entries of the parents, or -1
  std::vector<int32_t> sFar_, sMor_;  // the same, with Antall() of the entries for -1
  std::vector<double> dD_;
  mutable std::vector<double> t_;  // two sides per entry; all zero between passes
  struct TEgen {
    int32_t dyr;
    double w[2];
  };
  mutable std::vector<TEgen> egne_;  // animals without grandoffspring met in a pass
  mutable std::vector<double> u_;    // Colleau's columns
};
