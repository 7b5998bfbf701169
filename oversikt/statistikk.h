// Figures of the whole register for the charts and their tables: per year
// (Aar, the ram's year) and breed code, the number of rams and their mean
// O-indeks; the number of rams per year; the spread of O-indeks in a
// selection (a histogram). One pass over the register.
//
// A ram whose O-indeks is 0 (unknown) is left out of the means, and so is
// one whose O-indeks is 900 or more: that is the yellow mark ("gul"), not an
// index. Both are counted, so a chart can say how many it left out. Each
// judging number counts once (a number stored twice is the record
// FindByNumber gives).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "tabell.h"
#include "trase.h"
#include "verpost.h"

class TProdusent;

struct TAarRase {
  int aar = 0;
  int rase = 0;
  int64_t antall = 0;      // rams
  int64_t utenIndeks = 0;  // of them, O-indeks 0
  int64_t gule = 0;        // of them, O-indeks 900 or more
  int64_t sum = 0;         // O-indeks of the others
  int64_t MedIndeks() const { return antall - utenIndeks - gule; }
  // The mean O-indeks of the rams with an index, or nothing without them.
  std::optional<double> Snitt() const;
  bool operator==(const TAarRase&) const = default;
};

struct TStatistikk {
  std::vector<TAarRase> grupper;  // by year, then breed code; only groups with rams
};

// The breeds a chart shows: their codes; empty is every breed.
using TRasevalg = std::vector<int>;

TStatistikk LagStatistikk(std::span<const TVerPost> poster);

// The lines of the chart: for each breed of the choice that has rams (by
// code), the years with a mean and the mean.
struct TSnittLinje {
  int rase = 0;
  std::vector<std::pair<int, double>> punkter;  // year, mean O-indeks
};
std::vector<TSnittLinje> SnittLinjer(const TStatistikk& s, const TRasevalg& raser);
// The bars: the number of rams per year of the breeds chosen.
std::vector<std::pair<int, int64_t>> AntallPerAar(const TStatistikk& s, const TRasevalg& raser);
// What the choice leaves out of its means.
struct TUtenfor {
  int64_t utenIndeks = 0;
  int64_t gule = 0;
};
TUtenfor Utenfor(const TStatistikk& s, const TRasevalg& raser);
// "12 værer uten O-indeks og 3 gule værer er holdt utenfor." (empty when
// none; Windows-1252).
std::string UtenforTekst(const TUtenfor& u);

// The table of the means: "Fødselsår;Rase;Antall værer;Snitt O-indeks;",
// one row a year and breed of the choice, the mean with one decimal ("–"
// when no ram of the group has an index); the title says what is left out.
inline constexpr int StatistikkKolonner = 4;
void ListStatistikk(const TStatistikk& s, const TRasevalg& raser, const Trase& rasenavn, TTabellMottaker& tabell);
// The table of the bars: "Fødselsår;Antall værer;".
void ListAntallPerAar(const TStatistikk& s, const TRasevalg& raser, TTabellMottaker& tabell);

// The spread of O-indeks over rams handed to it one by one (the catalogue's
// selection, a list): bins `bredde` wide from a multiple of it (80–89, 90–99, …).
class THistogram {
 public:
  explicit THistogram(int bredde = 10);
  void Ta(const TVerPost& ver);
  struct TSoyle {
    int fra = 0;  // the lowest and highest O-indeks of the bin
    int til = 0;
    int64_t antall = 0;
    bool operator==(const TSoyle&) const = default;
  };
  // Every bin from the lowest to the highest taken, the empty ones between included.
  std::vector<TSoyle> Soyler() const;
  int Bredde() const { return bredde_; }
  int64_t Antall() const { return antall_; }  // rams in the bins
  const TUtenfor& Utenfor() const { return utenfor_; }

 private:
  int bredde_;
  std::map<int, int64_t> soyler_;  // bin (floor of O-indeks / bredde) -> rams
  int64_t antall_ = 0;
  TUtenfor utenfor_;
};
// The spread of O-indeks of the rams of these records (the catalogue's
// selection: record indexes, so that two rams stored under one number are
// two rams), each record once; an index outside the register is left out.
THistogram Histogram(const TProdusent& reg, std::span<const int32_t> poster, int bredde = 10);
// The table: "O-indeks;Antall værer;" with rows such as "80–89;12;".
void ListHistogram(const THistogram& h, TTabellMottaker& tabell);
