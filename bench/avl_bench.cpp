// Relationship and inbreeding over generated registers of 100 000 and
// 1 000 000 rams (deep pedigrees that share popular sires): the pedigree and
// every animal's coefficient, from the register (one ReadAt a record) and from
// records already in memory; one planned mating with its shared ancestors; a
// mating plan of 300 ewes and 1 000 rams; and what `hornstad-cli innavl` will
// do (load the register, compute, fill the table, lay it out, export it as
// semicolon text to a file), beside Python merely splitting the export
// Vedder2.Tex of the same rams into lines and fields.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QGuiApplication>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <vector>

#include "benchregister.h"
#include "eksport.h"
#include "filer.h"
#include "innavl.h"
#include "slektskap.h"
#include "stamtavle.h"
#include "tabell.h"

namespace fs = std::filesystem;

namespace {

const std::vector<TVerPost>& Poster(int64_t antall) {
  static std::vector<TVerPost> poster;
  static int64_t gjeldende = -1;
  if (gjeldende != antall) {
    TProdusent& reg = Register(antall);
    poster.clear();
    poster.reserve(static_cast<std::size_t>(reg.RecordCount()));
    for (int32_t i = 0; i < reg.RecordCount(); ++i) poster.push_back(reg.ReadAt(i));
    gjeldende = antall;
  }
  return poster;
}

// The pedigree and coefficients of one register, kept between benchmarks.
struct TBeregnet {
  std::vector<TVerPost> poster;
  std::unique_ptr<TStamtavle> stamtavle;
  std::unique_ptr<TInnavl> innavl;
  std::vector<int32_t> nyeVerer;  // the last 5 000 rams by number
};

TBeregnet& Beregnet(int64_t antall) {
  static std::unique_ptr<TBeregnet> b;
  static int64_t gjeldende = -1;
  if (gjeldende != antall) {
    b = std::make_unique<TBeregnet>();
    b->poster = Poster(antall);
    b->stamtavle = std::make_unique<TStamtavle>(b->poster);
    b->innavl = std::make_unique<TInnavl>(*b->stamtavle);
    std::vector<int32_t> alle;
    for (const TVerPost& p : Poster(antall)) alle.push_back(p.Nummer);
    std::sort(alle.begin(), alle.end());
    alle.erase(std::unique(alle.begin(), alle.end()), alle.end());
    b->nyeVerer.assign(alle.end() - std::min<std::ptrdiff_t>(5000, static_cast<std::ptrdiff_t>(alle.size())),
                       alle.end());
    gjeldende = antall;
  }
  return *b;
}

void Tellere(benchmark::State& state, const TStamtavle& s, const TInnavl& in) {
  state.counters["dyr"] = static_cast<double>(s.Antall());
  const TVindusTall& v = in.Vindustall();
  state.counters["rader_trengs"] = static_cast<double>(v.bredde);
  state.counters["rader"] = static_cast<double>(v.rader);
  state.counters["gjenskapt"] = static_cast<double>(v.gjenskapt);
  state.counters["utsatt"] = static_cast<double>(v.utsatt);
  state.counters["kolonner"] = static_cast<double>(v.kolonner);
}

// From the register: every record from its mapping.
void BM_StamtavleOgInnavlFraRegisteret(benchmark::State& state) {
  TProdusent& reg = Register(state.range(0));
  for (auto _ : state) {
    const TStamtavle s(reg.Poster());
    const TInnavl in(s);
    benchmark::DoNotOptimize(in.F(s.Antall() - 1));
    state.PauseTiming();
    Tellere(state, s, in);
    state.ResumeTiming();
  }
}

// The records already in memory: the pedigree and the coefficients alone.
void BM_StamtavleOgInnavlFraMinnet(benchmark::State& state) {
  const std::vector<TVerPost> poster = Poster(state.range(0));
  for (auto _ : state) {
    const TStamtavle s(poster);
    const TInnavl in(s);
    benchmark::DoNotOptimize(in.F(s.Antall() - 1));
    state.PauseTiming();
    Tellere(state, s, in);
    state.ResumeTiming();
  }
}

// Reading every record from the register, nothing else.
void BM_LesAllePoster(benchmark::State& state) {
  TProdusent& reg = Register(state.range(0));
  for (auto _ : state) {
    int64_t sum = 0;
    for (const TVerPost& p : reg.Poster()) sum += p.Farnr;
    benchmark::DoNotOptimize(sum);
  }
}

// One planned mating: a recent ram on a ewe by a recent sire out of a dam by
// another, with the 20 largest shares, the completeness and the ram's own figure.
void BM_Paring(benchmark::State& state) {
  TBeregnet& b = Beregnet(state.range(0));
  std::mt19937 r(11);
  struct TValg {
    int32_t ver, far, morfar;
  };
  std::vector<TValg> valg;
  for (int i = 0; i < 1000; ++i) {
    const auto ny = [&] { return b.nyeVerer[r() % b.nyeVerer.size()]; };
    valg.push_back({ny(), ny(), ny()});
  }
  std::size_t i = 0, aner = 0;
  double lam = 0, eldre = 0, ledd = 0;
  for (auto _ : state) {
    const TValg& v = valg[i++ % valg.size()];
    const TParing p = b.innavl->Paring(v.ver, v.far, v.morfar);
    aner += p.aner.size() + static_cast<std::size_t>(p.restAntall);
    lam += p.lam;
    eldre += p.eldreAndel;
    ledd += p.ledd;
    benchmark::DoNotOptimize(p.lam);
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["felles_aner"] = static_cast<double>(aner) / n;
  // The part of the figures that lies beyond the paths followed, and the generations followed.
  state.counters["eldre_del"] = lam > 0 ? eldre / lam : 0.0;
  state.counters["ledd"] = ledd / n;
}

// 300 ewes (by recent sires out of dams by recent rams) against 1 000 recent rams.
void BM_Paringsplan(benchmark::State& state) {
  TBeregnet& b = Beregnet(state.range(0));
  std::mt19937 r(12);
  const auto ny = [&] { return b.nyeVerer[r() % b.nyeVerer.size()]; };
  std::vector<TSoye> soyer;
  for (int i = 0; i < 300; ++i) soyer.push_back({std::to_string(i + 1), ny(), ny()});
  std::vector<int32_t> verer;
  while (verer.size() < 1000) {
    const int32_t v = ny();
    if (std::find(verer.begin(), verer.end(), v) == verer.end()) verer.push_back(v);
  }
  for (auto _ : state) {
    const TParingsplan plan = LagParingsplan(*b.innavl, soyer, verer);
    benchmark::DoNotOptimize(plan.snitt.data());
  }
}

// The catalogue's "Innavl %" for every ram, with 300 ewes.
void BM_InnavlSnitt(benchmark::State& state) {
  TBeregnet& b = Beregnet(state.range(0));
  std::mt19937 r(13);
  const auto ny = [&] { return b.nyeVerer[r() % b.nyeVerer.size()]; };
  std::vector<TSoye> soyer;
  for (int i = 0; i < 300; ++i) soyer.push_back({std::to_string(i + 1), ny(), ny()});
  for (auto _ : state) {
    const TInnavlSnitt snitt(*b.innavl, soyer);
    benchmark::DoNotOptimize(snitt.Andel(b.nyeVerer[0]));
  }
}

// What `hornstad-cli innavl --ut FIL` will do after its start: load the
// register, read the records for the pedigree and again for the rows, fill
// the table, lay it out and write the semicolon export.
void BM_InnavlKommando(benchmark::State& state) {
  const fs::path mappe = Registermappe(state.range(0));
  const fs::path ut = mappe / "innavl.txt";
  for (auto _ : state) {
    TProdusent reg(mappe);
    reg.LoadRegister();
    const TStamtavle s(reg.Poster());
    const TInnavl in(s);
    TTabell t;
    ListInnavl(in, reg.Poster(), t);
    t.ForsteLayout();
    t.MerkAlt();
    SkrivEksportLinjer(ut, t, TEksportType::Semikolon);
  }
}

// The same with the records in a vector instead of the register's mapping:
// the two passes over the records cost next to nothing either way.
void BM_InnavlKommandoPosterIMinnet(benchmark::State& state) {
  const fs::path mappe = Registermappe(state.range(0));
  const fs::path ut = mappe / "innavl.txt";
  const std::vector<TVerPost> poster = Poster(state.range(0));
  for (auto _ : state) {
    TProdusent reg(mappe);
    reg.LoadRegister();
    const TStamtavle s(poster);
    const TInnavl in(s);
    TTabell t;
    ListInnavl(in, poster, t);
    t.ForsteLayout();
    t.MerkAlt();
    SkrivEksportLinjer(ut, t, TEksportType::Semikolon);
  }
}

// The yardstick: Python splitting Vedder2.Tex of the same rams into lines and
// fields (the interpreter's start included, as a command's would be).
void BM_PythonDelerEksporten(benchmark::State& state) {
  const fs::path mappe = Registermappe(state.range(0));
  if (!fs::exists(mappe / "Vedder2.Tex")) SkrivTrygt(mappe / "Vedder2.Tex", LagEksport(state.range(0), 2026));
  const std::string kommando =
      "cd '" + mappe.string() +
      "' && python3 -c \"d=open('Vedder2.Tex','rb').read(); print(sum(1 for l in d.split(b'\\r\\n') if "
      "l.split(b';')[0]))\" >/dev/null";
  const auto barnetid = [] {
    rusage r{};
    getrusage(RUSAGE_CHILDREN, &r);
    return static_cast<double>(r.ru_utime.tv_sec + r.ru_stime.tv_sec) +
           static_cast<double>(r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e6;
  };
  const double for_ = barnetid();
  for (auto _ : state) {
    if (std::system(kommando.c_str()) != 0) state.SkipWithError("python3 feilet");
  }
  // The interpreter's own processor time, for comparing with the CPU column above.
  state.counters["python_cpu_ms"] = (barnetid() - for_) * 1000.0 / static_cast<double>(state.iterations());
}

}  // namespace

BENCHMARK(BM_StamtavleOgInnavlFraRegisteret)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StamtavleOgInnavlFraMinnet)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LesAllePoster)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Paring)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Paringsplan)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InnavlSnitt)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
// Side by side: run them in one call (--benchmark_filter='Kommando|Python').
BENCHMARK(BM_InnavlKommando)->Arg(100000)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_InnavlKommandoPosterIMinnet)->Arg(100000)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_PythonDelerEksporten)->Arg(100000)->Unit(benchmark::kMillisecond)->Repetitions(5);

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
