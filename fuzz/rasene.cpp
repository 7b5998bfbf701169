// Reading the breed names file Rasene.Nav (from the current working
// directory) into the breed table, and the catalogue's breed list from it.
#include <unistd.h>

#include <cstdint>
#include <string>

#include "fuzzhjelp.h"
#include "tekst.h"
#include "trase.h"
#include "utvalg.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (::chdir(Arbeidsmappe().c_str()) != 0) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view inn = SomTekst(data, size);
  SkrivFil(RaseFilNavn, inn);

  const Trase raser;
  KREV(raser.Feil().empty());

  // One name a line (a line ends at CR LF, LF or a bare CR), a last line
  // without a break included.
  int32_t linjer = 0;
  for (std::size_t pos = 0; pos < size; ++linjer) {
    const std::size_t slutt = inn.find_first_of("\r\n", pos);
    if (slutt == std::string_view::npos) break;
    pos = slutt + (inn.compare(slutt, 2, "\r\n") == 0 ? 2 : 1);
  }
  if (size > 0 && inn.back() != '\n' && inn.back() != '\r') ++linjer;
  KREV(raser.BreedCount() == linjer);

  for (int32_t k = 0; k < raser.BreedCount(); ++k) {
    const std::string navn = raser.BreedName(k);
    KREV(navn.size() <= MaksTekst);
    KREV(navn.find('\n') == std::string::npos);
    if (k > 0) KREV(raser.BreedName(-k) == "^" + navn);
  }
  for (int32_t k : {raser.BreedCount(), raser.BreedCount() + 1, INT32_MAX, INT32_MIN, -raser.BreedCount() - 1})
    KREV(raser.BreedName(k).rfind("Feil i rase ", 0) == 0);

  const std::vector<std::string> valg = RaseValg(raser);
  KREV(!valg.empty() && valg[0] == "Alle raser");
  KREV(raser.BreedCount() == 0 || static_cast<int32_t>(valg.size()) == raser.BreedCount());
  return 0;
}
