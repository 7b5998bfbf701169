// hornstad-cli innavl: every ram's own inbreeding as a table through the
// table window's exports.
#include "eksport.h"
#include "felles.h"
#include "okt.h"
#include "register.h"
#include "slektskap.h"
#include "tabell.h"

namespace {

class TInnavlKommando : public TKommando {
 public:
  std::string_view Navn() const override { return "innavl"; }
  std::string_view Kall() const override { return "[--format F] [--ut FIL]"; }
  std::string_view Omtale() const override {
    return "alle værene med kåringsnummer, navn, egen innavlsgrad i prosent og kjente aner i fem ledd (av 62), "
           "gjennom tabellvinduets eksport, med --format og --ut som for avkom";
  }
  std::string Bruk() const override {
    return "Bruk: hornstad-cli innavl [--format semikolon|tab|excel|html|pdf] [--ut FIL]\n";
  }
  std::vector<TValg> Valg() const override { return {FormatValg, UtValg}; }
  int AntallFrie() const override { return 0; }
  bool TrengerSkrift(const TArgumenter& a) const override { return FormatLeggesUt(TabellFormat(a)); }

  int Kjor(const TKontekst& k, const TArgumenter& a) const override {
    const std::string format = TabellFormat(a);
    const std::filesystem::path ut = a.Verdi("ut");
    TEksportType type = TEksportType::Semikolon;
    if (!LesFormat(k, format, ut, type)) return 2;

    k.Register();  // loads the register the figures are made of
    TAvlsdata& avl = k.Okt().Avlsdata();
    const TInnavl& innavl = avl.Innavl();
    MeldSloyfer(k, avl);
    TTabell tabell;
    MaalISkrift(tabell, format);
    ListInnavl(innavl, avl.Poster(), tabell);
    if (FormatLeggesUt(format)) tabell.ForsteLayout();
    tabell.MerkAlt();
    return SkrivTabellUt(k, tabell, format == "pdf", type, ut);
  }
};

}  // namespace

const TKommando& KommandoInnavl() {
  static const TInnavlKommando kommando;
  return kommando;
}
