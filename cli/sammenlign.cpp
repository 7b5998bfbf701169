// hornstad-cli sammenlign N N …: 2 to 6 rams side by side, each figure with
// its percentile among the rams of the same breed and year.
#include "cp1252.h"
#include "eksport.h"
#include "felles.h"
#include "okt.h"
#include "register.h"
#include "sammenligning.h"
#include "slektskap.h"
#include "tabell.h"
#include "trase.h"

namespace {

class TSammenlign : public TKommando {
 public:
  std::string_view Navn() const override { return "sammenlign"; }
  std::string_view Kall() const override { return "N N ... [--format F] [--ut FIL]"; }
  std::string_view Omtale() const override {
    return "2 til 6 værer side om side: indeksene, kåringstallene, ullen, avkomstallene og egen innavlsgrad, hvert "
           "tall med persentilen blant værer av samme rase og år, «121 (92\u00A0%)»; --format og --ut som for avkom";
  }
  std::string Bruk() const override {
    return "Bruk: hornstad-cli sammenlign N N ... [--format semikolon|tab|excel|html|pdf] [--ut FIL]\n";
  }
  std::vector<TValg> Valg() const override { return {FormatValg, UtValg}; }
  bool TrengerSkrift(const TArgumenter& a) const override { return FormatLeggesUt(TabellFormat(a)); }

  int Kjor(const TKontekst& k, const TArgumenter& a) const override {
    std::vector<int32_t> nummer;
    for (const std::string& f : a.frie)
      if (!LesNummerliste(k, "sammenlign", f, nummer)) return 2;
    if (const std::string feil = SammenligningFeil(nummer.size()); !feil.empty()) {
      std::fprintf(k.feil, "%s\n", Cp1252TilUtf8(feil).c_str());
      return 2;
    }
    const std::string format = TabellFormat(a);
    const std::filesystem::path ut = a.Verdi("ut");
    TEksportType type = TEksportType::Semikolon;
    if (!LesFormat(k, format, ut, type)) return 2;

    TProdusent& reg = k.Register();
    TAvlsdata& avl = k.Okt().Avlsdata();
    std::vector<int32_t> ukjente;
    // The inbreeding row ranks the rams among their groups: their coefficients are enough.
    const TSammenligning s = Sammenlign(reg, nummer, ukjente, &avl.InnavlFor(Gruppemedlemmer(reg, nummer)));
    MeldSloyfer(k, avl);
    for (int32_t nr : ukjente) std::fprintf(k.feil, "Kåringsnummer %d finnes ikke i registeret.\n", nr);
    if (const std::string feil = SammenligningFeil(s.verer.size()); !feil.empty()) {
      std::fprintf(k.feil, "%s\n", Cp1252TilUtf8(feil).c_str());
      return 1;
    }
    const Trase raser;
    TTabell tabell;
    MaalISkrift(tabell, format);
    ListSammenligning(s, raser, tabell);
    if (FormatLeggesUt(format)) tabell.ForsteLayout();
    tabell.MerkAlt();
    return SkrivTabellUt(k, tabell, format == "pdf", type, ut);
  }
};

}  // namespace

const TKommando& KommandoSammenlign() {
  static const TSammenlign kommando;
  return kommando;
}
