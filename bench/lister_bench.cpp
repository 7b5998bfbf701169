// Lists, comparison and chart figures over generated registers of 100 000
// and 1 000 000 rams, read from the register's mapping of Verene.Dat: the
// figures per year and breed (one pass), six rams side by side with their
// percentiles (one pass), the same with the inbreeding row (the coefficients
// computed beforehand, as the program keeps them), the change report for 500
// listed rams between two registers, the O-indeks histogram of the whole
// register, and a list of 500 rams as table rows.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "benchregister.h"
#include "endringer.h"
#include "innavl.h"
#include "lister.h"
#include "sammenligning.h"
#include "stamtavle.h"
#include "statistikk.h"
#include "tabell.h"

namespace {

// Six rams spread over the register (different years and breeds).
std::vector<int32_t> SeksVerer(TProdusent& reg) {
  std::vector<int32_t> n;
  const int32_t antall = reg.RecordCount();
  for (int k = 1; k <= 6; ++k) n.push_back(reg.RamNumbers()[static_cast<std::size_t>(antall / 7 * k)]);
  return n;
}

// 500 rams spread over the register, on two lists.
TLister Lister(TProdusent& reg) {
  TLister l;
  std::vector<int32_t> a, b;
  const int32_t antall = reg.RecordCount();
  for (int k = 0; k < 500; ++k) (k % 2 ? a : b).push_back(reg.RamNumbers()[static_cast<std::size_t>(antall / 500 * k)]);
  l.LeggTil("Mine", a);
  l.LeggTil("Reserve", b);
  return l;
}

void Statistikk(benchmark::State& state) {
  TProdusent& reg = Register(state.range(0));
  for (auto _ : state) {
    TStatistikk s = LagStatistikk(reg.Poster());
    benchmark::DoNotOptimize(s.grupper.data());
  }
  state.counters["grupper"] = static_cast<double>(LagStatistikk(reg.Poster()).grupper.size());
}
BENCHMARK(Statistikk)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void SammenlignSeks(benchmark::State& state) {
  TProdusent& reg = Register(state.range(0));
  const std::vector<int32_t> nummer = SeksVerer(reg);
  for (auto _ : state) {
    std::vector<int32_t> ukjente;
    TSammenligning s = Sammenlign(reg, nummer, ukjente);
    benchmark::DoNotOptimize(s.celler.data());
  }
  std::vector<int32_t> ukjente;
  const TSammenligning s = Sammenlign(reg, nummer, ukjente);
  state.counters["gruppe"] = static_cast<double>(s.celler[0][0].gruppe);
}
BENCHMARK(SammenlignSeks)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void SammenlignSeksMedInnavl(benchmark::State& state) {
  TProdusent& reg = Register(state.range(0));
  const std::vector<int32_t> nummer = SeksVerer(reg);
  const TRegisterKilde kilde(reg);
  const TStamtavle tavle(kilde);
  const TInnavl innavl(tavle);
  for (auto _ : state) {
    std::vector<int32_t> ukjente;
    TSammenligning s = Sammenlign(reg, nummer, ukjente, &innavl);
    benchmark::DoNotOptimize(s.celler.data());
  }
}
BENCHMARK(SammenlignSeksMedInnavl)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void Endringsrapport(benchmark::State& state) {
  TProdusent& reg = Register(state.range(0));
  const TLister lister = Lister(reg);
  // The new register: the same rams with every tenth O-indeks changed.
  std::vector<TVerPost> ny(reg.Poster().begin(), reg.Poster().end());
  for (std::size_t i = 0; i < ny.size(); i += 10) ny[i].OIndeks = static_cast<int16_t>(ny[i].OIndeks + 1);
  for (auto _ : state) {
    TEndringsrapport r = SammenlignRegistre(reg.Poster(), ny, lister, 46000);
    benchmark::DoNotOptimize(r.endringer.data());
  }
  state.counters["rader"] = static_cast<double>(SammenlignRegistre(reg.Poster(), ny, lister, 46000).endringer.size());
}
BENCHMARK(Endringsrapport)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void Histogram(benchmark::State& state) {
  TProdusent& reg = Register(state.range(0));
  for (auto _ : state) {
    THistogram h;
    for (const TVerPost& p : reg.Poster()) h.Ta(p);
    benchmark::DoNotOptimize(h.Antall());
  }
}
BENCHMARK(Histogram)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void ListeTabell(benchmark::State& state) {
  TProdusent& reg = Register(state.range(0));
  const TLister lister = Lister(reg);
  TSkalMed felt{};
  for (int i : {0, 1, 2, 3, 4, 17, 18}) felt[static_cast<std::size_t>(i)] = true;
  for (auto _ : state) {
    TTabell t;
    ListListe(lister.Alle()[0], reg, felt, nullptr, t);
    benchmark::DoNotOptimize(t.NesteRad);
  }
}
BENCHMARK(ListeTabell)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
