#include "seminrad.h"

#include <gtest/gtest.h>

#include <QDate>
#include <algorithm>
#include <map>

#include "cp1252.h"
#include "dato.h"
#include "eksempeldata.h"
#include "register.h"
#include "tekst.h"
#include "testmappe.h"

namespace {

std::string U(const std::string& cp1252) { return Cp1252TilUtf8(cp1252); }

// What one cell entry gave.
struct Celleutfall {
  std::string tekst;
  bool gyldig;
  std::vector<std::string> meldinger;
  bool merket;
  bool radLagtTil;
};

// A season of 2005 with an empty grid and a small ram list.
class SemGrid : public ::testing::Test {
 protected:
  void SetUp() override {
    OppsettGrid(g);
    s.Semaar = 2005;
    s.InsemNavn = "Kari";
    s.Ver = [this](int32_t n) -> std::optional<TSemVer> {
      const auto it = verer.find(n);
      if (it == verer.end()) return std::nullopt;
      return it->second;
    };
  }
  Celleutfall Skriv(int kol, std::string tekst, int rad = 1) {
    bool gyldig = false;
    const TSemSjekk r = GriSemCellValidate(s, g, kol, rad, tekst, gyldig);
    EXPECT_EQ(g.Celle(kol, rad), tekst);
    return {tekst, gyldig, r.meldinger, r.merket, r.radLagtTil};
  }
  // A keyed row: birth year and ewe number set.
  void Nokle(int rad = 1) {
    g.SettCelle(KolFodtAar, rad, "2003");
    g.SettCelle(KolSoye, rad, "12");
  }
  bool Rod(int kol, int rad = 1) const { return (g.Flagg(kol, rad) & SemFeilFlagg) != 0; }

  TSemin s;
  TRutenett g;
  std::map<int32_t, TSemVer> verer = {{11111, {1, "ULF"}}, {22222, {0, "PER"}}, {33333, {2, "OLA"}}};
};

using Meldinger = std::vector<std::string>;

}  // namespace

TEST(SemKolonner, TitlerBredderOgHjelpetekster) {
  struct Kolonne {
    int bredde;
    const char* tittel;
  };
  const Kolonne forventet[SemAntKol] = {{35, "Født  års- tall"},
                                        {44, "Søye nummer"},
                                        {63, "Brunst Dato står for væren"},
                                        {24, "Brunst  kl"},
                                        {38, "Ant Brunst kontrol"},
                                        {65, "Semin Dato"},
                                        {25, "Semin kl"},
                                        {75, "Værens  Kårings- nummer"},
                                        {30, "Prod uke sæd"},
                                        {37, "Prod år sæd"},
                                        {30, "Fross/ Fersk"},
                                        {28, "Dep- oni "},
                                        {32, "Kon- trol- lert"},
                                        {72, "Omløp dato Tom hvis ikke omløp"}};
  for (int k = 0; k < SemAntKol; ++k) {
    EXPECT_EQ(SemKolonner[k].bredde, forventet[k].bredde) << k;
    EXPECT_EQ(Cp1252TilUtf8(SemKolonner[k].tittel), forventet[k].tittel) << k;
  }
  // The texts with letters outside ASCII, and the two where hint and status differ.
  EXPECT_EQ(Cp1252TilUtf8(SemKolonner[0].hint), "Søyas fødselsår 2 eller 4 siffer");
  EXPECT_EQ(Cp1252TilUtf8(SemKolonner[7].hint), "Værens kåringsnummer, rødt felt er feil værnummer");
  EXPECT_EQ(Cp1252TilUtf8(SemKolonner[8].status), "Sædens produksjonsuke (o fersk/gammel (1..5,39..52)frossen");
  EXPECT_EQ(Cp1252TilUtf8(SemKolonner[11].status), "Deponering av sæd, 1=børhals 2=skjeden");
  EXPECT_EQ(Cp1252TilUtf8(SemKolonner[12].hint), "Skriv 1 hvis kontroll for omløp er registrert, 2 hvis ikke.");
  EXPECT_EQ(Cp1252TilUtf8(SemKolonner[13].status), "Dato for eventuelt omløp. Tomt er ikke omløp.");
  EXPECT_EQ(Cp1252TilUtf8(MeldUtgattSemin), "Denne væren er utgått semin");
  EXPECT_EQ(Cp1252TilUtf8(MeldProdUke), "Gyldig produlsjonsuke må oppgis");
}

