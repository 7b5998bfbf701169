// The two date readings of the imports: "yyyy-mm-dd" (IsoTextToDate) and
// "ddmmyy"/"ddmmyyyy" (CompactTextToDate).
#include "dato.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzzhjelp.h"
#include "tekst.h"

namespace {

// A whole day from 1951 to 2899, or in 1900 where the year could not be read
// (1 January 1900 is the no-date value).
bool ImportDato(double d) {
  if (d == IngenDato) return true;
  const auto k = DecodeDate(d);
  return k && d == std::trunc(d) && (k->aar == 1900 || (k->aar >= 1951 && k->aar <= 2899));
}

std::string Iso(double d) {
  const auto k = DecodeDate(d);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", k->aar, k->maaned, k->dag);
  return buf;
}

std::string Kompakt(double d) {
  const auto k = DecodeDate(d);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d%02d%04d", k->dag, k->maaned, k->aar);
  return buf;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view inn = SomTekst(data, size);

  const double iso = IsoTextToDate(inn);
  KREV(ImportDato(iso));
  // Shown as dd/mm/yyyy, a date in 1900 as "Ingen dato".
  const auto k = DecodeDate(iso);
  char vist[32];
  std::snprintf(vist, sizeof vist, "%02d/%02d/%04d", k->dag, k->maaned, k->aar);
  KREV(DateToText(iso) == (k->aar == 1900 ? std::string("Ingen dato") : std::string(vist)));
  // A date read is written back and read again as the same day.
  if (iso != IngenDato) {
    KREV(IsoTextToDate(Iso(iso)) == iso);
    KREV(CompactTextToDate(Kompakt(iso)) == iso);
  }

  const double kompakt = CompactTextToDate(inn);
  if (inn.size() < 6) {
    KREV(kompakt == 0.0);
  } else {
    KREV(ImportDato(kompakt));
    if (kompakt != IngenDato) KREV(IsoTextToDate(Iso(kompakt)) == kompakt);
  }
  return 0;
}
