#include "avkom.h"

#include "cp1252.h"
#include "tekst.h"

const char* const AvkomOverskrift = "V\xE6rnr;Navn;Buskap;Mornr;O-ind;MorV;Slakt;kj\xF8tt;Fett;MorS;Frkt.;";

std::string AvkomTittel(const TVerPost& far) {
  return Utf8TilCp1252("Sønner etter ") + IntToText(far.Nummer) + " " + far.Navn.Verdi();
}

std::vector<std::string> AvkomLinjer(const TProdusent& reg, int32_t farnr) {
  std::vector<std::string> linjer;
  for (const TVerPost& p : reg.Poster()) {
    if (p.Farnr != farnr || p.OIndeks <= 0) continue;
    std::string l = IntToText(p.Nummer) + ";" + NameCase(p.Navn.Verdi()) + ";" + NameCase(p.Fodebuskap.Verdi()) + ";" +
                    IntToText(p.Mornr) + ";";
    for (int16_t v : {p.OIndeks, p.MorevVaar, p.Slakt, p.Kjott, p.Fett, p.MorevSl, p.Fruktbarhet})
      l += IntToText(v) + ";";
    linjer.push_back(std::move(l));
  }
  return linjer;
}

void ListAvkom(const TProdusent& reg, const TVerPost& far, TTabellMottaker& tabell) {
  const std::vector<std::string> linjer = AvkomLinjer(reg, far.Nummer);
  tabell.Oppsett(11, 12, 0, 1, 1, AvkomTittel(far), Rod, Blaa);
  tabell.NyRad(AvkomOverskrift);
  for (const std::string& l : linjer) tabell.NyRad(l);
  tabell.NyBunnRad(";;;;;;;;;;");
}
