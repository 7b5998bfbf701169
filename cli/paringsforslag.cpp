// hornstad-cli paringsforslag (--verer N,N,… | --liste NAVN): the best ram
// for each ewe of Soyer.Txt within the inbreeding limit and each ram's
// capacity, as the "Paringsforslag" table.
#include "paringsforslag.h"

#include <QSettings>

#include "eksport.h"
#include "felles.h"
#include "okt.h"
#include "register.h"
#include "slektskap.h"
#include "soyer.h"
#include "tabell.h"

namespace {

class TParingsforslagKommando : public TKommando {
 public:
  std::string_view Navn() const override { return "paringsforslag"; }
  // The options in full are in the usage line (Bruk) and under "Valg:".
  std::string_view Kall() const override { return "(--verer N,N,... | --liste NAVN) [VALG]"; }
  std::string_view Omtale() const override {
    return "en vær til hver søye i Soyer.Txt, en rad per søye i filas rekkefølge (søye, vær, navn, lammets "
           "innavlsgrad i prosent, O-indeks, og for en søye uten vær hvorfor), og sammendraget til slutt; flest "
           "mulig søyer får vær, uten paringer ved eller over grensa og uten vær over kapasiteten, og blant slike "
           "forslag er summen av O-indeks minus vekt ganger innavlsprosent størst (en gul indeks teller som 0); "
           "--kapasitet, --grense og --vekt gir kapasiteten, grensa og vekta; --format og --ut som for avkom";
  }
  std::string Bruk() const override {
    return "Bruk: hornstad-cli paringsforslag (--verer N,N,... | --liste NAVN) [--kapasitet K] [--grense P] "
           "[--vekt V] [--format semikolon|tab|excel|html|pdf] [--ut FIL]\n";
  }
  std::vector<TValg> Valg() const override {
    return {{"verer", "N,N,...", "kåringsnumrene til kandidatværene, skilt med komma"},
            {"liste", "NAVN", "kandidatværene er værene i lista med navnet i Lister.Txt"},
            {"kapasitet", "K",
             "hvor mange søyer hver vær kan få, et helt tall, eller «ingen» for ingen grense (standard [Avl] "
             "Kapasitet i Hornstad.Ini, ellers 40)"},
            {"grense", "P",
             "innavlsgrensa i prosent, med komma eller punktum (standard [Avl] Grense i Hornstad.Ini, ellers "
             "6,25); en paring ved eller over grensa foreslås ikke"},
            {"vekt", "V",
             "indekspoeng som gis opp per prosent innavl, fra 0 til 1000 (standard [Avl] Vekt i Hornstad.Ini, "
             "ellers 1,0)"},
            FormatValg,
            UtValg};
  }
  int AntallFrie() const override { return 0; }
  bool TrengerSkrift(const TArgumenter& a) const override { return FormatLeggesUt(TabellFormat(a)); }

  int Kjor(const TKontekst& k, const TArgumenter& a) const override {
    if (a.Har("verer") == a.Har("liste")) return FeilBruk(k);
    std::vector<int32_t> verer;
    if (a.Har("verer") && !LesNummerliste(k, "--verer", a.Verdi("verer"), verer)) return 2;

    QSettings& ini = k.Okt().Innstillinger();
    int kapasitet = LesKapasitet(ini);
    if (a.Har("kapasitet")) {
      const std::string t = a.Verdi("kapasitet");
      if (t == "ingen") {
        kapasitet = UtenGrense;
      } else if (!LesTall(k, "--kapasitet", t, kapasitet)) {
        return 2;
      } else if (kapasitet < 0) {
        std::fprintf(k.feil, "Ugyldig tall for --kapasitet: %s\n", t.c_str());
        return 2;
      }
    }
    TParingsvalg valg;
    valg.grense = k.Okt().Grense();
    valg.vekt = LesVekt(ini);
    if (a.Har("grense") && (!LesDesimal(a.Verdi("grense"), valg.grense) || valg.grense < 0 || valg.grense > 100)) {
      std::fprintf(k.feil, "Ugyldig tall for --grense: %s (fra 0 til 100)\n", a.Verdi("grense").c_str());
      return 2;
    }
    if (a.Har("vekt") && (!LesDesimal(a.Verdi("vekt"), valg.vekt) || valg.vekt < 0 || valg.vekt > MaksVekt)) {
      std::fprintf(k.feil, "Ugyldig tall for --vekt: %s (fra 0 til 1000)\n", a.Verdi("vekt").c_str());
      return 2;
    }
    const std::string format = TabellFormat(a);
    const std::filesystem::path ut = a.Verdi("ut");
    TEksportType type = TEksportType::Semikolon;
    if (!LesFormat(k, format, ut, type)) return 2;

    if (a.Har("liste") && !LesListeTil(k, a.Verdi("liste"), verer)) return 1;
    for (int32_t nr : verer) valg.verer.push_back({nr, kapasitet});

    const std::filesystem::path fil = SoyeFil(k.data);
    std::vector<TSoye> soyer;
    if (!LesSoyerTil(k, fil, soyer)) return 1;

    k.Register();  // loads the register the figures are made of
    TAvlsdata& avl = k.Okt().Avlsdata();
    auto forslag = std::make_shared<TParingsforslag>(LagParingsforslag(avl, soyer, valg));
    MeldSloyfer(k, avl);
    for (int32_t nr : forslag->Plan().ukjente) std::fprintf(k.feil, "Kåringsnummer %d finnes ikke i registeret.\n", nr);
    if (forslag->AntallVerer() == 0) {
      std::fprintf(k.feil, "Fant ingen kandidatvær i registeret; forslaget trenger minst én.\n");
      return 1;
    }
    forslag->Los();

    // The summary comes once, as the last rows, in every format (a footer
    // would be printed on every page).
    TTabell tabell;
    MaalISkrift(tabell, format);
    ListParingsforslag(forslag, tabell, TSnittrad::SisteRad);
    if (FormatLeggesUt(format)) tabell.ForsteLayout();
    tabell.MerkAlt();
    return SkrivTabellUt(k, tabell, format == "pdf", type, ut);
  }
};

}  // namespace

const TKommando& KommandoParingsforslag() {
  static const TParingsforslagKommando kommando;
  return kommando;
}
