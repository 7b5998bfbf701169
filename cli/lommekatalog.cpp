// hornstad-cli lommekatalog (--liste NAVN | --verer N,N,…) --ut FIL.html: the
// pocket catalogue, one HTML page for the phone with the rams, their cards
// and the lamb's inbreeding with the breeder's ewes.
#include "lommekatalog.h"

#include <QDate>
#include <filesystem>

#include "cp1252.h"
#include "felles.h"
#include "filer.h"
#include "okt.h"
#include "paringsforslag.h"
#include "register.h"
#include "slektskap.h"
#include "soyer.h"

namespace {

class TLommekatalogKommando : public TKommando {
 public:
  std::string_view Navn() const override { return "lommekatalog"; }
  std::string_view Kall() const override { return "(--liste NAVN | --verer N,N,...) --ut FIL.html"; }
  std::string_view Omtale() const override {
    return "lager lommekatalogen: én HTML-fil med værene, søk og sortering, og et kort for hver vær med indeksene og "
           "persentilene, avstamningen, egen innavlsgrad, lammets innavlsgrad med hver søye i Soyer.Txt (rødt ved "
           "eller over [Avl] Grense) og søyene det lagrede paringsforslaget gir væren; fila åpnes uten nett i "
           "nettleseren på telefonen";
  }
  std::vector<TValg> Valg() const override {
    return {{"liste", "NAVN", "værene i lista med navnet i Lister.Txt"},
            {"verer", "N,N,...", "kåringsnumrene til værene, skilt med komma"},
            {"ut", "FIL", "fila siden lagres i (UTF-8), for eksempel Lommekatalog.html; må gis"}};
  }
  int AntallFrie() const override { return 0; }

  int Kjor(const TKontekst& k, const TArgumenter& a) const override {
    if (a.Har("verer") == a.Har("liste")) return FeilBruk(k);
    const std::filesystem::path ut = a.Verdi("ut");
    if (ut.empty()) return FeilBruk(k);
    TLommevalg valg;
    if (a.Har("verer") && !LesNummerliste(k, "--verer", a.Verdi("verer"), valg.verer)) return 2;

    if (a.Har("liste") && !LesListeTil(k, a.Verdi("liste"), valg.verer)) return 1;

    // The ewes and the saved suggestion, when there are any: the page is made without them too.
    TSoyeLesing soyer = LesSoyer(SoyeFil(k.data));
    for (const std::string& m : soyer.meldinger) std::fprintf(k.feil, "%s\n", Cp1252TilUtf8(m).c_str());
    valg.soyer = std::move(soyer.soyer);
    const std::filesystem::path paringer = ParingsFil(k.data);
    if (std::filesystem::exists(paringer)) {
      TParingsLesing forslag = LesParinger(paringer);
      for (const std::string& m : forslag.meldinger) std::fprintf(k.feil, "%s\n", Cp1252TilUtf8(m).c_str());
      BrukForslag(valg, forslag.forslag);
    }
    valg.grense = k.Okt().Grense();
    valg.dato = QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")).toStdString();

    TProdusent& reg = k.Register();
    TAvlsdata& avl = k.Okt().Avlsdata();
    const TLommekatalog side = LagLommekatalog(reg, avl, k.Okt().Raser(), valg);
    MeldSloyfer(k, avl);
    for (int32_t nr : side.ukjente) std::fprintf(k.feil, "Kåringsnummer %d finnes ikke i registeret.\n", nr);
    if (side.verer.empty()) {
      std::fprintf(k.feil, "Fant ingen av værene i registeret; lommekatalogen trenger minst én.\n");
      return 1;
    }
    SkrivTrygt(ut, side.html);
    std::fprintf(k.ut, "Lagret lommekatalogen med %zu %s og %zu %s i %s.\n", side.verer.size(),
                 side.verer.size() == 1 ? "vær" : "værer", valg.soyer.size(), valg.soyer.size() == 1 ? "søye" : "søyer",
                 ut.c_str());
    return 0;
  }
};

}  // namespace

const TKommando& KommandoLommekatalog() {
  static const TLommekatalogKommando kommando;
  return kommando;
}
