// The mating suggestion over generated registers: the allocation alone (the
// minimum-cost flow) for 300 ewes × 40 rams and 2 000 ewes × 500 rams, with
// the lambs' real figures from a register of 100 000 rams; and the whole
// suggestion for 2 000 ewes × 200 rams on a register of 1 000 000 rams (the
// figures of those rams and the ewes' sires and dams' sires, the solve and
// the table), the register loaded before, and the same once the register's
// pedigree is built.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

#include "benchregister.h"
#include "paringsforslag.h"
#include "slektskap.h"
#include "tabell.h"

namespace {

// The last 5 000 rams by number: the recent ones, close kin of each other.
std::vector<int32_t> NyeVerer(const TProdusent& reg) {
  std::vector<int32_t> alle;
  for (int32_t i = 0; i < reg.RecordCount(); ++i) alle.push_back(reg.ReadAt(i).Nummer);
  std::sort(alle.begin(), alle.end());
  alle.erase(std::unique(alle.begin(), alle.end()), alle.end());
  return {alle.end() - std::min<std::ptrdiff_t>(5000, static_cast<std::ptrdiff_t>(alle.size())), alle.end()};
}

// Ewes by recent sires out of dams by recent rams, and recent rams each able
// to serve `kapasitet` ewes, or (0) a fifth more than their share of them:
// the tightest case, where every ewe may need any ram.
struct TFlokk {
  std::vector<TSoye> soyer;
  TParingsvalg valg;
};
TFlokk Flokk(const std::vector<int32_t>& nye, int antallSoyer, int antallVerer, int kapasitet, unsigned fro) {
  std::mt19937 r(fro);
  const auto ny = [&] { return nye[r() % nye.size()]; };
  TFlokk f;
  for (int i = 0; i < antallSoyer; ++i) f.soyer.push_back({std::to_string(i + 1), ny(), ny()});
  if (kapasitet == 0) kapasitet = std::max(1, antallSoyer * 6 / 5 / antallVerer);
  std::vector<int32_t> verer;
  while (static_cast<int>(verer.size()) < antallVerer) {
    const int32_t v = ny();
    if (std::find(verer.begin(), verer.end(), v) == verer.end()) verer.push_back(v);
  }
  for (int32_t v : verer) f.valg.verer.push_back({v, kapasitet});
  return f;
}

// The allocation alone: args ewes, rams, capacity.
void BM_Tildel(benchmark::State& state) {
  TProdusent& reg = Register(100000);
  TAvlsdata avl;
  avl.Bruk(reg);
  const TFlokk f = Flokk(NyeVerer(reg), static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                         static_cast<int>(state.range(2)), 21);
  const TParingsforslag forslag = LagParingsforslag(avl, f.soyer, f.valg);
  const TTildelingsoppgave oppgave = forslag.Oppgave();
  std::size_t tillatt = 0;
  for (char t : oppgave.tillatt) tillatt += t != 0;
  int betjent = 0;
  for (auto _ : state) {
    const std::vector<int> ver = Tildel(oppgave);
    betjent = static_cast<int>(std::count_if(ver.begin(), ver.end(), [](int v) { return v >= 0; }));
    benchmark::DoNotOptimize(ver.data());
  }
  state.counters["tillatte_par"] = static_cast<double>(tillatt);
  state.counters["betjent"] = betjent;
}

// The whole suggestion: args register size, ewes, rams (capacity 40).
void BM_HeleForslaget(benchmark::State& state) {
  TProdusent& reg = Register(state.range(0));
  const TFlokk f =
      Flokk(NyeVerer(reg), static_cast<int>(state.range(1)), static_cast<int>(state.range(2)), StandardKapasitet, 22);
  TAvlsdata avl;
  int betjent = 0;
  for (auto _ : state) {
    avl.Bruk(reg);  // drops the figures of the run before
    auto forslag = std::make_shared<TParingsforslag>(LagParingsforslag(avl, f.soyer, f.valg));
    forslag->Los();
    TTabell t;
    ListParingsforslag(forslag, t);
    betjent = forslag->Sammendrag().betjent;
    benchmark::DoNotOptimize(t.NesteRad);
  }
  state.counters["betjent"] = betjent;
}

// The same with the register's pedigree built already (as in a running
// program after the first figures): the rest of the work.
void BM_ForslagMedStamtavle(benchmark::State& state) {
  TProdusent& reg = Register(state.range(0));
  const TFlokk f =
      Flokk(NyeVerer(reg), static_cast<int>(state.range(1)), static_cast<int>(state.range(2)), StandardKapasitet, 22);
  TAvlsdata avl;
  avl.Bruk(reg);
  avl.Stamtavle();
  int betjent = 0;
  for (auto _ : state) {
    auto forslag = std::make_shared<TParingsforslag>(LagParingsforslag(avl, f.soyer, f.valg));
    forslag->Los();
    TTabell t;
    ListParingsforslag(forslag, t);
    betjent = forslag->Sammendrag().betjent;
    benchmark::DoNotOptimize(t.NesteRad);
  }
  state.counters["betjent"] = betjent;
}

}  // namespace

BENCHMARK(BM_Tildel)
    ->Args({300, 40, 0})
    ->Args({300, 40, StandardKapasitet})
    ->Args({2000, 500, 0})
    ->Args({2000, 500, StandardKapasitet})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ForslagMedStamtavle)->Args({1000000, 2000, 200})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HeleForslaget)->Args({1000000, 2000, 200})->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
