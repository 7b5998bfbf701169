// hornstad-cli run in the test's own process: `hornstad-cli --data MAPPE
// ARGUMENTER`, its exit code and its output caught in memory.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "testmappe.h"
#include "verktoy.h"

inline Svar KjorCli(const TestMappe& m, std::vector<std::string> argumenter) {
  argumenter.insert(argumenter.begin(), {"--data", m.Sti().string()});
  char *ut = nullptr, *feil = nullptr;
  std::size_t utLengde = 0, feilLengde = 0;
  std::FILE* u = ::open_memstream(&ut, &utLengde);
  std::FILE* f = ::open_memstream(&feil, &feilLengde);
  Svar s;
  s.kode = KjorVerktoy(argumenter, u, f);
  std::fclose(u);
  std::fclose(f);
  s.ut.assign(ut, utLengde);
  s.feil.assign(feil, feilLengde);
  std::free(ut);
  std::free(feil);
  return s;
}
