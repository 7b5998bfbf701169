// Converting synthetic ram exports of 10 000 to 1 000 000 rams into Verene.Dat.
// The exports are made once and kept in $TMPDIR/hornstad-bench.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "eksempeldata.h"
#include "filer.h"
#include "ramimport.h"

namespace fs = std::filesystem;

namespace {

fs::path Eksportfil(int64_t antall) {
  const fs::path mappe = fs::temp_directory_path() / "hornstad-bench" / ("eksport-" + std::to_string(antall));
  const fs::path fil = mappe / "Vedder2.Tex";
  if (!fs::exists(fil)) {
    fs::create_directories(mappe);
    SkrivTrygt(fil, LagEksport(antall, 2026));
  }
  return fil;
}

void BM_KonverterEksportfil(benchmark::State& state) {
  const fs::path eksport = Eksportfil(state.range(0));
  const fs::path verfil = eksport.parent_path() / "Verene.Dat";
  for (auto _ : state) benchmark::DoNotOptimize(KonverterEksportfil(eksport, verfil));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * fs::file_size(eksport)));
}
BENCHMARK(BM_KonverterEksportfil)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The line conversion alone, on an export held in memory.
void BM_KonverterLinjer(benchmark::State& state) {
  const std::string eksport = LesHeleFila(Eksportfil(state.range(0)));
  for (auto _ : state) {
    int64_t antall = 0;
    KonverterLinjer(eksport, [&](const TVerPost&) { ++antall; });
    benchmark::DoNotOptimize(antall);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * eksport.size()));
}
BENCHMARK(BM_KonverterLinjer)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
