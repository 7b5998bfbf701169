// hornstad-cli katalog: the catalogue's selection pass, as the catalogue
// window runs it for the same criteria: the text listing into VerKat.txt in
// the data folder (and on the output), the framed pages of the listing as a
// PDF, or the table of the listed fields through the table window's exports.
#include <algorithm>
#include <charconv>

#include "cp1252.h"
#include "dato.h"
#include "eksport.h"
#include "felles.h"
#include "filer.h"
#include "listing.h"
#include "okt.h"
#include "register.h"
#include "sider.h"
#include "slektskap.h"
#include "soyer.h"
#include "tabell.h"
#include "tekst.h"
#include "trase.h"
#include "utvalg.h"

namespace {

class TKatalog : public TKommando {
 public:
  std::string_view Navn() const override { return "katalog"; }
  std::string_view Kall() const override {
    return "[UTVALG] [--rammer FIL | --tabell FELT,... [--format F] [--ut FIL]]";
  }
  std::string_view Omtale() const override {
    return "værkatalogen slik katalogvinduet lager den: tekstlista (13 linjer per vær) skrives til VerKat.txt i "
           "datamappa og ut på skjermen; med --rammer FIL bare til VerKat.txt, og sidene med rammer («Vis med "
           "rammer») skrives som PDF i FIL; med --tabell en tabell med feltene 0 til 31 (0 Navn, 1 Rase, ..., 30 "
           "Ullanalyse, 31 Innavl\u00A0% med søyene i Soyer.Txt) gjennom tabellvinduets eksport, med --format og "
           "--ut som for avkom.\n"
           "UTVALG: --fylke N og --rase N (kan gjentas; 0 er alle, standard alle), --fra ÅR, --til ÅR, "
           "--minste-indeks N, --semin, --utgatt-semin, --alle-karede, --avkomsgransket, --arets-egne, "
           "--unnga-gule, --egen FIL (egen liste med ett kåringsnummer per linje). Verdiene tas som de er gitt; "
           "uten noen av værslagene gjelder vinduets start: avkomsgranska værer fra 1979 til i fjor med minste "
           "indeks 70. --arets-egne alene tar ingen værer, som i vinduet når «Alle kårede» er slått av igjen";
  }
  std::string Bruk() const override {
    return "Bruk: hornstad-cli katalog [UTVALG] [--tabell FELT,... [--format F] [--ut FIL]] (se --help)\n";
  }
  std::vector<TValg> Valg() const override {
    return {
        // The kinds of ram, and leaving out yellow indexes.
        {"semin", "", "tar med seminværer («Ta med seminværer»)"},
        {"utgatt-semin", "", "tar med værer med utgått semin («Utgått semin»)"},
        {"alle-karede", "", "tar med alle kårede værer fra årene («Alle kårede»)"},
        {"avkomsgransket", "", "tar med avkomsgranska værer fra årene med minst den minste indeksen («Avkomsgranska»)"},
        {"arets-egne", "", "«Årets egne kårede»; tar alene ingen værer"},
        {"unnga-gule", "", "holder gule værer utenfor («Unngå gule værer»)"},
        // The rest of the selection.
        {"fylke", "N", "værer fra fylket med nummeret (1 til 20; 0 er alle); kan gjentas, standard alle"},
        {"rase", "N", "værer av rasen med koden (0 er alle); kan gjentas, standard alle"},
        {"fra", "ÅR", "første år (standard 1979)"},
        {"til", "ÅR", "siste år (standard i fjor)"},
        {"minste-indeks", "N", "minste O-indeks for avkomsgranska værer (standard 70)"},
        {"egen", "FIL", "egen liste: værene med kåringsnumrene i fila, ett per linje, i stedet for hele registeret"},
        // What is written.
        {"tabell", "FELT,...", "en tabell med feltene (0 til 31, skilt med komma) i stedet for tekstlista"},
        {"format", "F",
         "tabellens format, bare med --tabell: semikolon (standard), tab, excel, html eller pdf, som "
         "for avkom"},
        {"ut", "FIL", "fila tabellen lagres i, bare med --tabell; uten valget skrives tabellen ut"},
        {"rammer", "FIL",
         "skriver sidene med rammer («Vis med rammer») som PDF i fila, bare uten --tabell; tekstlista går da bare "
         "til VerKat.txt"},
    };
  }
  int AntallFrie() const override { return 0; }
  // The table is laid out, and the framed pages drawn, in the window's fonts;
  // the text listing needs none.
  bool TrengerSkrift(const TArgumenter& a) const override {
    return (a.Har("tabell") && FormatLeggesUt(TabellFormat(a))) || !a.Verdi("rammer").empty();
  }