TEST(LesDato, SkrevneDatoer) {
  struct Tilfelle {
    const char* inn;
    int semaar;
    const char* ut;
    bool gyldig;
  };
  const Tilfelle tilfeller[] = {
      {"1.5", 2005, "01/05/2005", true},
      {"0105", 2005, "01/05/2005", true},
      {"12.05.05", 2004, "12/05/2005", true},
      {"12/5/2005", 2004, "12/05/2005", true},
      {"3.4.2004", 2005, "03/04/2004", true},
      {"1.5", 2003, "01/05/2003", true},
      {"01.05.99", 2005, "01/05/2005", true},
      {"1.5.1998", 2004, "01/05/2004", true},
      // The year is read from a fixed place after the month: here "9".
      {"1.5.99", 2005, "01/05/2009", true},
      {"29.02.04", 2005, "29/02/2004", true},
      {"29.02", 2005, "Feildato", false},
      {"31.02", 2005, "Feildato", false},
      {"15.13", 2005, "Feildato", false},
      {"", 2005, "Feildato", false},
      {"Feildato", 2005, "Feildato", false},
      // A year after 2899 is still a calendar date and is written out.
      {"01.01.5000", 2005, "01/01/5000", true},
      {"1e1e55000", 2015, "01/01/5000", true},
      {"31/12/9999", 2005, "31/12/9999", true},
  };
  for (const auto& t : tilfeller) {
    std::string tekst = t.inn;
    EXPECT_EQ(LesDato(tekst, t.semaar), t.gyldig) << t.inn;
    EXPECT_EQ(tekst, t.ut) << t.inn;
  }
}

TEST(LesDato, KontrollenesDatolesing) {
  EXPECT_EQ(DatoFraTekst("11/10/2005"), EncodeDate(2005, 10, 11));
  EXPECT_EQ(DatoFraTekst(" 1/2/2005 "), EncodeDate(2005, 2, 1));
  for (const char* t : {"", "Feildato", "11/10", "31/02/2005", "11.10.2005", "11/10/2005x"})
    EXPECT_FALSE(DatoFraTekst(t)) << t;
}

TEST_F(SemGrid, FodselsaarRundtSesongen) {
  struct Tilfelle {
    const char* inn;
    const char* ut;
    bool gyldig;
  };
  const Tilfelle tilfeller[] = {{"3", "2003", true},    {"95", "1995", false},  {"96", "1996", true},
                                {"1996", "1996", true}, {"2005", "2005", true}, {"2006", "2006", false},
                                {"50", "2050", false},  {"51", "1951", false}};
  for (const auto& t : tilfeller) {
    s.Lnav = "Vær :X";
    const Celleutfall r = Skriv(KolFodtAar, t.inn);
    EXPECT_EQ(r.tekst, t.ut) << t.inn;
    EXPECT_EQ(r.gyldig, t.gyldig) << t.inn;
    EXPECT_EQ(Rod(KolFodtAar), !t.gyldig) << t.inn;
    EXPECT_EQ(s.Lnav, "Kari");
  }
  // An empty year leaves the red mark as it was.
  const Celleutfall tom = Skriv(KolFodtAar, "");
  EXPECT_FALSE(tom.merket);
  EXPECT_TRUE(Rod(KolFodtAar));
  EXPECT_TRUE(s.Endret);
}

TEST_F(SemGrid, SoyenummerOgKontrollerSjekkesIAlleRader) {
  EXPECT_FALSE(Skriv(KolSoye, "0").gyldig);
  EXPECT_FALSE(Skriv(KolSoye, "x").gyldig);
  EXPECT_TRUE(Skriv(KolSoye, "7").gyldig);
  g.SettCelle(KolSoye, 1, "");
  for (auto [inn, gyldig] : {std::pair{"0", false}, {"1", true}, {"4", true}, {"5", false}}) {
    EXPECT_EQ(Skriv(KolKontroller, inn).gyldig, gyldig) << inn;
    EXPECT_EQ(Rod(KolKontroller), !gyldig) << inn;
  }
}

