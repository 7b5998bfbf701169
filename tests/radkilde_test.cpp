// Rows made when they are read (NyeRader, a grid's row source): a table
// filled so answers every question exactly as the same table filled a row at
// a time through NyRad, and holds no text for its rows until one is edited.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "eksport.h"
#include "rutenett.h"
#include "sortering.h"
#include "tabell.h"

namespace {

// Row texts that reach the rules: format codes, a cut text (no closing ';'),
// more cells than columns, empty cells, decimal commas, dates, negative
// numbers, equal keys, letters that sort by their own weights, and a first
// column of judging numbers.
const std::vector<std::string>& Tekster() {
  static const std::vector<std::string> t = {
      "1900123;\x01Rambo;12,50;01/02/2005;",
      "1900007;Bj\xF8rn Lang Navn Her;-3;31/12/2004;ekstra;mer;",
      "1900456;\x04Gammel;12,50;;",
      "1900007;alf;0,25;05/03/2005;",
      "1900999;\xC5sen;7;01/02/2005;",
      "1900100;Zeta;12,5;15/06/2003;",
      "1900200;;;;",
      "1900300;\x02kursiv;1 000;01/01/2001;",
      "1900400;beta;abc;02/02/2002",
      "1900500;\xC6rfugl;-0,5;03/03/2003;",
      "1900600;Ulv;100;04/04/2004;",
      "1900700;ulv;100;04/04/2004;",
  };
  return t;
}

constexpr int AntKol = 4;

// The same table filled both ways (with a footer, as the lists have).
void Fyll(TTabell& t, bool kilde, std::size_t gjentak = 1) {
  t.Oppsett(AntKol, 12, 0, 1, 1, "Test tabell", Rod, Blaa);
  t.NyRad("V\xE6rnr.;Navn;Tall;Dato;");
  const std::vector<std::string>& tekster = Tekster();
  const int antall = static_cast<int>(tekster.size() * gjentak);
  if (kilde)
    t.NyeRader(antall,
               [&tekster](int i, std::string& rad) { rad = tekster[static_cast<std::size_t>(i) % tekster.size()]; });
  else
    for (int i = 0; i < antall; ++i) t.NyRad(tekster[static_cast<std::size_t>(i) % tekster.size()]);
  t.NyBunnRad(";;;;");
}

// Everything a user or a command can read from a table.
std::vector<std::string> Alt(const TTabell& t) {
  std::vector<std::string> ut;
  const TRutenett& g = t.Hoved();
  for (int r = 0; r < g.Rader(); ++r) {
    std::string linje;
    for (int k = 0; k < g.Kolonner(); ++k) linje += g.Celle(k, r) + "|" + std::to_string(g.Flagg(k, r)) + "|";
    ut.push_back(linje + std::to_string(g.Radhoyde(r)));
  }
  for (const std::string& b : t.Bredeste) ut.push_back("bredest " + b);
  for (int k = 0; k < t.Bunn().Kolonner(); ++k) ut.push_back("bunn " + t.Bunn().Celle(k, 0));
  ut.push_back("valg " + std::to_string(g.Valg().topp) + "-" + std::to_string(g.Valg().bunn));
  for (TEksportType type : {TEksportType::Semikolon, TEksportType::Tab, TEksportType::TabKomma, TEksportType::Regneark,
                            TEksportType::Html}) {
    const TEksport e = Eksporter(t, type);
    ut.push_back(e.Filinnhold());
    ut.push_back(e.Utklipp());
    std::string linjer;
    EksportLinjer(t, type, [&linjer](std::string_view l) {
      linjer += l;
      linjer += '\n';
    });
    ut.push_back(linjer);
  }
  for (int32_t n : t.MerkedeNumre()) ut.push_back("nummer " + std::to_string(n));
  return ut;
}

TEST(Radkilde, SvarerSomRaderLagtInnEnOgEn) {
  struct Tilfelle {
    const char* navn;
    std::function<void(TTabell&)> gjor;
  };
  const auto sorter = [](int kol, bool minkende, std::size_t grense) {
    return [=](TTabell& t) {
      t.MerkAlt();
      t.Hoved().SettGjeldende(kol, 1);
      Sorter(t.Hoved(), minkende, {}, grense);
    };
  };
  const auto finn = [](const char* tekst) {
    return [=](TTabell& t) {
      TFinnTilstand f;
      std::string treff;
      while (const auto p = Finn(t.Hoved(), f, tekst))
        treff += std::to_string(p->kol) + "," + std::to_string(p->rad) + ";";
      t.Hoved().SettCelle(0, 0, treff);  // the hits, for the comparison
    };
  };
  const Tilfelle tilfeller[] = {
      {"fylt", [](TTabell&) {}},
      {"merket alt", [](TTabell& t) { t.MerkAlt(); }},
      {"merket blokk",
       [](TTabell& t) {
         t.Hoved().SettValg(TOmraade{1, 3, 2, 7});
       }},
      {"tall byttepass okende", sorter(2, false, Byttegrense)},
      {"tall byttepass minkende", sorter(2, true, Byttegrense)},
      {"tall stabil", sorter(2, false, 2)},
      {"navn stabil minkende", sorter(1, true, 2)},
      {"dato", sorter(3, false, Byttegrense)},
      {"nummer", sorter(0, true, 2)},
      {"merkede rader sortert",
       [](TTabell& t) {
         t.Hoved().SettValg(TOmraade{0, 3, 3, 9});
         t.Hoved().SettGjeldende(1, 9);
         t.Hoved().SettValg(TOmraade{0, 3, 3, 9});
         Sorter(t.Hoved(), false);
       }},
      {"finn", finn("ulv")},
      {"finn kode", finn("\x01R")},
      {"finn ingenting", finn("finnes ikke")},
      {"sum",
       [](TTabell& t) {
         t.Hoved().SettValg(TOmraade{2, 1, 2, 1});
         SummerKolonne(t);
       }},
      {"snitt merket",
       [](TTabell& t) {
         t.Hoved().SettValg(TOmraade{2, 2, 2, 6});
         SnittKolonne(t);
       }},
      {"snitt dato",
       [](TTabell& t) {
         t.Hoved().SettValg(TOmraade{3, 1, 3, 1});
         t.BunnVist = true;
         EXPECT_FALSE(SnittKolonne(t).has_value());
       }},
      {"tell",
       [](TTabell& t) {
         t.Hoved().SettValg(TOmraade{1, 2, 1, 5});
         TellLinjer(t);
       }},
      {"slett merkede",
       [](TTabell& t) {
         t.Hoved().SettValg(TOmraade{0, 2, 3, 4});
         t.SlettMerkede();
         t.MerkAlt();
       }},
      {"kolonne flyttet",
       [](TTabell& t) {
         t.Hoved().FlyttKolonne(3, 1);
         t.Hoved().FlyttKolonne(0, 2);
         t.MerkAlt();
       }},
      {"rad flyttet og byttet",
       [](TTabell& t) {
         t.Hoved().FlyttRad(2, 8);
         t.Hoved().ByttRader(1, 5);
         t.Hoved().SettInnRad(4);
         t.MerkAlt();
       }},
      {"endret celle og flagg sorteres med",
       [sorter](TTabell& t) {
         t.Hoved().SettCelle(1, 3, "Endret");
         t.Hoved().SettFlagg(2, 5, 7);
         t.Hoved().SettRadhoyde(6, 40);
         sorter(1, false, 2)(t);
       }},
      {"smalere og bredere",
       [](TTabell& t) {
         t.Hoved().SettKolonner(3);
         t.Hoved().SettKolonner(5);
         t.MerkAlt();
       }},
      {"kopi",
       [](TTabell& t) {
         TRutenett kopi = t.Hoved();
         kopi.SettCelle(1, 2, "bare i kopien");
         t.Hoved() = kopi;
         t.MerkAlt();
       }},
  };
  for (const Tilfelle& c : tilfeller) {
    TTabell enOgEn, kilde;
    Fyll(enOgEn, false);
    Fyll(kilde, true);
    c.gjor(enOgEn);
    c.gjor(kilde);
    EXPECT_EQ(Alt(kilde), Alt(enOgEn)) << c.navn;
  }
}

TEST(Radkilde, HolderIngenTekstForRadeneForEnCelleEndres) {
  TTabell t;
  Fyll(t, true, 500);
  TRutenett& g = t.Hoved();
  ASSERT_EQ(g.Rader(), 1 + 12 * 500);
  EXPECT_EQ(g.LagredeRader(), 1);  // the header row
  // Showing, sorting, finding, summing and exporting read the rows and keep none.
  t.MerkAlt();
  g.SettGjeldende(1, 1);
  Sorter(g, true);
  TFinnTilstand f;
  Finn(g, f, "ZETA");
  SummerKolonne(t);
  Eksporter(t, TEksportType::Html);
  EXPECT_EQ(g.LagredeRader(), 1);
  // An edited cell is kept with its row; the rest of the row stays as made.
  const std::string navn = g.Celle(1, 100);
  g.SettCelle(2, 100, "99999999");
  EXPECT_EQ(g.LagredeRader(), 2);
  g.SettGjeldende(2, 1);
  Sorter(g, true);
  EXPECT_EQ(g.Celle(1, 1), navn);
  EXPECT_EQ(g.Celle(2, 1), "99999999");
}

// A receiver that knows only NyRad gets every row's text through it.
TEST(Radkilde, MottakerUtenEgneRaderFaarTekstene) {
  struct TOpptak : TTabellMottaker {
    std::vector<std::string> rader;
    void Oppsett(int, int, int, int, int, const std::string&, TFarge, TFarge) override {}
    void NyRad(std::string_view t) override { rader.emplace_back(t); }
    void NyBunnRad(std::string_view) override {}
  } opptak;
  opptak.NyeRader(3, [](int i, std::string& rad) { rad += std::to_string(i) + ";x;"; });
  EXPECT_EQ(opptak.rader, (std::vector<std::string>{"0;x;", "1;x;", "2;x;"}));
}

}  // namespace