  int Kjor(const TKontekst& k, const TArgumenter& a) const override {
    const Trase raser;
    const std::vector<std::string> raseValg = RaseValg(raser);
    const int detteAar = DecodeDate(IDag())->aar;
    TUtvalg u = StartUtvalg(detteAar, static_cast<int>(raseValg.size()));
    bool fylke = false, rase = false, art = false;
    TUtvalg arter;
    arter.avkomgr = false;
    // The values are checked in the order they were given.
    for (const auto& [navn, verdi] : a.valg) {
      const std::string flagg = "--" + navn;
      int v = 0;
      if (navn == "semin") {
        arter.semin = art = true;
      } else if (navn == "utgatt-semin") {
        arter.utgSem = art = true;
      } else if (navn == "alle-karede") {
        arter.gkar = art = true;
      } else if (navn == "avkomsgransket") {
        arter.avkomgr = art = true;
      } else if (navn == "arets-egne") {
        arter.nykar = art = true;
      } else if (navn == "unnga-gule") {
        u.ugul = true;
      } else if (navn == "fylke" || navn == "rase") {
        const bool erFylke = navn == "fylke";
        if (!LesTall(k, flagg, verdi, v)) return 2;
        std::vector<bool>& valg = erFylke ? u.fylker : u.raser;
        if (v < 0 || v >= static_cast<int>(valg.size())) {
          std::fprintf(k.feil, "%s %d finnes ikke (0 til %d).\n", erFylke ? "Fylke" : "Rase", v,
                       static_cast<int>(valg.size()) - 1);
          return 2;
        }
        valg[static_cast<std::size_t>(v)] = true;
        (erFylke ? fylke : rase) = true;
      } else if (navn == "fra" || navn == "til" || navn == "minste-indeks") {
        if (!LesTall(k, flagg, verdi, v)) return 2;
        (navn == "fra" ? u.fra : navn == "til" ? u.til : u.antall) = v;
      }
    }
    const bool tabell = a.Har("tabell");
    const std::string format = a.Verdi("format");
    const std::filesystem::path ut = a.Verdi("ut");
    const std::filesystem::path egen = a.Verdi("egen");
    const std::filesystem::path rammer = a.Verdi("rammer");
    if (!tabell && (!format.empty() || !ut.empty())) {
      std::fputs("Valgene --format og --ut gjelder bare sammen med --tabell.\n", k.feil);
      return 2;
    }
    if (tabell && !rammer.empty()) {
      std::fputs("Valget --rammer gjelder bare uten --tabell.\n", k.feil);
      return 2;
    }
    // Without a kind the window's initial kinds apply; the lists default to
    // "all", which the window leaves to the user.
    if (art) {
      u.semin = arter.semin;
      u.utgSem = arter.utgSem;
      u.gkar = arter.gkar;
      u.avkomgr = arter.avkomgr;
      u.nykar = arter.nykar;
    }
    if (!fylke) u.fylker[0] = true;
    if (!rase) u.raser[0] = true;

    TSkalMed skalMed{};
    if (tabell) {
      const std::string feltliste = a.Verdi("tabell");
      std::size_t pos = 0;
      while (pos < feltliste.size()) {
        std::size_t slutt = feltliste.find(',', pos);
        if (slutt == std::string::npos) slutt = feltliste.size();
        int felt = 0;
        if (!LesTall(k, "--tabell", feltliste.substr(pos, slutt - pos), felt)) return 2;
        if (felt < 0 || felt >= AntallTabellfelt) {
          std::fprintf(k.feil, "Tabellfelt %d finnes ikke (0 til %d).\n", felt, AntallTabellfelt - 1);
          return 2;
        }
        skalMed[static_cast<std::size_t>(felt)] = true;
        pos = slutt + 1;
      }
    }
    TEksportType type = TEksportType::Semikolon;
    if (!LesFormat(k, format.empty() ? "semikolon" : format, ut, type)) return 2;

    std::vector<std::string> egenListe;
    if (!egen.empty()) {
      std::error_code ec;
      if (!std::filesystem::is_regular_file(FinnFil(egen.parent_path(), egen.filename().string()), ec)) {
        std::fprintf(k.feil, "Finner ikke fila %s.\n", egen.c_str());
        return 1;
      }
      egenListe = LesEgenListe(egen);
      u.egenListe = true;
    }

    TProdusent& reg = k.Register();
    TFremdriftslinje linje(k, "Leser værer     ");
    const TUtvalgFremdrift fremdrift = [&](int64_t lest, int64_t totalt) { return linje(lest, totalt); };
    if (!tabell) {
      if (rammer.empty()) {
        // The listing goes to the output as it is written, line ends as LF.
        std::string tekst;
        const auto skjerm = [&tekst, &k](std::string_view blokk) {
          tekst.clear();
          for (std::size_t pos = 0; pos < blokk.size();) {
            const std::size_t cr = std::min(blokk.find('\r', pos), blokk.size());
            Cp1252TilUtf8(blokk.substr(pos, cr - pos), tekst);
            pos = cr + 1;
          }
          std::fwrite(tekst.data(), 1, tekst.size(), k.ut);
        };
        TTekstKatalog katalog(reg, raser, {}, skjerm);
        Utplukk(
            reg, u, egenListe, [&](const TVerPost& p) { katalog.Ta(p); }, fremdrift);
        katalog.Fullfor();
        return 0;
      }
      TTekstKatalog katalog(reg, raser);
      Utplukk(
          reg, u, egenListe, [&](const TVerPost& p) { katalog.Ta(p); }, fremdrift);
      katalog.Fullfor();
      // The framed pages of the listing, as "Vis med rammer" makes them
      // from the lines the window shows.
      SkrivRammerPdf(*LagSider(TekstLinjer(LesHeleFila(katalog.Fil()))), rammer);
      return 0;
    }
    // "Innavl %" from the breeder's ewes in Soyer.Txt, when the field is asked for.
    TInnavlCelle innavlCelle;
    if (skalMed[InnavlFelt]) {
      TOkt& okt = k.Okt();
      okt.LesSoyer();
      for (const std::string& m : okt.SoyeMeldinger()) std::fprintf(k.feil, "%s\n", Cp1252TilUtf8(m).c_str());
      // The means of the rams picked alone: their figures and their ancestors'.
      std::vector<int32_t> valgte;
      Utplukk(reg, u, egenListe, [&](const TVerPost& p) { valgte.push_back(p.Nummer); });
      if (const std::shared_ptr<const TInnavlSnitt> snitt = InnavlSnittFor(okt.Avlsdata(), okt.Soyer(), valgte))
        innavlCelle = [snitt](int32_t nummer) { return snitt->Celle(nummer); };
      MeldSloyfer(k, okt.Avlsdata());
    }
    TTabell t;
    MaalISkrift(t, format.empty() ? "semikolon" : format);
    TTabellKatalog katalog(reg, t, skalMed, KatalogTittel(u, raseValg), innavlCelle);
    UtplukkPoster(
        reg, u, egenListe, [&](const TVerPost& p, int32_t indeks) { katalog.TaSenere(p, indeks); }, fremdrift);
    katalog.Fullfor();
    // The layout the table window gives the table when it is shown.
    if (FormatLeggesUt(format.empty() ? "semikolon" : format)) t.ForsteLayout();
    t.MerkAlt();
    return SkrivTabellUt(k, t, format == "pdf", type, ut);
  }
};

}  // namespace

const TKommando& KommandoKatalog() {
  static const TKatalog kommando;
  return kommando;
}
