// hornstad-cli liste NAVN: one of the breeder's named lists of rams (Lister.Txt),
// changed with --legg-til and --fjern, and shown as the list window shows it.
#include <QSettings>

#include "cp1252.h"
#include "eksport.h"
#include "felles.h"
#include "lister.h"
#include "listing.h"
#include "okt.h"
#include "register.h"
#include "skall.h"
#include "slektskap.h"
#include "tabell.h"

namespace {

class TListeKommando : public TKommando {
 public:
  std::string_view Navn() const override { return "liste"; }
  std::string_view Kall() const override { return "NAVN [--legg-til N,...] [--fjern N,...] [--format F] [--ut FIL]"; }
  std::string_view Omtale() const override {
    return "lista med navnet i Lister.Txt («Mine værer», «Reserve» …): --legg-til og --fjern endrer den (en ny "
           "liste lages); så vises den med katalogens tabellfelter fra Hornstad.Ini (uten valgte felter navn, rase og "
           "O, - og MorV) og «Innavl\u00A0%» når Soyer.Txt finnes; --format og --ut som for avkom";
  }
  std::vector<TValg> Valg() const override {
    return {{"legg-til", "N,...", "legger værene med kåringsnumrene til lista, og lager lista når den ikke finnes"},
            {"fjern", "N,...", "tar værene med kåringsnumrene ut av lista"},
            FormatValg,
            UtValg};
  }
  int AntallFrie() const override { return 1; }
  bool TrengerSkrift(const TArgumenter& a) const override { return FormatLeggesUt(TabellFormat(a)); }

  int Kjor(const TKontekst& k, const TArgumenter& a) const override {
    const std::string navn = Utf8TilCp1252(a.frie[0]);
    std::vector<int32_t> leggTil, fjern;
    if (a.Har("legg-til") && !LesNummerliste(k, "--legg-til", a.Verdi("legg-til"), leggTil)) return 2;
    if (a.Har("fjern") && !LesNummerliste(k, "--fjern", a.Verdi("fjern"), fjern)) return 2;
    const std::string format = TabellFormat(a);
    const std::filesystem::path ut = a.Verdi("ut");
    TEksportType type = TEksportType::Semikolon;
    if (!LesFormat(k, format, ut, type)) return 2;

    std::string feil;
    const TListeLesing les = EndreLister(k.data, [&](TLister& lister) {
      if (leggTil.empty() && fjern.empty()) return false;
      if (!leggTil.empty() && !lister.LeggTil(navn, leggTil, &feil)) return false;
      if (!fjern.empty()) lister.Fjern(navn, fjern);
      return true;
    });
    for (const std::string& m : les.meldinger) std::fprintf(k.feil, "%s\n", Cp1252TilUtf8(m).c_str());
    if (!feil.empty()) {
      std::fprintf(k.feil, "%s\n", Cp1252TilUtf8(feil).c_str());
      return 2;
    }
    const TListe* liste = les.lister.Finn(navn);
    if (liste == nullptr) {
      std::fprintf(k.feil, "Det finnes ingen liste som heter «%s» i %s.\n", a.frie[0].c_str(),
                   ListeFil(k.data).c_str());
      return 1;
    }
    TProdusent& reg = k.Register();
    TAvlsdata& avl = k.Okt().Avlsdata();
    k.Okt().LesSoyer();
    // The means of the listed rams alone: their figures and their ancestors'.
    const std::unique_ptr<TInnavlSnitt> innavl = InnavlSnittFor(avl, k.Okt().Soyer(), liste->nummer);
    TTabell tabell;
    MaalISkrift(tabell, format);
    ListListe(*liste, reg, ListeFelt(k.Okt().Innstillinger()), innavl.get(), tabell);
    if (FormatLeggesUt(format)) tabell.ForsteLayout();
    tabell.MerkAlt();
    return SkrivTabellUt(k, tabell, format == "pdf", type, ut);
  }
};

}  // namespace

const TKommando& KommandoListe() {
  static const TListeKommando kommando;
  return kommando;
}
