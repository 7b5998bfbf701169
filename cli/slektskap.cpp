// hornstad-cli slektskap NUMMER [--far N] [--morfar N] [--mormorfar N]: a
// planned mating of the ram with a ewe by the sire N out of a dam by the sire
// N, the dam out of a dam by the sire N, as the lookup window's "Slektskap"
// shows it.
#include "slektskap.h"

#include "cp1252.h"
#include "felles.h"
#include "okt.h"
#include "register.h"
#include "tekst.h"

namespace {

class TSlektskap : public TKommando {
 public:
  std::string_view Navn() const override { return "slektskap"; }
  std::string_view Kall() const override { return "NUMMER [--far N] [--morfar N] [--mormorfar N]"; }
  std::string_view Omtale() const override {
    return "forventet innavlsgrad for et lam etter væren med kåringsnummeret og en søye etter faren --far og med "
           "morfaren --morfar og mormors far --mormorfar (0 eller utelatt: ukjent); så værens egen innavlsgrad, hvor "
           "mange aner som er kjent i "
           "fem ledd (av 62) og de felles anene med sin del av tallet";
  }
  std::vector<TValg> Valg() const override {
    return {{"far", "N", "kåringsnummeret til søyas far (0 eller utelatt: ukjent)"},
            {"morfar", "N", "kåringsnummeret til søyas morfar (0 eller utelatt: ukjent)"},
            {"mormorfar", "N", "kåringsnummeret til faren til søyas mormor (0 eller utelatt: ukjent)"}};
  }
  int AntallFrie() const override { return 1; }

  int Kjor(const TKontekst& k, const TArgumenter& a) const override {
    int far = 0, morfar = 0, mormorfar = 0;
    if (a.Har("far") && !LesTall(k, "--far", a.Verdi("far"), far)) return 2;
    if (a.Har("morfar") && !LesTall(k, "--morfar", a.Verdi("morfar"), morfar)) return 2;
    if (a.Har("mormorfar") && !LesTall(k, "--mormorfar", a.Verdi("mormorfar"), mormorfar)) return 2;
    const std::string& nummerTekst = a.frie[0];

    TProdusent& reg = k.Register();
    const TVerPost ver = reg.FindByNumber(LesHeltall(Utf8TilCp1252(nummerTekst)));
    if (ver.Nummer == 0) {
      std::fprintf(k.feil, "Fant ingen vær med kåringsnummer %s.\n", nummerTekst.c_str());
      return 1;
    }
    TAvlsdata& avl = k.Okt().Avlsdata();
    // One mating needs the coefficients of the ram's and the ewe's ancestors only.
    const int32_t parter[] = {ver.Nummer, far, morfar, mormorfar};
    const TInnavl& innavl = avl.InnavlFor(parter);
    const TParing p = innavl.Paring(ver.Nummer, far, morfar, mormorfar);
    MeldSloyfer(k, avl);
    // A parent that is not in the register would give a figure that only looks right.
    if (const std::string mangler = ManglerTekst(p); !mangler.empty()) {
      std::fprintf(k.feil, "%s\n", Cp1252TilUtf8(mangler).c_str());
      return 1;
    }
    for (const std::string& linje : SlektskapLinjer(p, innavl.Stamtavle(), avl.Poster())) Skriv(k, linje + "\n");
    return 0;
  }
};

}  // namespace

const TKommando& KommandoSlektskap() {
  static const TSlektskap kommando;
  return kommando;
}
