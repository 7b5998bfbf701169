// hornstad-cli importer FIL: a ram export, or a ZIP archive holding one, read
// in as the new register.
#include "endringer.h"
#include "felles.h"
#include "filimport.h"
#include "ramimport.h"
#include "register.h"

namespace {

class TImporter : public TKommando {
 public:
  std::string_view Navn() const override { return "importer"; }
  std::string_view Kall() const override { return "FIL"; }
  std::string_view Omtale() const override {
    return "leser inn en væreksport (Vedder2.Tex) eller et zip-arkiv som holder en, som nytt værregister";
  }
  int AntallFrie() const override { return 1; }

  int Kjor(const TKontekst& k, const TArgumenter& a) const override {
    TEndringsvakt endringer(k.data);
    TKonvertering r;
    {
      TFremdriftslinje linje(k, "Leser inn værer");
      r = ImporterFil(a.frie[0], k.data, [&](int64_t gjort, int64_t totalt) { return linje(gjort, totalt); });
    }
    // The new register holds the records the conversion made; it is loaded
    // only for the change report of the lists.
    std::fprintf(k.ut, "%lld værer\n", static_cast<long long>(r.poster));
    MeldKorteLinjer(k, r);
    TProdusent reg(k.data);
    if (endringer.HarLister()) reg.LoadRegister();
    MeldEndringer(k, endringer, reg);
    return 0;
  }
};

}  // namespace

const TKommando& KommandoImporter() {
  static const TImporter kommando;
  return kommando;
}
