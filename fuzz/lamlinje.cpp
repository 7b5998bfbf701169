// The lamb and member import: one line of a county's lamb export to a lamb
// record and its summary (KonverterLamLinje), one line of the member export
// to a producer record (KonverterMedlemLinje), over every line of the input.
#include <cmath>
#include <cstring>
#include <string>

#include "dato.h"
#include "fuzzhjelp.h"
#include "lam.h"
#include "tekst.h"

namespace {

template <std::size_t N>
void SjekkTekst(const TTekst<N>& t) {
  KREV(t.lengde <= N);
  for (std::size_t i = t.lengde; i < N; ++i) KREV(t.tegn[i] == 0);
}

template <std::size_t N>
void Nuller(const uint8_t (&b)[N]) {
  for (uint8_t x : b) KREV(x == 0);
}

// A date of the compact reading: 0.0 for a short text, otherwise a whole day
// from 1951 to 2899 or in 1900 where the year could not be read.
bool LamDato(double d) {
  if (d == 0.0) return true;
  const auto k = DecodeDate(d);
  return k && d == std::trunc(d) && (k->aar == 1900 || (k->aar >= 1951 && k->aar <= 2899));
}

void SjekkLam(std::string_view linje) {
  TLamPost p;
  TTupp tupp;
  std::memset(&p, 0xA5, sizeof p);
  std::string rest(linje);
  const bool ok = KonverterLamLinje(linje, p, tupp);
  KREV(ok == (static_cast<int32_t>(TextToInt(NextField(rest))) != 0));
  if (!ok) {
    const auto* b = reinterpret_cast<const uint8_t*>(&p);
    for (std::size_t i = 0; i < sizeof p; ++i) KREV(b[i] == 0);
    return;
  }
  KREV(p.Null52 == 0);
  Nuller(p.Reservert70);
  Nuller(p.Reservert80);
  KREV(LamDato(p.Kol6) && LamDato(p.Kol10) && LamDato(p.Kol14));
  KREV(std::isfinite(p.Kol11));
  // The summary holds the record's numbers, its 16-bit values at offsets 50
  // to 65 and its date at offset 42.
  KREV(tupp.Kol1 == p.Kol1 && tupp.Kol2 == p.Kol2);
  const auto* b = reinterpret_cast<const char*>(&p);
  KREV(std::memcmp(tupp.Verdier, b + 50, sizeof tupp.Verdier) == 0);
  KREV(std::memcmp(&tupp.Dato, b + 42, sizeof tupp.Dato) == 0);
}

void SjekkMedlem(std::string_view linje) {
  TProdusentPost p;
  std::memset(&p, 0xA5, sizeof p);
  KonverterMedlemLinje(linje, p);
  std::string rest(linje);
  KREV(p.Nummer == static_cast<int32_t>(TextToInt(NextField(rest))));
  SjekkTekst(p.Kol2);
  SjekkTekst(p.Kol3);
  SjekkTekst(p.Kol4);
  SjekkTekst(p.Kol5);
  SjekkTekst(p.Kol6);
  Nuller(p.Reservert44);
  Nuller(p.Reservert143);
  Nuller(p.Reservert175);
  Nuller(p.Reservert207);
  Nuller(p.Reservert227);
  for (double d : {p.Kol8, p.Kol9, p.Kol11, p.Kol12, p.Kol14, p.Kol15}) KREV(LamDato(d));
  for (float f : {p.Kol10, p.Kol13, p.Kol16}) KREV(std::isfinite(f));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view inn = SomTekst(data, size);
  SjekkLam(inn);
  SjekkMedlem(inn);
  std::size_t linjer = 0;
  ForHverLinje(inn, [&](std::string_view linje) {
    KREV(linje.find_first_of("\r\n") == std::string_view::npos);
    if (++linjer > 64) return;
    SjekkLam(linje);
    SjekkMedlem(linje);
  });
  return 0;
}
