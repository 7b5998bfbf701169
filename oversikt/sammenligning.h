// Rams side by side: 2 to 6 rams, one column a ram, one row a figure, each
// cell the ram's figure and its percentile among the rams of the same breed
// code (Rase) and year (Aar), written "121 (92 %)".
//
// Percentile: 100 × (rams below + half the rams equal, the ram itself
// included) / rams in the group, rounded half away from zero. Figures are
// compared as they are shown (rounded to the row's decimals), so rams that
// show the same figure have the same percentile. A figure that shows as 0 is
// unknown: the ram counts in no group for it and shows "–". An index of 900
// or more is a mark ("gul"), not a value: it shows "gul" and counts in no
// group either. The group is the rams of the register, each judging number
// once (a number stored twice is the record FindByNumber gives).
//
// The figures, in this order: the eight indexes; the judging scores Kropp,
// Bein, Ullkvalitet, Ullmengde and their point sum (unknown when Bein is 0,
// as the lookup window shows it); O-ætt /O kåring, Vekt avv/p, Høstvekt; the
// wool figures Ullvekt, Fiberdiameter, Maks my, Stapel, Marg %, Dyrehår; the
// offspring counts; and, when the coefficients are given, the ram's own
// inbreeding in percent (a coefficient of 0 is a value here, not unknown: no
// shared ancestry is known).
//
// One pass over the register's records for any number of rams.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "innavl.h"
#include "register.h"
#include "tabell.h"
#include "trase.h"
#include "verpost.h"

inline constexpr std::size_t MinsteSammenligning = 2;
inline constexpr std::size_t StorsteSammenligning = 6;

struct TFigur {
  std::string navn;  // the row title (Windows-1252), as the lookup window names it
  int desimaler = 0;
};
// The figures without inbreeding; the first AntallIndeksfigurer are the
// eight indexes.
inline constexpr int AntallIndeksfigurer = 8;
const std::vector<TFigur>& Sammenligningsfigurer();
// The inbreeding row's figure ("Innavl %", two decimals).
const TFigur& Innavlsfigur();

struct TSammenligningsCelle {
  enum class Slag { Ukjent, Gul, Verdi };
  Slag slag = Slag::Ukjent;
  int64_t noekkel = 0;  // the figure as shown, times 10 to the power of its decimals
  int persentil = 0;    // 0 to 100 (a value only)
  int64_t gruppe = 0;   // rams of the group with a known figure
  double snitt = 0;     // their mean (0 when there are none)
  double Verdi(const TFigur& f) const;
};

struct TSammenligning {
  std::vector<TVerPost> verer;                            // the columns
  std::vector<TFigur> figurer;                            // the rows
  std::vector<std::vector<TSammenligningsCelle>> celler;  // [figure][ram]
  // "121 (92 %)", "–" or "gul" (Windows-1252).
  std::string Tekst(std::size_t figur, std::size_t ver) const;
};

// The percentile of a ram with `under` rams below it and `like` equal to it
// (itself included) in a group of `antall`.
int Persentil(int64_t under, int64_t like, int64_t antall);

// The rams `verer` (records of the register whose records are `poster`)
// compared; `innavl`, when given, computed from the same register, adds the
// inbreeding row.
TSammenligning Sammenlign(std::span<const TVerPost> poster, const std::vector<TVerPost>& verer,
                          const TInnavl* innavl = nullptr);
// The rams with those judging numbers, looked up in the register; the
// numbers not found go to `ukjente` and are left out.
TSammenligning Sammenlign(TProdusent& reg, const std::vector<int32_t>& nummer, std::vector<int32_t>& ukjente,
                          const TInnavl* innavl = nullptr);

// The judging numbers of every ram in the groups (breed and birth year) of
// the rams with these numbers: the rams among which the inbreeding row ranks
// them, whose coefficients it needs (TAvlsdata::InnavlFor).
std::vector<int32_t> Gruppemedlemmer(const TProdusent& reg, const std::vector<int32_t>& nummer);

// The bar chart of the comparison: for each of the eight indexes, each
// ram's value and its group's mean (none for an unknown or yellow index, and
// for a group without a known index).
struct TIndeksstolper {
  std::string figur;                         // "O-indeks", …
  std::vector<std::optional<double>> verdi;  // a ram each, in the columns' order
  std::vector<std::optional<double>> snitt;
};
std::vector<TIndeksstolper> Indeksstolper(const TSammenligning& s);

// Why these numbers cannot be compared (fewer than 2 or more than 6), or an
// empty text (Windows-1252).
std::string SammenligningFeil(std::size_t antall);

// "Sammenligning av 3 værer (persentil blant værer av samme rase og år)".
std::string SammenligningTittel(const TSammenligning& s);
// The table window's caption, naming the rams: "Sammenligning av 2000, 3000 og 5000".
std::string SammenligningNavn(const TSammenligning& s);
// The table: a header row "Figur;" and each ram's number and name; then the
// rows "Rase" and "År" and one row a figure; a footer row of empty cells.
void ListSammenligning(const TSammenligning& s, const Trase& raser, TTabellMottaker& tabell);
