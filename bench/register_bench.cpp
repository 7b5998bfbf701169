// Loading and searching registers of 1 000 to 1 000 000 synthetic rams.
// The registers are made once and kept in $TMPDIR/hornstad-bench.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <memory>

#include "benchregister.h"
#include "eksempeldata.h"
#include "register.h"
#include "tekst.h"

namespace fs = std::filesystem;

namespace {

void Storrelser(benchmark::internal::Benchmark* b) {
  for (int64_t n : {1000, 10000, 100000, 1000000}) b->Arg(n);
}

// Reading the file's bytes: what loading is measured against.
void BM_LesFila(benchmark::State& state) {
  const fs::path fil = Registermappe(state.range(0)) / VerFilNavn;
  std::vector<char> buf(fs::file_size(fil));
  for (auto _ : state) {
    const int fd = ::open(fil.c_str(), O_RDONLY);
    std::size_t lest = 0;
    while (lest < buf.size()) {
      const ssize_t n = ::read(fd, buf.data() + lest, buf.size() - lest);
      if (n <= 0) break;
      lest += static_cast<std::size_t>(n);
    }
    ::close(fd);
    benchmark::DoNotOptimize(buf.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * buf.size()));
}
BENCHMARK(BM_LesFila)->Apply(Storrelser)->Unit(benchmark::kMillisecond);

void BM_LoadRegister(benchmark::State& state) {
  const fs::path mappe = Registermappe(state.range(0));
  const auto bytes = fs::file_size(mappe / VerFilNavn);
  for (auto _ : state) {
    TProdusent reg(mappe);
    reg.LoadRegister();
    benchmark::DoNotOptimize(reg.RamNumbers().data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_LoadRegister)->Apply(Storrelser)->Unit(benchmark::kMillisecond);

void BM_FindByNumberTreff(benchmark::State& state) {
  TProdusent& reg = Register(state.range(0));
  std::vector<int32_t> nummer;
  for (std::size_t i = 0; i < 4096; ++i)
    nummer.push_back(reg.RamNumbers()[(i * 2654435761u) % reg.RamNumbers().size()]);
  std::size_t i = 0;
  for (auto _ : state) {
    const TVerPost p = reg.FindByNumber(nummer[i++ & 4095]);
    benchmark::DoNotOptimize(p.Nummer);
  }
}
BENCHMARK(BM_FindByNumberTreff)->Apply(Storrelser);

void BM_FindByNumberBom(benchmark::State& state) {
  TProdusent& reg = Register(state.range(0));
  int32_t nr = 1;
  for (auto _ : state) {
    const TVerPost p = reg.FindByNumber(nr);  // generated numbers start at 1 900 000
    nr = nr % 1000000 + 1;
    benchmark::DoNotOptimize(p.Nummer);
  }
}
BENCHMARK(BM_FindByNumberBom)->Apply(Storrelser);

void BM_LocateNumber(benchmark::State& state) {
  TProdusent& reg = Register(state.range(0));
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(reg.LocateNumber(reg.RamNumbers()[(i++ * 2654435761u) % reg.RamNumbers().size()]));
  }
}
BENCHMARK(BM_LocateNumber)->Apply(Storrelser);

// A common part of a name (many hits) and one that no name holds.
void BM_FindByName(benchmark::State& state, const char* soek) {
  TProdusent& reg = Register(state.range(0));
  std::size_t treff = 0;
  for (auto _ : state) {
    std::vector<TTekstElement> liste;
    treff = static_cast<std::size_t>(reg.FindByName(soek, liste));
    benchmark::DoNotOptimize(liste.data());
  }
  state.counters["treff"] = static_cast<double>(treff);
}
BENCHMARK_CAPTURE(BM_FindByName, vanlig, "kvitbj")->Apply(Storrelser)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FindByName, ingen, "xyzzy")->Apply(Storrelser)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
