// hornstad-cli avkom NUMMER: the sons of a ram through the table window's
// exports, with every data row and column marked.
#include "avkom.h"

#include "cp1252.h"
#include "eksport.h"
#include "felles.h"
#include "okt.h"
#include "register.h"
#include "tabell.h"
#include "tekst.h"

namespace {

class TAvkom : public TKommando {
 public:
  std::string_view Navn() const override { return "avkom"; }
  std::string_view Kall() const override { return "NUMMER [--format semikolon|tab|excel|html|pdf] [--ut FIL]"; }
  std::string_view Omtale() const override {
    return "sønnene etter væren med kåringsnummeret, alle rader, slik tabellvinduet eksporterer dem (standard: "
           "semikolon; excel er tabulatorskilt med anførselstegn og overskriftslinje); uten --ut skrives teksten ut, "
           "med --ut lagres fila slik vinduet lagrer den (Windows-1252, CR LF); pdf skriver tabellen på A4-sider som "
           "tabellvinduet og trenger --ut";
  }
  std::vector<TValg> Valg() const override { return {FormatValg, UtValg}; }
  int AntallFrie() const override { return 1; }
  // The table is laid out in the window's font.
  bool TrengerSkrift(const TArgumenter& a) const override { return FormatLeggesUt(TabellFormat(a)); }

  int Kjor(const TKontekst& k, const TArgumenter& a) const override {
    const std::string& nummerTekst = a.frie[0];
    if (nummerTekst.empty()) return FeilBruk(k);
    const std::string format = TabellFormat(a);
    const std::filesystem::path ut = a.Verdi("ut");
    TEksportType type = TEksportType::Semikolon;
    if (!LesFormat(k, format, ut, type)) return 2;

    TProdusent& reg = k.Register();
    const int32_t nummer = LesHeltall(Utf8TilCp1252(nummerTekst));
    const TVerPost far = reg.FindByNumber(nummer);
    if (far.Nummer == 0) {
      std::fprintf(k.feil, "Fant ingen vær med kåringsnummer %s.\n", nummerTekst.c_str());
      return 1;
    }
    TTabell tabell;
    MaalISkrift(tabell, format);
    ListAvkom(reg, far, tabell);
    // The layout the window gives a table when it is shown, in the same font:
    // the HTML header cells carry its column widths.
    if (FormatLeggesUt(format)) tabell.ForsteLayout();
    tabell.MerkAlt();
    return SkrivTabellUt(k, tabell, format == "pdf", type, ut);
  }
};

}  // namespace

const TKommando& KommandoAvkom() {
  static const TAvkom kommando;
  return kommando;
}
