// Sorting a table of synthetic rams (number, name, birth date, birth place)
// by name: the exchange pass on 10 000 rows and the stable sort on 100 000
// rows and more, and the key computation alone.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

#include "dato.h"
#include "eksempeldata.h"
#include "rutenett.h"
#include "sortering.h"
#include "tekst.h"

namespace {

// A table with one header row and one row per ram, cached per size.
const TRutenett& Tabell(int64_t antall) {
  static std::map<int64_t, TRutenett> tabeller;
  auto it = tabeller.find(antall);
  if (it != tabeller.end()) return it->second;
  const std::vector<TVerPost> poster = KonverterEksport(LagEksport(antall, 2026));
  TRutenett g(4, static_cast<int>(poster.size()) + 1);
  g.SettFaste(0, 1);
  g.SettCelle(0, 0, "V\xE6rnr");
  g.SettCelle(1, 0, "Navn");
  g.SettCelle(2, 0, "Indeksdato");
  g.SettCelle(3, 0,
              "F\xF8"
              "dested");
  for (std::size_t i = 0; i < poster.size(); ++i) {
    const int r = static_cast<int>(i) + 1;
    g.SettCelle(0, r, IntToText(poster[i].Nummer));
    g.SettCelle(1, r, poster[i].Navn.Verdi());
    g.SettCelle(2, r, DateToText(poster[i].IndeksDato));
    g.SettCelle(3, r, poster[i].Fodested.Verdi());
  }
  return tabeller.emplace(antall, std::move(g)).first->second;
}

void Kjor(benchmark::State& state, int kol, std::size_t grense) {
  const TRutenett& original = Tabell(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    TRutenett g = original;
    g.SettGjeldende(kol, 1);
    state.ResumeTiming();
    Sorter(g, false, {}, grense);
    benchmark::DoNotOptimize(g.Celle(kol, 1));
  }
  state.counters["rader"] = static_cast<double>(original.Rader() - 1);
}

void BM_Byttepass_Navn(benchmark::State& state) { Kjor(state, 1, Byttegrense); }
void BM_Stabil_Navn(benchmark::State& state) { Kjor(state, 1, Byttegrense); }
void BM_Stabil_Dato(benchmark::State& state) { Kjor(state, 2, Byttegrense); }

void BM_Nokler(benchmark::State& state) {
  const TRutenett& g = Tabell(state.range(0));
  for (auto _ : state) {
    long double sum = 0;
    for (int r = 1; r < g.Rader(); ++r) sum += Sorteringsverdi(g.Celle(1, r));
    benchmark::DoNotOptimize(sum);
  }
}

}  // namespace

BENCHMARK(BM_Byttepass_Navn)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Stabil_Navn)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Stabil_Dato)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Nokler)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
