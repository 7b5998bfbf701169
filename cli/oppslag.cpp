// hornstad-cli oppslag NUMMER|NAVN: what the lookup window shows.
#include "oppslag.h"

#include "cp1252.h"
#include "felles.h"
#include "okt.h"
#include "register.h"
#include "trase.h"

namespace {

class TOppslag : public TKommando {
 public:
  std::string_view Navn() const override { return "oppslag"; }
  std::string_view Kall() const override { return "NUMMER|NAVN"; }
  std::string_view Omtale() const override {
    return "viser væren slik væroppslaget viser den; NAVN (minst tre tegn, uten sifre) søkes som del av navnene, og "
           "flere treff gir en liste med ett treff på hver linje";
  }
  // The one argument is the text typed, whatever it starts with.
  int AntallFrie() const override { return 1; }

  // The argument read as the window reads its number-or-name field when the
  // argument is typed into it.
  int Kjor(const TKontekst& k, const TArgumenter& a) const override {
    const std::string& argument = a.frie[0];
    const std::string felt = Utf8TilCp1252(argument);
    TProdusent& reg = k.Register();
    // Typed into the empty field, the text is both the field's text and the
    // name-search text.
    const TSoekResultat r = Soek(felt, felt, &reg);
    if (r.utfall == TSoekResultat::Utfall::Kandidater) {
      for (const TTekstElement& e : r.kandidater) Skriv(k, e.tekst + "\n");
      return 0;
    }
    if (r.utfall == TSoekResultat::Utfall::Ingenting) {
      std::fprintf(k.feil, "Fant ingen vær med «%s» i navnet.\n", argument.c_str());
      return 1;
    }
    if (r.ver.Nummer == 0) {
      const int32_t nummer = FeltVerdi(felt);
      if (nummer == 0)
        std::fputs("Skriv et kåringsnummer, eller minst tre tegn av et navn.\n", k.feil);
      else
        std::fprintf(k.feil, "Fant ingen vær med kåringsnummer %d.\n", static_cast<int>(nummer));
      return 1;
    }
    const Trase raser;
    const TVerVisning v = LagVisning(r.ver, raser, &reg);
    for (const std::string& linje : v.rasnav) Skriv(k, linje + "\n");
    const auto rader = [&k](const auto& titler, const auto& celler) {
      for (std::size_t i = 0; i < titler.size(); ++i) Skriv(k, titler[i] + "\t" + celler[i] + "\n");
    };
    rader(VerindTitler(), v.verind);
    rader(SlektTitler(), v.slekt);
    rader(ScanTitler(), v.scan);
    rader(UllaTitler(), v.ulla);
    return 0;
  }
};

}  // namespace

const TKommando& KommandoOppslag() {
  static const TOppslag kommando;
  return kommando;
}
