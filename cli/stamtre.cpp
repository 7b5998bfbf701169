// hornstad-cli stamtre NUMMER --ut FIL: the pedigree drawn as the preview
// draws it, into a PDF, PNG or SVG file.
#include "stamtre.h"

#include "cp1252.h"
#include "felles.h"
#include "okt.h"
#include "register.h"
#include "tekst.h"
#include "trase.h"

namespace {

class TStamtre : public TKommando {
 public:
  std::string_view Navn() const override { return "stamtre"; }
  std::string_view Kall() const override { return "NUMMER --ut FIL"; }
  std::string_view Omtale() const override {
    return "tegner stamtreet til væren med kåringsnummeret inn i FIL: .pdf (én A4-side), .png (1280 x 1920) eller "
           ".svg";
  }
  std::string Bruk() const override { return "Bruk: hornstad-cli stamtre NUMMER --ut FIL.pdf|FIL.png|FIL.svg\n"; }
  std::vector<TValg> Valg() const override {
    return {{"ut", "FIL", "fila stamtreet tegnes i, med navn som slutter på .pdf, .png eller .svg; må gis"}};
  }
  int AntallFrie() const override { return 1; }
  bool TrengerSkrift(const TArgumenter&) const override { return true; }

  int Kjor(const TKontekst& k, const TArgumenter& a) const override {
    const std::string& nummerTekst = a.frie[0];
    const std::filesystem::path ut = a.Verdi("ut");
    if (nummerTekst.empty() || ut.empty()) return FeilBruk(k);
    if (!StamtreFiltype(ut)) {
      std::fprintf(k.feil, "Kan ikke skrive stamtreet som «%s»; fila må slutte på .pdf, .png eller .svg.\n",
                   ut.filename().c_str());
      return 2;
    }

    TProdusent& reg = k.Register();
    const TVerPost ver = reg.FindByNumber(LesHeltall(Utf8TilCp1252(nummerTekst)));
    if (ver.Nummer == 0) {
      std::fprintf(k.feil, "Fant ingen vær med kåringsnummer %s.\n", nummerTekst.c_str());
      return 1;
    }
    const Trase raser;
    SkrivStamtre(*ByggStamtre(ver, reg, raser), ut);
    return 0;
  }
};

}  // namespace

const TKommando& KommandoStamtre() {
  static const TStamtre kommando;
  return kommando;
}