TEST_F(SemGrid, RadUtenNokkelGodtarAltUendret) {
  g.SettCelle(KolFodtAar, 1, "2003");  // no ewe number yet
  for (int kol : {2, 3, 5, 6, 7, 8, 9, 10, 11, 12, 13}) {
    g.SettFlagg(kol, 1, SemFeilFlagg);
    const Celleutfall r = Skriv(kol, "99x");
    EXPECT_EQ(r.tekst, "99x") << kol;
    EXPECT_TRUE(r.gyldig) << kol;
    EXPECT_TRUE(r.meldinger.empty()) << kol;
    EXPECT_FALSE(Rod(kol)) << kol;
  }
  EXPECT_EQ(g.Rader(), 2);  // neither the ram nor the deposition added a row
}

TEST_F(SemGrid, DatokolonnerSkrivesOm) {
  Nokle();
  for (int kol : {KolBrunstDato, KolSemDato}) {
    const Celleutfall god = Skriv(kol, "11.10");
    EXPECT_EQ(god.tekst, "11/10/2005");
    EXPECT_TRUE(god.gyldig);
    const Celleutfall feil = Skriv(kol, "32.10");
    EXPECT_EQ(feil.tekst, "Feildato");
    EXPECT_FALSE(feil.gyldig);
    EXPECT_TRUE(Rod(kol));
  }
}

TEST_F(SemGrid, KlokkeslettToSiffer) {
  Nokle();
  g.SettCelle(KolBrunstDato, 1, "10/10/2005");
  g.SettCelle(KolBrunstKl, 1, "20");
  g.SettCelle(KolSemDato, 1, "11/10/2005");
  struct Tilfelle {
    const char* inn;
    const char* ut;
    bool gyldig;
  };
  const Tilfelle tilfeller[] = {{"7", "07", true},   {"0", "00", true},   {"23", "23", true},
                                {"24", "24", false}, {"-1", "-1", false}, {"", "00", true}};
  for (int kol : {KolBrunstKl, KolSemKl})
    for (const auto& t : tilfeller) {
      const Celleutfall r = Skriv(kol, t.inn);
      EXPECT_EQ(r.tekst, t.ut) << kol << " " << t.inn;
      EXPECT_EQ(r.gyldig, t.gyldig) << kol << " " << t.inn;
    }
}

TEST_F(SemGrid, TimerFraBrunstTilInseminering) {
  Nokle();
  g.SettCelle(KolBrunstDato, 1, "10/10/2005");
  g.SettCelle(KolBrunstKl, 1, "20");
  struct Tilfelle {
    const char* semDato;
    const char* semKl;
    bool melding;
  };
  // 12 and 27 hours, and the limits 8 and 26 with one hour either side.
  const Tilfelle tilfeller[] = {{"11/10/2005", "08", false}, {"11/10/2005", "23", true},  {"11/10/2005", "04", false},
                                {"11/10/2005", "03", true},  {"11/10/2005", "22", false}, {"10/10/2005", "23", true},
                                {"09/10/2005", "20", true}};
  for (const auto& t : tilfeller) {
    g.SettCelle(KolSemDato, 1, t.semDato);
    const Celleutfall r = Skriv(KolSemKl, t.semKl);
    EXPECT_TRUE(r.gyldig);
    EXPECT_EQ(r.meldinger, t.melding ? Meldinger{MeldUnormalTid} : Meldinger{}) << t.semDato << " " << t.semKl;
  }
  // The latest insemination time is kept, never an earlier one.
  EXPECT_DOUBLE_EQ(s.SisteSemin, *EncodeDate(2005, 10, 11) + 23.0 / 24.0);
}

