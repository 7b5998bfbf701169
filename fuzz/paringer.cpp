// The saved mating suggestion Paringer.Txt: any text reads without harm, and
// what the program writes of what it read reads back the same, the lines it
// could not read kept with it.
#include <cstdint>
#include <string>

#include "fuzzhjelp.h"
#include "paringsforslag.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view inn = SomTekst(data, size);
  const TParingsLesing lest = TolkParinger(inn);
  const std::string tekst = ParingsTekst(lest.forslag);
  const TParingsLesing igjen = TolkParinger(tekst);
  KREV(igjen.meldinger.empty());
  KREV(igjen.forslag == lest.forslag);
  // Written again, the same text.
  KREV(ParingsTekst(igjen.forslag) == tekst);
  return 0;
}
