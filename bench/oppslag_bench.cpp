// The lookup window's name search over registers of 10 000 to 1 000 000
// synthetic rams, as the user meets it: from the search to a filled list.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <filesystem>
#include <map>
#include <memory>

#include "benchregister.h"
#include "eksempeldata.h"
#include "okt.h"
#include "register.h"
#include "tformver.h"
#include "tintedit.h"
#include "trase.h"

namespace fs = std::filesystem;

namespace {

// One search from the window: the name typed, Enter, the candidate list filled.
void BM_Navnesok(benchmark::State& state, const char* navn) {
  Register(state.range(0));  // makes the register the first time
  TOkt okt(Registermappe(state.range(0)));
  okt.LastRegister();
  TFormVer vindu(okt);
  for (auto _ : state) {
    state.PauseTiming();
    vindu.Evernum->clear();
    for (const char* c = navn; *c; ++c) {
      QKeyEvent tast(QEvent::KeyPress, Qt::Key_A + (*c - 'a'), Qt::NoModifier, QString(QChar(*c)));
      QApplication::sendEvent(vindu.Evernum, &tast);
    }
    state.ResumeTiming();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
    QApplication::sendEvent(vindu.Evernum, &enter);
  }
  state.counters["treff"] = vindu.LiVer->count();
}

void Storrelser(benchmark::internal::Benchmark* b) {
  for (int64_t n : {10000, 100000, 1000000}) b->Arg(n);
}

}  // namespace

// A typical part of a name, and a short common one that fills a long list.
BENCHMARK_CAPTURE(BM_Navnesok, kvitbj, "kvitbj")->Apply(Storrelser)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Navnesok, stor, "stor")->Apply(Storrelser)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