TEST_F(SemGrid, UlesbarDatoIKontrollBeholderTekstOgDom) {
  Nokle();
  g.SettCelle(KolBrunstDato, 1, "Feildato");
  g.SettCelle(KolSemDato, 1, "11/10/2005");
  g.SettFlagg(KolSemKl, 1, SemFeilFlagg);
  const Celleutfall r = Skriv(KolSemKl, "8");
  EXPECT_EQ(r.tekst, "08");
  EXPECT_TRUE(r.gyldig);
  EXPECT_FALSE(r.merket);
  EXPECT_TRUE(Rod(KolSemKl));  // the mark is left as it was
  EXPECT_EQ(r.meldinger, (Meldinger{MeldUnormalTid, IkkeGyldigDato("Feildato")}));
  EXPECT_EQ(s.SisteSemin, 0.0);

  // An empty insemination date in the cycle check, and a return date that is
  // no date.
  g.SettCelle(KolSemDato, 1, "");
  const Celleutfall omlop = Skriv(KolOmlop, "28.10");
  EXPECT_EQ(omlop.tekst, "28/10/2005");
  EXPECT_EQ(omlop.meldinger, Meldinger{IkkeGyldigDato("")});
  g.SettCelle(KolSemDato, 1, "11/10/2005");
  const Celleutfall feil = Skriv(KolOmlop, "31.11.2005");
  EXPECT_EQ(feil.tekst, "Feildato");
  EXPECT_TRUE(feil.gyldig);
  EXPECT_FALSE(feil.merket);
  EXPECT_EQ(feil.meldinger, Meldinger{IkkeGyldigDato("Feildato")});
}

TEST_F(SemGrid, VerSjekkesMotRegisteret) {
  Nokle();
  struct Tilfelle {
    const char* nummer;
    bool gyldig;
    std::string melding;
    std::string lnav;
  };
  const Tilfelle tilfeller[] = {
      {"11111", true, "", "V\xE6r :ULF"},
      {"22222", true, MeldIkkeSeminver, "-"},
      {"33333", true, MeldUtgattSemin, "Utg\xE5tt :OLA"},
      {"44444", false, std::string("44444") + MeldFinnesIkke, "-"},
      {"", false, MeldFinnesIkke, "-"},
  };
  for (const auto& t : tilfeller) {
    s.Lnav = "-";
    const Celleutfall r = Skriv(KolVer, t.nummer);
    EXPECT_EQ(r.gyldig, t.gyldig) << t.nummer;
    EXPECT_EQ(r.meldinger, t.melding.empty() ? Meldinger{} : Meldinger{t.melding}) << t.nummer;
    EXPECT_EQ(s.Lnav, t.lnav) << t.nummer;
    EXPECT_EQ(Rod(KolVer), !t.gyldig) << t.nummer;
  }
}

TEST_F(SemGrid, VerOgDeponeringLeggerTilRadUnderSisteRad) {
  Nokle();
  EXPECT_TRUE(Skriv(KolVer, "11111").radLagtTil);
  EXPECT_EQ(g.Rader(), 3);
  EXPECT_FALSE(Skriv(KolDeponi, "1").radLagtTil);  // row 1 is no longer the last
  EXPECT_EQ(g.Rader(), 3);
  Nokle(2);
  EXPECT_TRUE(Skriv(KolDeponi, "2", 2).radLagtTil);
  EXPECT_EQ(g.Rader(), 4);
  EXPECT_TRUE(g.Celle(KolFodtAar, 3).empty());
  EXPECT_EQ(g.Radhoyde(3), SemRadHoyde);
}

TEST(SemRegister, VerOppslagGaarGjennomRegisteret) {
  TestMappe mappe;
  auto last = [&](int antall) {
    std::vector<TVerPost> poster;
    for (int i = 0; i < antall; ++i) {
      TVerPost p = TomVerPost();
      p.Nummer = 100000 + i;
      p.Navn.Sett("VER" + std::to_string(i));
      p.Type = static_cast<uint8_t>(i % 3);
      poster.push_back(p);
    }
    SkrivVerFil(mappe / VerFilNavn, poster);
    auto reg = std::make_unique<TProdusent>(mappe.Sti());
    reg->LoadRegister();
    return reg;
  };
  auto stor = last(150);
  const auto oppslag = VerOppslagFra(*stor);
  const auto ver = oppslag(100004);
  ASSERT_TRUE(ver);
  EXPECT_EQ(ver->type, 1);
  EXPECT_EQ(ver->navn, "VER4");
  EXPECT_FALSE(oppslag(99999));
  stor.reset();
  // With fewer than 100 rams every number is refused.
  auto liten = last(50);
  EXPECT_FALSE(VerOppslagFra(*liten)(100004));
}

