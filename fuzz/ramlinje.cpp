// Conversion of the ram export: one line to a record (ConvertRamLine), and a
// whole export held in memory (KonverterLinjer).
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "dato.h"
#include "fuzzhjelp.h"
#include "ramimport.h"
#include "tekst.h"
#include "verpost.h"

namespace {

template <std::size_t N>
void SjekkTekst(const TTekst<N>& t) {
  KREV(t.lengde <= N);
  for (std::size_t i = t.lengde; i < N; ++i) KREV(t.tegn[i] == 0);
}

// A date of the import: a whole day from 1951 to 2899, or in 1900 where the
// year could not be read (1 January 1900 is the no-date value).
bool ImportDato(double d) {
  if (d == IngenDato) return true;
  const auto k = DecodeDate(d);
  return k && d == std::trunc(d) && (k->aar == 1900 || (k->aar >= 1951 && k->aar <= 2899));
}

void SjekkPost(const TVerPost& p) {
  KREV(p.Nummer != 0);
  SjekkTekst(p.Navn);
  SjekkTekst(p.Fodebuskap);
  SjekkTekst(p.Fodested);
  KREV(p.Fodested.lengde >= 1);
  for (uint8_t b : p.Reservert) KREV(b == 0);
  for (float f : {p.Ullvekt, p.Fiberdiameter, p.MaksMy, p.Stapel, p.OAett, p.VektAvvik, p.Hostvekt})
    KREV(std::isfinite(f));
  KREV(ImportDato(p.KlippeDato));
  KREV(ImportDato(p.IndeksDato));
}

// The fields as the shared splitter NextField gives them must be the ones
// the record was filled from; the fields after a line's last one are empty.
void SjekkMotNextField(std::string_view linje, const TVerPost& p) {
  std::string rest(linje);
  std::vector<std::string> felt(51);
  bool slutt = false;
  for (int k = 1; k <= 50 && !slutt; ++k) {
    slutt = rest.find(';') == std::string::npos;
    felt[k] = NextField(rest);
    KREV(felt[k].size() <= MaksTekst);
  }
  KREV(p.Nummer == static_cast<int32_t>(TextToInt(felt[3])));
  KREV(p.Navn.Verdi() == felt[32].substr(0, 20));
  KREV(p.Fodebuskap.Verdi() == felt[43].substr(0, 50));
  const std::string sted = felt[44].empty() ? std::string("Ukjent") : DosToWindows(felt[44].substr(0, 20));
  KREV(p.Fodested.Verdi() == sted.substr(0, 20));
}

bool LikePoster(const TVerPost& a, const TVerPost& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view inn = SomTekst(data, size);

  // The whole input as one line.
  TVerPost p;
  std::memset(&p, 0xA5, sizeof p);
  bool kort = true;
  if (ConvertRamLine(inn, p, &kort)) {
    SjekkPost(p);
    SjekkMotNextField(inn, p);
    KREV(kort == (std::count(inn.begin(), inn.end(), ';') < 49));
  } else {
    KREV(LikePoster(p, TomVerPost()));
  }

  // The whole input as an export: a header line, then data lines.
  std::vector<TVerPost> poster;
  int64_t sist = -1;
  bool slutt = false;
  const TKonvertering r = KonverterLinjer(
      inn, [&](const TVerPost& q) { poster.push_back(q); },
      [&](int64_t gjort, int64_t totalt) {
        KREV(totalt == static_cast<int64_t>(size));
        KREV(gjort >= sist && gjort <= totalt);
        sist = gjort;
        slutt = gjort == totalt;
        return true;
      });
  KREV(r.ferdig);
  KREV(r.poster == static_cast<int64_t>(poster.size()));
  KREV(slutt);  // the last report is the whole export

  // The same records, line by line.
  std::vector<TVerPost> forventet;
  int64_t korte = 0;
  std::size_t pos = 0, linjer = 0;
  while (pos < size) {
    std::size_t ende = pos;
    while (ende < size && inn[ende] != '\r' && inn[ende] != '\n') ++ende;
    TVerPost q;
    bool k = false;
    if (linjer++ > 0 && ConvertRamLine(inn.substr(pos, ende - pos), q, &k)) {
      forventet.push_back(q);
      korte += k;
    }
    pos = ende + 1;
    if (ende < size && inn[ende] == '\r' && pos < size && inn[pos] == '\n') ++pos;
  }
  KREV(poster.size() == forventet.size());
  KREV(r.korteLinjer == korte);
  for (std::size_t i = 0; i < poster.size(); ++i) {
    SjekkPost(poster[i]);
    KREV(LikePoster(poster[i], forventet[i]));
  }
  return 0;
}
