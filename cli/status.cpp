// hornstad-cli status: the data folder, the number of rams and the first ten.
#include <algorithm>

#include "dato.h"
#include "felles.h"
#include "okt.h"
#include "register.h"
#include "tekst.h"
#include "trase.h"

namespace {

class TStatus : public TKommando {
 public:
  std::string_view Navn() const override { return "status"; }
  std::string_view Omtale() const override { return "antall værer i registeret og de første værene"; }
  // Takes any arguments and passes them over.

  int Kjor(const TKontekst& k, const TArgumenter&) const override {
    TProdusent& reg = k.Register();
    std::fprintf(k.ut, "Datamappe: %s\n", k.data.c_str());
    std::fprintf(k.ut, "%zu værer\n", reg.RamNumbers().size());
    if (const std::string advarsel = reg.Advarsel(); !advarsel.empty())
      std::fprintf(k.feil, "Advarsel: %s\n", advarsel.c_str());
    const Trase raser;
    const int32_t vis = std::min<int32_t>(reg.RecordCount(), 10);
    for (int32_t i = 0; i < vis; ++i) {
      const TVerPost p = reg.ReadAt(i);
      Skriv(k, PadLeft(IntToText(p.Nummer), 9) + "  " + PadRight(NameCase(p.Navn.Verdi()), 21) +
                   PadRight(raser.BreedName(p.Rase), 16) + DateToText(p.IndeksDato) + "\n");
    }
    if (reg.RecordCount() > vis) Skriv(k, "...\n");
    return 0;
  }
};

}  // namespace

const TKommando& KommandoStatus() {
  static const TStatus kommando;
  return kommando;
}