TEST_F(SemGrid, ProduksjonsukeMotProduksjonsaar) {
  Nokle();
  struct Tilfelle {
    const char* aar;
    std::vector<int> gode;
  };
  // Week 0 (fresh or old semen) only up to production year 2003.
  const Tilfelle tilfeller[] = {{"", {0, 1, 5, 39, 52}}, {"2003", {0, 1, 5, 39, 52}}, {"2004", {1, 5, 39, 52}}};
  for (const auto& t : tilfeller) {
    g.SettCelle(KolProdAar, 1, t.aar);
    for (int uke : {0, 1, 5, 6, 38, 39, 52, 53}) {
      const bool god = std::find(t.gode.begin(), t.gode.end(), uke) != t.gode.end();
      const Celleutfall r = Skriv(KolUke, std::to_string(uke));
      EXPECT_EQ(r.gyldig, god) << t.aar << " uke " << uke;
      EXPECT_EQ(r.meldinger, god ? Meldinger{} : Meldinger{MeldProdUke}) << t.aar << " uke " << uke;
    }
  }
}

TEST_F(SemGrid, Produksjonsaar) {
  Nokle();
  struct Tilfelle {
    const char* inn;
    const char* ut;
    bool gyldig;
  };
  const Tilfelle tilfeller[] = {{"3", "2003", true},    {"99", "1999", true},   {"98", "1998", false},
                                {"29", "2029", false},  {"2005", "2005", true}, {"2006", "2006", false},
                                {"1999", "1999", true}, {"", "2000", true}};
  for (const auto& t : tilfeller) {
    const Celleutfall r = Skriv(KolProdAar, t.inn);
    EXPECT_EQ(r.tekst, t.ut) << t.inn;
    EXPECT_EQ(r.gyldig, t.gyldig) << t.inn;
  }
}

TEST_F(SemGrid, FerskSaedFyllerUkeOgAar) {
  Nokle();
  g.SettCelle(KolSemDato, 1, "11/10/2005");
  const Celleutfall fersk = Skriv(KolFersk, "01");
  EXPECT_EQ(fersk.tekst, "1");
  EXPECT_TRUE(fersk.gyldig);
  EXPECT_EQ(g.Celle(KolUke, 1), "41");
  EXPECT_EQ(g.Celle(KolProdAar, 1), "2005");

  g.SettCelle(KolSemDato, 1, "03/01/2005");  // ISO week 1, no leading zero
  Skriv(KolFersk, "1");
  EXPECT_EQ(g.Celle(KolUke, 1), "1");
  g.SettCelle(KolSemDato, 1, "Feildato");
  Skriv(KolFersk, "1");
  EXPECT_EQ(g.Celle(KolUke, 1), "00");

  // The production year of fresh semen is the season's.
  s.Semaar = 2011;
  g.SettCelle(KolSemDato, 1, "11/10/2011");
  Skriv(KolFersk, "1");
  EXPECT_EQ(g.Celle(KolProdAar, 1), "2011");
  EXPECT_EQ(g.Celle(KolUke, 1), "41");
  s.Semaar = 2005;

  g.SettCelle(KolUke, 1, "44");
  g.SettCelle(KolProdAar, 1, "2001");
  EXPECT_TRUE(Skriv(KolFersk, "0").gyldig);
  const Celleutfall ugyldig = Skriv(KolFersk, "2");
  EXPECT_FALSE(ugyldig.gyldig);
  EXPECT_EQ(g.Celle(KolUke, 1), "44");
  EXPECT_EQ(g.Celle(KolProdAar, 1), "2001");
}

TEST_F(SemGrid, DeponeringOgKontrollert) {
  Nokle();
  struct Tilfelle {
    int kol;
    const char* inn;
    const char* ut;
    bool gyldig;
  };
  const Tilfelle tilfeller[] = {
      {KolDeponi, "1", "1", true},      {KolDeponi, "2", "2", true},      {KolDeponi, "3", "3", false},
      {KolDeponi, "01", "1", false},    {KolDeponi, "", "0", false},      {KolKontrollert, "1", "1", true},
      {KolKontrollert, "2", "2", true}, {KolKontrollert, "7", "2", true}, {KolKontrollert, "", "2", true},
      {KolKontrollert, "x", "2", true},
  };
  for (const auto& t : tilfeller) {
    const Celleutfall r = Skriv(t.kol, t.inn);
    EXPECT_EQ(r.tekst, t.ut) << t.kol << " " << t.inn;
    EXPECT_EQ(r.gyldig, t.gyldig) << t.kol << " " << t.inn;
  }
}

