// The catalogue's selection pass over registers of 10 000 and 100 000
// synthetic rams, every ram taken: the text listing written to VerKat.txt,
// and the table with all 31 fields filled through the table's calling
// contract (the window's drawing aside).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "benchregister.h"
#include "eksempeldata.h"
#include "listing.h"
#include "register.h"
#include "tabell.h"
#include "trase.h"
#include "utvalg.h"

namespace fs = std::filesystem;

namespace {

// All counties, all breeds, all judged rams of every year.
TUtvalg Alle() {
  TUtvalg u = StartUtvalg(2025);
  u.fylker[0] = u.raser[0] = true;
  u.avkomgr = false;
  u.gkar = true;
  u.fra = 0;
  u.til = 9999;
  u.antall = 0;
  return u;
}

void BM_Tekstliste(benchmark::State& state) {
  TProdusent& reg = Register(state.range(0));
  const Trase raser;
  const TUtvalg u = Alle();
  int64_t antall = 0;
  for (auto _ : state) {
    TTekstKatalog ut(reg, raser, fs::temp_directory_path() / "hornstad-bench" / "VerKat.txt");
    Utplukk(reg, u, {}, [&](const TVerPost& p) { ut.Ta(p); });
    ut.Fullfor();
    antall = ut.Antall();
  }
  state.counters["vaerer"] = static_cast<double>(antall);
}

void BM_Tabell31(benchmark::State& state) {
  TProdusent& reg = Register(state.range(0));
  const TUtvalg u = Alle();
  TSkalMed alle;
  alle.fill(true);
  const std::string tittel = KatalogTittel(u, RaseValg(Trase()));
  int64_t antall = 0;
  for (auto _ : state) {
    TTabell t;
    TTabellKatalog ut(reg, t, alle, tittel);
    Utplukk(reg, u, {}, [&](const TVerPost& p) { ut.Ta(p); });
    ut.Fullfor();
    antall = ut.Antall();
    benchmark::DoNotOptimize(t.Hoved().Rader());
  }
  state.counters["vaerer"] = static_cast<double>(antall);
}

// The rows alone, without a table to hold them.
void BM_Tabellrader31(benchmark::State& state) {
  TProdusent& reg = Register(state.range(0));
  const TUtvalg u = Alle();
  TSkalMed alle;
  alle.fill(true);
  for (auto _ : state) {
    std::size_t bytes = 0;
    Utplukk(reg, u, {}, [&](const TVerPost& p) { bytes += TabellRad(p, reg, alle).size(); });
    benchmark::DoNotOptimize(bytes);
  }
}

}  // namespace

BENCHMARK(BM_Tekstliste)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Tabell31)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Tabellrader31)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
