// Inbreeding and kinship over the pedigree, exact to the precision of the
// machine's floating point (no cut-off at a number of generations).
//
// Every animal's own coefficient: the tabular method (a(i,j) = ½(a(s,j) +
// a(d,j)), a(i,i) = 1 + ½a(s,d)) carried over a moving window: only the
// animals that have grandoffspring get a row, and a row is dropped as soon as
// no later animal needs it. An animal without grandoffspring gets its
// coefficient from its parents' and grandparents' rows. When the window would
// be too wide for the memory allowed (a register whose numbering runs against
// the generations), Meuwissen and Luo (1992) is used instead.
//
// A planned mating: the lamb's coefficient is the kinship of ram and ewe,
// ½a(ram, ewe), and a(x,y) = Σ_j T_xj T_yj D_j (A = T D T': T the gene flow
// from ancestor j, D_j the Mendelian sampling variance of j). One pass over
// the common ancestry gives the figure and each shared ancestor's share
// ½ T_xj T_yj D_j; the shares add up to the figure.
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
  // Largest window of rows (bytes) before Meuwissen and Luo takes over.
  // 0: a limit from the size of the pedigree (linear in the animals).
  std::size_t maksVindu = 0;
};

// A shared ancestor and its share of the lamb's coefficient (a fraction).
struct TFellesAne {
  int32_t dyr = -1;
  double andel = 0;
};

// A planned mating of a ram with a ewe given by her sire and her dam's sire.
struct TParing {
  bool funnet = false;  // the ram is in the pedigree
  int32_t ver = 0;      // judging numbers as given
  int32_t far = 0;
  int32_t morfar = 0;
  int32_t verDyr = -1;
  double lam = 0;       // the lamb's expected coefficient (fraction)
  double verF = 0;      // the ram's own coefficient (fraction)
  int lamKjente = 0;    // the lamb's known ancestors in five generations (of 62)
  int verKjente = 0;    // the ram's
  // The largest shares, largest first (equal shares in pedigree order).
  std::vector<TFellesAne> aner;
  // Shared ancestors beyond those listed: how many, and their shares together.
  int64_t restAntall = 0;
  double restAndel = 0;
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
  // out of a dam by `morfar` (judging numbers, 0 unknown).
  int LamKjente(int32_t dyr, int32_t far, int32_t morfar) const;
  // Whether the window (true) or Meuwissen and Luo (false) computed F.
  bool Vindu() const { return vindu_; }
  // The widest window met (rows).
  std::size_t Vindusbredde() const { return bredde_; }

  // The lamb's coefficient alone.
  double Lam(int32_t ver, int32_t far, int32_t morfar) const;
  // The whole figure with the shared ancestors; at most `maksAner` listed.
  TParing Paring(int32_t ver, int32_t far, int32_t morfar, std::size_t maksAner = 20) const;

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
  void Vindusmetoden(std::size_t maksBytes);
  void MeuwissenLuo();
  // Adds the gene flow from `dyr` with weight w to side `side` of the mating pass.
  void Fro(int side, int32_t dyr, double w, int32_t& hoyeste) const;
  double Paringspass(int32_t ver, int32_t far, int32_t morfar, std::vector<TFellesAne>* aner) const;

  const TStamtavle& s_;
  std::vector<double> f_;
  std::vector<uint8_t> hoyde_;    // 0 no offspring, 1 no grandoffspring, 2 more
  std::vector<uint8_t> kjente_;   // known ancestors in 1..4 generations, 4 a row
  bool vindu_ = true;
  std::size_t bredde_ = 0;

  // The animals with grandoffspring, in order, for the mating pass.
  std::vector<int32_t> dypt_;     // animal of each entry
  std::vector<int32_t> dyptAv_;   // entry of each animal, or -1
  std::vector<int32_t> dFar_, dMor_;  // entries of the parents, or -1
  std::vector<double> dD_;
  mutable std::vector<double> t_;  // two sides per entry; all zero between passes
  struct TEgen {
    int32_t dyr;
    double w[2];
  };
  mutable std::vector<TEgen> egne_;  // animals without grandoffspring met in a pass
};
