// hornstad-cli endringer: what the last import changed for the rams on the
// breeder's lists (Endringer.Txt), as the main window's report shows it.
#include "endringer.h"

#include "cp1252.h"
#include "eksport.h"
#include "felles.h"
#include "tabell.h"

namespace {

class TEndringerKommando : public TKommando {
 public:
  std::string_view Navn() const override { return "endringer"; }
  std::string_view Kall() const override { return "[--format F] [--ut FIL]"; }
  std::string_view Omtale() const override {
    return "hva siste innlesing endret for værene på listene (liste, kåringsnummer, navn, felt, før og etter); "
           "--format og --ut som for avkom; uten endringer én linje som sier det";
  }
  std::string Bruk() const override {
    return "Bruk: hornstad-cli endringer [--format semikolon|tab|excel|html|pdf] [--ut FIL]\n";
  }
  std::vector<TValg> Valg() const override { return {FormatValg, UtValg}; }
  int AntallFrie() const override { return 0; }
  bool TrengerSkrift(const TArgumenter& a) const override { return FormatLeggesUt(TabellFormat(a)); }

  int Kjor(const TKontekst& k, const TArgumenter& a) const override {
    const std::string format = TabellFormat(a);
    const std::filesystem::path ut = a.Verdi("ut");
    TEksportType type = TEksportType::Semikolon;
    if (!LesFormat(k, format, ut, type)) return 2;
    const TEndringsLesing les = LesEndringer(EndringsFil(k.data));
    for (const std::string& m : les.meldinger) std::fprintf(k.feil, "%s\n", Cp1252TilUtf8(m).c_str());
    if (!les.rapport) {
      std::fputs("Ingen endringer er lagret: de lages ved innlesing av værer når det finnes lister i Lister.Txt.\n",
                 k.feil);
      return 1;
    }
    if (les.rapport->endringer.empty()) {
      Skriv(k, EndringsTittel(*les.rapport) + "\n");
      return 0;
    }
    TTabell tabell;
    MaalISkrift(tabell, format);
    ListEndringer(*les.rapport, tabell);
    if (FormatLeggesUt(format)) tabell.ForsteLayout();
    tabell.MerkAlt();
    return SkrivTabellUt(k, tabell, format == "pdf", type, ut);
  }
};

}  // namespace

const TKommando& KommandoEndringer() {
  static const TEndringerKommando kommando;
  return kommando;
}
