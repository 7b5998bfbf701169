// hornstad-cli statistikk: mean O-indeks by birth year and breed, as the
// numbers behind the "Statistikk" chart, or the chart itself (the lines of
// the breeds chosen) drawn into a PNG, SVG or PDF file as the window draws it.
#include "statistikk.h"

#include <QChart>
#include <charconv>

#include "cp1252.h"
#include "diagram.h"
#include "eksport.h"
#include "felles.h"
#include "okt.h"
#include "register.h"
#include "tabell.h"
#include "trase.h"

namespace {

// Without a table format, a file named .png, .svg or .pdf gets the chart.
bool Diagram(const TArgumenter& a) { return !a.Har("format") && a.Har("ut") && DiagramFiltype(a.Verdi("ut")); }

class TStatistikkKommando : public TKommando {
 public:
  std::string_view Navn() const override { return "statistikk"; }
  std::string_view Kall() const override { return "[--rase N ...] [--format F] [--ut FIL]"; }
  std::string_view Omtale() const override {
    return "snitt O-indeks per fødselsår for rasene (--rase kan gjentas; uten: alle): fødselsår, rase, antall værer "
           "og snittet med én desimal; værer uten O-indeks og gule værer holdes utenfor snittet; --format og --ut som "
           "for avkom; uten --format og med --ut FIL.png, .svg eller .pdf tegnes diagrammet (en linje per rase) i "
           "fila";
  }
  std::string Bruk() const override {
    return "Bruk: hornstad-cli statistikk [--rase N ...] [--format semikolon|tab|excel|html|pdf] "
           "[--ut FIL|FIL.png|FIL.svg|FIL.pdf]\n";
  }
  std::vector<TValg> Valg() const override {
    return {{"rase", "N", "tar med rasen med koden; kan gjentas (uten valget: alle rasene)"},
            FormatValg,
            {"ut", "FIL",
             "fila tabellen lagres i, slik vinduet lagrer den; uten valget skrives teksten ut. Uten --format og med "
             "en fil som slutter på .png, .svg eller .pdf tegnes diagrammet i fila"}};
  }
  int AntallFrie() const override { return 0; }
  bool TrengerSkrift(const TArgumenter& a) const override { return Diagram(a) || FormatLeggesUt(TabellFormat(a)); }
  bool TrengerVinduer(const TArgumenter& a) const override { return Diagram(a); }

  int Kjor(const TKontekst& k, const TArgumenter& a) const override {
    TRasevalg raser;
    for (const auto& [navn, verdi] : a.valg) {
      if (navn != "rase") continue;
      int r = 0;
      if (!LesTall(k, "--rase", verdi, r)) return 2;
      raser.push_back(r);
    }
    const std::string format = TabellFormat(a);
    const std::filesystem::path ut = a.Verdi("ut");
    TEksportType type = TEksportType::Semikolon;
    if (!Diagram(a) && !LesFormat(k, format, ut, type)) return 2;

    TProdusent& reg = k.Register();
    const TStatistikk s = LagStatistikk(reg.Poster());
    const Trase rasenavn;
    if (Diagram(a)) {
      const std::unique_ptr<QChart> diagram = LagSnittDiagram(s, raser, rasenavn);
      LagreDiagram(*diagram, ut);
      return 0;
    }
    TTabell tabell;
    MaalISkrift(tabell, format);
    ListStatistikk(s, raser, rasenavn, tabell);
    if (FormatLeggesUt(format)) tabell.ForsteLayout();
    tabell.MerkAlt();
    return SkrivTabellUt(k, tabell, format == "pdf", type, ut);
  }
};

}  // namespace

const TKommando& KommandoStatistikk() {
  static const TStatistikkKommando kommando;
  return kommando;
}
