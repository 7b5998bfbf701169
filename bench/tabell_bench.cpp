// Filling a table of 100 000 rows and laying out the table window for it;
// and a table of 100 000 and 1 000 000 rows filled a row at a time (NyRad)
// beside one whose rows are made when read (NyeRader): filling, sorting by
// name and writing the semicolon export, with the memory the filled table
// holds (MB_holdt, from malloc's own count).
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QApplication>
#include <filesystem>

#include "eksempeldata.h"
#include "eksport.h"
#include "sortering.h"
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

// Row texts as the inbreeding table's: number, name, percentage, count.
std::string Radtekst(int i) {
  static const char* navn[] = {"Rambo", "Bj\xF8rn Lang Navn Her", "Ulv", "Svartrud", "Lyngheim Av Nordre"};
  return std::to_string(1900000 + i * 7) + ";" + navn[i % 5] + ";" + std::to_string(i % 13) + "," +
         std::to_string(i % 100) + ";" + std::to_string(i % 63) + ";";
}

void Fyll(TTabell& t, int antall, bool kilde) {
  t.Oppsett(4, 12, 0, 1, 1, "Test", Rod, Blaa);
  t.NyRad("Nr;Navn;Innavl;Kjente;");
  if (kilde)
    t.NyeRader(antall, [](int i, std::string& rad) { rad = Radtekst(i); });
  else
    for (int i = 0; i < antall; ++i) t.NyRad(Radtekst(i));
  t.NyBunnRad(";;;;");
}

std::size_t Holdt() { return mallinfo2().uordblks; }

void Tabellgang(benchmark::State& state, bool kilde) {
  const int antall = static_cast<int>(state.range(0));
  const std::string ut = (std::filesystem::temp_directory_path() / "hornstad-tabell-bench.txt").string();
  double holdt = 0;
  for (auto _ : state) {
    const std::size_t for_ = Holdt();
    TTabell t;
    Fyll(t, antall, kilde);
    holdt = static_cast<double>(Holdt() - for_) / 1e6;
    t.Hoved().SettGjeldende(1, 1);
    Sorter(t.Hoved(), false);
    t.MerkAlt();
    SkrivEksportLinjer(ut, t, TEksportType::Semikolon);
  }
  state.counters["MB_holdt"] = holdt;
}

void BM_RadForRad(benchmark::State& state) { Tabellgang(state, false); }
void BM_RaderFraKilde(benchmark::State& state) { Tabellgang(state, true); }
BENCHMARK(BM_RadForRad)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RaderFraKilde)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