TEST_F(SemGrid, OmlopOgSyklus) {
  Nokle();
  g.SettCelle(KolSemDato, 1, "11/10/2005");
  struct Tilfelle {
    const char* inn;
    const char* ut;
    bool melding;
  };
  const Tilfelle tilfeller[] = {{"12", "", false},
                                {"1.1", "", false},
                                {"28/10/2005", "28/10/2005", false},  // 17 days
                                {"01/11/2005", "01/11/2005", true},   // 21 days
                                {"27.10", "27/10/2005", false},       // 16
                                {"30.10", "30/10/2005", false},       // 19
                                {"26.10", "26/10/2005", true},        // 15
                                {"31.10", "31/10/2005", true}};       // 20
  for (const auto& t : tilfeller) {
    const Celleutfall r = Skriv(KolOmlop, t.inn);
    EXPECT_EQ(r.tekst, t.ut) << t.inn;
    EXPECT_TRUE(r.gyldig) << t.inn;
    EXPECT_EQ(r.meldinger, t.melding ? Meldinger{MeldUnormalSyklus} : Meldinger{}) << t.inn;
  }
}

namespace {

// A row filled as the inseminator types it.
class SemRad : public SemGrid {
 protected:
  void SetUp() override {
    SemGrid::SetUp();
    const char* celler[SemAntKol] = {"3",     "12", "10.10", "20", "2", "11.10", "8",
                                     "11111", "44", "2003",  "0",  "1", "1",     ""};
    for (int kol = 0; kol < SemAntKol; ++kol) {
      const Celleutfall r = Skriv(kol, celler[kol]);
      ASSERT_TRUE(r.gyldig) << kol;
    }
  }
  int RodeCeller() const {
    int n = 0;
    for (int kol = 0; kol < SemAntKol; ++kol) n += Rod(kol);
    return n;
  }
};

}  // namespace

TEST_F(SemRad, FullRadErKomplett) {
  EXPECT_TRUE(RadKomplett(g, 1, 2005));
  EXPECT_TRUE(RadKomplett(g, 1));
  EXPECT_EQ(RodeCeller(), 0);
  Skriv(KolOmlop, "28.10");
  EXPECT_TRUE(RadKomplett(g, 1, 2005));
}

TEST_F(SemRad, UkeManglerMedProduksjonsaar2004) {
  g.SettCelle(KolUke, 1, "");
  EXPECT_TRUE(RadKomplett(g, 1, 2005));  // 2003: week may be empty
  g.SettCelle(KolProdAar, 1, "2004");
  EXPECT_FALSE(RadKomplett(g, 1, 2005));
  EXPECT_EQ(RodeCeller(), 0);  // no cell marked
  EXPECT_EQ(g.Celle(KolUke, 1), "");
}

TEST_F(SemRad, ForsteManglendeCelleBlirRod) {
  g.SettCelle(KolKontroller, 1, "");
  g.SettCelle(KolDeponi, 1, "");
  EXPECT_FALSE(RadKomplett(g, 1, 2005));
  EXPECT_EQ(g.Celle(KolKontroller, 1), " ");
  EXPECT_TRUE(Rod(KolKontroller));
  EXPECT_EQ(g.Celle(KolDeponi, 1), "");  // only the first one
  EXPECT_EQ(RodeCeller(), 1);
}

TEST_F(SemRad, RodCelleGjorRadenUkomplett) {
  Skriv(KolVer, "44444");
  EXPECT_FALSE(RadKomplett(g, 1, 2005));
  EXPECT_EQ(g.Celle(KolVer, 1), "44444");
  EXPECT_EQ(RodeCeller(), 1);
}

