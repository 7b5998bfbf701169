// The readings of table cells: the sort key (Sorteringsverdi), the lenient
// number of sums (Tallverdi), the date of averages (Datoverdi), and the typed
// date of the insemination grid (LesDato).
#include "sortering.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "dato.h"
#include "fuzzhjelp.h"
#include "seminrad.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte picks the season year, the rest is the cell.
  const int semaar = 1999 + data[0] % 40;
  const std::string_view celle = SomTekst(data + 1, size - 1);

  const long double nokkel = Sorteringsverdi(celle);
  KREV(!std::isnan(nokkel));
  // Only the first 20 characters count for the key.
  KREV(Sorteringsverdi(celle.substr(0, std::min<std::size_t>(celle.size(), 20))) == nokkel);

  const TTallLesing lest = LesTallet(celle);
  KREV(lest.feil <= celle.size());
  if (lest.ok) KREV(lest.feil == celle.size());

  KREV(!std::isnan(Tallverdi(celle)));

  bool harAar = false;
  const std::optional<double> dato = Datoverdi(celle, harAar);
  if (dato && *dato != 0.0) KREV(DecodeDate(*dato).has_value());

  std::string tekst(celle);
  if (LesDato(tekst, semaar)) {
    // Rewritten as dd/mm/yyyy, which reads back as a date and reads again the same.
    KREV(tekst.size() == 10);
    KREV(DatoFraTekst(tekst).has_value());
    std::string igjen = tekst;
    KREV(LesDato(igjen, semaar) && igjen == tekst);
  } else {
    KREV(tekst == FeilDatoTekst);
  }
  return 0;
}
