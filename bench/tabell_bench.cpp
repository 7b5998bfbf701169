// Filling a table of 100 000 rows and laying out the table window for it.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "eksempeldata.h"
#include "tabell.h"
#include "tvindu.h"

namespace {

// Rows as the catalogue's table gives them: numbers, names and indexes.
const std::vector<std::string>& Rader() {
  static const std::vector<std::string> rader = [] {
    std::vector<std::string> r;
    for (const TVerPost& p : KonverterEksport(LagEksport(100000, 7))) {
      r.push_back(std::to_string(p.Nummer) + ";" + p.Navn.Verdi() + ";" + p.Fodebuskap.Verdi() + ";" +
                  std::to_string(p.OIndeks) + ";" + std::to_string(p.KIndeks) + ";" + std::to_string(p.Aar) + ";");
    }
    return r;
  }();
  return rader;
}

void BM_NyRad(benchmark::State& state) {
  const auto& rader = Rader();
  for (auto _ : state) {
    TTabell t;
    t.Oppsett(6, 12, 0, 1, 1, "Test", Rod, Blaa);
    t.SettSkrift(10);
    t.NyRad("Nr;Navn;Buskap;O;K;Aar;");
    for (const auto& r : rader) t.NyRad(r);
    benchmark::DoNotOptimize(t.NesteRad);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * rader.size()));
}
BENCHMARK(BM_NyRad)->Unit(benchmark::kMillisecond);

// The window filled through its calling contract and shown (its first layout).
void BM_TabellvinduVist(benchmark::State& state) {
  const auto& rader = Rader();
  for (auto _ : state) {
    auto* v = new TVindu;
    v->Oppsett(nullptr, 6, 12, 0, 1, 1, "Test", Rod, Blaa);
    v->NyRad("Nr;Navn;Buskap;O;K;Aar;");
    for (const auto& r : rader) v->NyRad(r);
    v->NyBunnRad(";;;;;");
    v->Vis();
    QApplication::processEvents();
    state.PauseTiming();
    delete v;
    state.ResumeTiming();
  }
}
BENCHMARK(BM_TabellvinduVist)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