TEST_F(SemRad, FodselsaarOgSoyenummerAvgjorForst) {
  struct Tilfelle {
    const char* aar;
    const char* soye;
    int iAar;
    bool komplett;
  };
  const Tilfelle tilfeller[] = {
      {"1985", "12", 2005, true}, {"1984", "12", 2005, false}, {"2005", "12", 2004, false}, {"2003", "0", 2005, false}};
  for (const auto& t : tilfeller) {
    g.SettCelle(KolFodtAar, 1, t.aar);
    g.SettCelle(KolSoye, 1, t.soye);
    EXPECT_EQ(RadKomplett(g, 1, t.iAar), t.komplett) << t.aar << " " << t.soye;
    EXPECT_EQ(RodeCeller(), 0);
  }
}

TEST_F(SemRad, CellefargerOgNullstilling) {
  Skriv(KolVer, "44444");
  EXPECT_EQ(CelleFarge(g, KolVer, 1), QColor(255, 0, 0));
  EXPECT_EQ(CelleFarge(g, KolSoye, 1), QColor(255, 255, 255));
  g.SettFlagg(KolVer, 0, SemFeilFlagg);
  EXPECT_FALSE(CelleFarge(g, KolVer, 0));  // the header keeps the grid's colours

  Skriv(KolVer, "11111");  // adds a row
  s.ProdNr = "1234567890";
  s.SemNr = "12345";
  s.InsemNavn = s.Lnav = "Kari Inseminor";
  s.LnavFarge = TLnavFarge::Blaa;
  ASSERT_GT(s.SisteSemin, 0.0);
  Nullstill(s, g);
  EXPECT_EQ(g.Rader(), 2);
  for (int kol = 0; kol < SemAntKol; ++kol) {
    EXPECT_EQ(g.Celle(kol, 1), "") << kol;
    EXPECT_EQ(g.Flagg(kol, 1), 0u) << kol;
    EXPECT_EQ(g.Celle(kol, 0), SemKolonner[kol].tittel) << kol;
  }
  EXPECT_EQ(g.GjeldendeKol(), 0);
  EXPECT_EQ(g.GjeldendeRad(), 1);
  EXPECT_EQ(s.ProdNr, "");
  EXPECT_EQ(s.SemNr, "");
  EXPECT_FALSE(s.Endret);
  EXPECT_EQ(s.SisteSemin, 0.0);
  // The inseminator is forgotten with the numbers.
  EXPECT_EQ(s.InsemNavn, "");
  EXPECT_EQ(s.Lnav, LnavFeilInseminor);
  EXPECT_EQ(s.LnavFarge, TLnavFarge::Vanlig);
}

TEST_F(SemGrid, VelgCelleViserStatusOgMerkerManglendeVer) {
  EXPECT_EQ(VelgCelle(g, KolSemDato, 1, 1), SemKolonner[KolSemDato].status);
  EXPECT_FALSE(Rod(KolVer));
  EXPECT_EQ(VelgCelle(g, KolUke, 1, 1), SemKolonner[KolUke].status);
  EXPECT_TRUE(Rod(KolVer));
  g.SettCelle(KolVer, 1, "11111");
  g.SettFlagg(KolVer, 1, 0);
  VelgCelle(g, KolUke, 1, 1);
  EXPECT_FALSE(Rod(KolVer));
}

TEST(SemInseminor, GodkjentListe) {
  TSemin s;
  s.Godkjente = {"123=Per Hansen", "12345=Kari Nordmann"};
  EXPECT_FALSE(SjekkInseminor(s, 99));
  EXPECT_EQ(s.Lnav, LnavFeilInseminor);
  EXPECT_EQ(s.LnavFarge, TLnavFarge::Vanlig);  // nothing happened

  EXPECT_TRUE(SjekkInseminor(s, 12345));
  EXPECT_EQ(s.Lnav, "Kari Nordmann");
  EXPECT_EQ(s.InsemNavn, "Kari Nordmann");
  EXPECT_EQ(s.LnavFarge, TLnavFarge::Blaa);

  for (int64_t n : {1234, 123456, 54321}) {
    EXPECT_FALSE(SjekkInseminor(s, n)) << n;
    EXPECT_EQ(s.Lnav, LnavFeilInseminor);
    EXPECT_EQ(s.LnavFarge, TLnavFarge::Rod);
    EXPECT_EQ(s.InsemNavn, "Kari Nordmann");  // the last name found stays
  }
  ForlatGrid(s);
  EXPECT_EQ(s.Lnav, "Kari Nordmann");
}

