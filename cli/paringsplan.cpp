// hornstad-cli paringsplan --verer N,N,…: the mating plan of the ewes of
// Soyer.Txt (or another list) against the rams, as the "Paringsplan" table.
#include <QSettings>

#include "cp1252.h"
#include "eksport.h"
#include "felles.h"
#include "okt.h"
#include "register.h"
#include "skall.h"
#include "slektskap.h"
#include "soyer.h"
#include "tabell.h"

namespace {

class TParingsplanKommando : public TKommando {
 public:
  std::string_view Navn() const override { return "paringsplan"; }
  std::string_view Kall() const override { return "[--soyer FIL] --verer N,N,... [--format F] [--ut FIL]"; }
  std::string_view Omtale() const override {
    return "forventet innavlsgrad for lam av hver søye i Soyer.Txt i datamappa (eller FIL) med hver av værene, og "
           "snittet per vær; celler ved eller over grensa [Avl] Grense i Hornstad.Ini er røde i html og pdf; "
           "--format og --ut som for avkom (i en tekstfil er snittet siste rad, «Snitt»)";
  }
  std::string Bruk() const override {
    return "Bruk: hornstad-cli paringsplan [--soyer FIL] --verer N,N,... "
           "[--format semikolon|tab|excel|html|pdf] [--ut FIL]\n";
  }
  std::vector<TValg> Valg() const override {
    return {{"soyer", "FIL",
             "søyene fra fila (søyenummer;far;morfar, eventuelt ;mormors far, på hver linje) i stedet for Soyer.Txt"},
            {"verer", "N,N,...", "kåringsnumrene til værene, skilt med komma; må gis"},
            FormatValg,
            UtValg};
  }
  int AntallFrie() const override { return 0; }
  bool TrengerSkrift(const TArgumenter& a) const override { return FormatLeggesUt(TabellFormat(a)); }

  int Kjor(const TKontekst& k, const TArgumenter& a) const override {
    if (!a.Har("verer")) return FeilBruk(k);
    std::vector<int32_t> verer;
    if (!LesNummerliste(k, "--verer", a.Verdi("verer"), verer)) return 2;
    const std::string format = TabellFormat(a);
    const std::filesystem::path ut = a.Verdi("ut");
    TEksportType type = TEksportType::Semikolon;
    if (!LesFormat(k, format, ut, type)) return 2;

    const std::filesystem::path fil = a.Har("soyer") ? std::filesystem::path(a.Verdi("soyer")) : SoyeFil(k.data);
    std::vector<TSoye> soyer;
    if (!LesSoyerTil(k, fil, soyer)) return 1;

    k.Register();  // loads the register the figures are made of
    TAvlsdata& avl = k.Okt().Avlsdata();
    // The plan needs the coefficients of the rams', the ewes' sires', their
    // dams' sires' and their dams' dams' sires' ancestors only.
    std::vector<int32_t> parter = verer;
    for (const TSoye& soye : soyer) parter.insert(parter.end(), {soye.far, soye.morfar, soye.mormorfar});
    const TParingsplan plan = LagParingsplan(avl.InnavlFor(parter), soyer, verer);
    MeldSloyfer(k, avl);
    for (int32_t nr : plan.ukjente) std::fprintf(k.feil, "Kåringsnummer %d finnes ikke i registeret.\n", nr);
    if (plan.verer.empty()) return 1;

    // A delimited file has no footer: the means are its last row there.
    const bool tekstfil = format != "pdf" && type != TEksportType::Html;
    TTabell tabell;
    MaalISkrift(tabell, format);
    ListParingsplan(plan, k.Okt().Grense(), tabell, tekstfil ? TSnittrad::SisteRad : TSnittrad::Bunnrad);
    if (FormatLeggesUt(format)) tabell.ForsteLayout();
    tabell.MerkAlt();
    return SkrivTabellUt(k, tabell, format == "pdf", type, ut);
  }
};

}  // namespace

const TKommando& KommandoParingsplan() {
  static const TParingsplanKommando kommando;
  return kommando;
}