TEST(SemInseminor, SesongaaretErIAar) {
  EXPECT_EQ(TSemin{}.Semaar, QDate::currentDate().year());
  EXPECT_EQ(SemaarTil(), QDate::currentDate().year());
}

TEST(SemInseminor, GrunnenTilRodtFelt) {
  std::string god;
  for (char c = '0'; c <= '9' && god.empty(); ++c)
    if (CheckDigitOk(std::string("123456789") + c)) god = std::string("123456789") + c;
  std::string feil = god;
  feil[9] = god[9] == '9' ? '0' : static_cast<char>(god[9] + 1);
  EXPECT_EQ(ProdNrGrunn(god), "");
  EXPECT_EQ(U(ProdNrGrunn("1234")), "Produsentnummeret skal ha 10 siffer (nå 4).");
  EXPECT_EQ(U(ProdNrGrunn(feil)), "Kontrollsifferet (det siste sifferet) i produsentnummeret stemmer ikke.");

  TSemin s;
  s.Godkjente = {"12345=Kari"};
  struct Tilfelle {
    const char* sem;
    const char* fil;
    const char* grunn;
  };
  const Tilfelle tilfeller[] = {
      {"12345", "/data/SemGodkj.Txt", ""},
      {"123", "/data/SemGodkj.Txt", "Inseminørnummeret skal ha 5 siffer (nå 3)."},
      {"54321", "/data/SemGodkj.Txt", "54321 står ikke i lista over godkjente inseminører (/data/SemGodkj.Txt)."},
      {"54321", "", "Ingen inseminør kan godkjennes: lista SemGodkj.Txt finnes ikke i datamappa /data."},
  };
  for (const Tilfelle& t : tilfeller) {
    SCOPED_TRACE(t.sem);
    EXPECT_EQ(U(SemNrGrunn(s, t.sem, t.fil, "/data")), t.grunn);
  }
  EXPECT_EQ(s.Lnav, LnavFeilInseminor) << "asking why changes nothing";
}

TEST(SemInseminor, HodefeltenesFarger) {
  // The one last digit that makes a producer number pass the check.
  std::string god;
  for (char c = '0'; c <= '9' && god.empty(); ++c)
    if (CheckDigitOk(std::string("123456789") + c)) god = std::string("123456789") + c;
  ASSERT_FALSE(god.empty());
  std::string feil = god;
  feil[9] = god[9] == '9' ? '0' : static_cast<char>(god[9] + 1);

  TSemin s;
  s.Godkjente = {"12345=Kari"};
  struct Tilfelle {
    const char* prod;
    const char* sem;
    bool prodEndret;
    std::optional<QColor> prodFarge, semFarge;
    bool begge;
  };
  const Tilfelle tilfeller[] = {
      {god.c_str(), "12345", true, FeltHvit, FeltHvit, true},
      {god.c_str(), "12345", false, FeltHvit, FeltHvit, true},
      {god.c_str(), "54321", true, FeltHvit, std::nullopt, false},
      {god.c_str(), "54321", false, std::nullopt, FeltLysRod, false},
      {feil.c_str(), "12345", true, FeltLysRod, std::nullopt, false},
      {feil.c_str(), "12345", false, std::nullopt, FeltHvit, false},
      {god.c_str(), "012345", false, std::nullopt, FeltLysRod, false},
      {"123456789", "12345", true, FeltLysRod, std::nullopt, false},
  };
  for (const auto& t : tilfeller) {
    s.ProdNr = t.prod;
    s.SemNr = t.sem;
    s.Endret = false;
    const THodeFarger f = EprodNrChange(s, t.prodEndret);
    EXPECT_EQ(f.prodNr, t.prodFarge) << t.prod << " " << t.sem << " " << t.prodEndret;
    EXPECT_EQ(f.semNr, t.semFarge) << t.prod << " " << t.sem << " " << t.prodEndret;
    EXPECT_EQ(f.beggeGode, t.begge) << t.prod << " " << t.sem;
    EXPECT_TRUE(s.Endret);
  }
}
