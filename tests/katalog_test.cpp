#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cp1252.h"
#include "dato.h"
#include "eksempeldata.h"
#include "eksport.h"
#include "filer.h"
#include "listing.h"
#include "register.h"
#include "tabell.h"
#include "tekst.h"
#include "testmappe.h"
#include "trase.h"
#include "utvalg.h"

namespace fs = std::filesystem;

namespace {

std::string U(const std::string& cp1252) { return Cp1252TilUtf8(cp1252); }
std::string C(const std::string& utf8) { return Utf8TilCp1252(utf8); }

TVerPost Ver(int32_t nummer, const std::string& navnUtf8 = "") {
  TVerPost p = TomVerPost();
  p.Nummer = nummer;
  p.Navn.Sett(C(navnUtf8));
  return p;
}

// A ram with a nine-digit number, a name of 20 characters, a yellow total
// index beside an index of 899, birth type 1, a sire in the register whose
// sire is there too, and a dam's sire that is not.
TVerPost Hovedver() {
  TVerPost p = Ver(123456789, "STORE-JON AV LIABAKK");
  p.Rase = 4;
  p.Farnr = 1001;
  p.IndeksDato = IsoTextToDate("2023-03-15");
  p.OIndeks = 900;
  p.KIndeks = 98;
  p.MorevVaar = -3;
  p.Slakt = 105;
  p.Kjott = 899;
  p.Fett = 97;
  p.MorevSl = 88;
  p.Fruktbarhet = 120;
  p.Ring = 7;
  p.Ullvekt = 4.5f;
  p.KlippeDato = IsoTextToDate("2022-10-02");
  p.Kropp = 8;
  p.Bein = 7;
  p.Ullkvalitet = 9;
  p.Ullmengde = 6;
  p.Fiberdiameter = 31.5f;
  p.MaksMy = 1500.0f;
  p.Stapel = 12.5f;
  p.Marg = 3;
  p.Dyrehaar = 12;
  p.OAett = 2.5f;
  p.VektAvvik = -1.5f;
  p.Reservert[4] = 3;
  p.Type = 1;
  p.MorFar = 999;  // not in the register
  p.AntHostvekt = 1234;
  p.AntSlakt = 56;
  p.AntDotre = 78;
  p.Mornr = 4521;
  p.MorIndeks = 7;
  p.BurdFodt = 1;
  p.Aar = 2021;
  p.Fylke = 12;
  p.Hostvekt = 45.5f;
  p.Fodebuskap.Sett(C("  OLA NORDMANN, SØRE LIEN "));
  p.Fodested.Sett(C("ØRSTA "));
  return p;
}

TVerPost Far() {
  TVerPost p = Ver(1001, "BLÅKOLLEN");
  p.Farnr = 1000;
  p.IndeksDato = 51;  // 19 February 1900, the first date above the limit
  p.OIndeks = 131;
  p.KIndeks = 120;
  p.MorevVaar = 101;
  p.Slakt = 99;
  p.Kjott = 98;
  p.Fett = 97;
  p.MorevSl = 96;
  p.Fruktbarhet = 95;
  p.AntHostvekt = 10;
  p.AntSlakt = 20;
  p.AntDotre = 30;
  return p;
}

TVerPost Farfar() {
  TVerPost p = Ver(1000, "GAMLE-PER");
  p.IndeksDato = 50;  // not above the limit: no date
  p.OIndeks = 950;
  p.Fruktbarhet = 900;
  return p;
}

// Bein 0, total index 0, birth type 0, no dates, an unknown sire.
TVerPost Kaaret() {
  TVerPost p = Ver(4711, "lille-ola");
  p.Rase = 10;
  p.Farnr = 77;  // unknown
  p.IndeksDato = IngenDato;
  p.Ring = 12;
  p.Kropp = 8;
  p.Bein = 0;
  p.Ullkvalitet = 9;
  p.Ullmengde = 6;
  p.OAett = 2.5f;
  p.Hostvekt = 1234.5f;
  p.Mornr = -5;
  p.MorIndeks = 1234;
  p.Fylke = 3;
  p.Fodebuskap.Sett("PER");
  p.Fodested.Sett("");
  return p;
}

// A register of the rams above in a test folder.
struct Register {
  TestMappe mappe;
  std::unique_ptr<TProdusent> reg;
  explicit Register(const std::vector<TVerPost>& poster) {
    SkrivVerFil(mappe / VerFilNavn, poster);
    reg = std::make_unique<TProdusent>(mappe.Sti());
    reg->LoadRegister();
  }
};

const std::string NullLinje = "        0                      uten ind   0   0   0   0   0   0   0   0    0    0    0";

TEST(IndeksLinje, KolonnerForTreVaerer) {
  struct Fall {
    TVerPost ver;
    std::string linje;  // UTF-8
  };
  const Fall fall[] = {
      {Hovedver(), "123456789 Store-Jon Av Liabakk 15/03/23 gul  98  -3 105 899  97  88 120 1234   56   78"},
      {Far(), "     1001 Blåkollen            19/02/00 131 120 101  99  98  97  96  95   10   20   30"},
      {Farfar(), "     1000 Gamle-Per            uten ind gul   0   0   0   0   0   0 gul    0    0    0"},
      {TomVerPost(), NullLinje},
  };
  for (const Fall& f : fall) {
    SCOPED_TRACE(+f.ver.Nummer);
    const std::string l = IndeksLinje(f.ver);
    EXPECT_EQ(U(l), f.linje);
    EXPECT_EQ(l.size(), 86u);
  }
}

TEST(Katalogtekst, TrettenLinjerPerVaer) {
  Register r({Farfar(), Far(), Hovedver(), Kaaret()});
  const Trase raser;
  const std::vector<std::string> hoved = {
      "123456789 Store-Jon Av Liabakk Spælsau         Burd født:einstaka Granska i ring 7   Semin",
      "Født hos: Ola Nordmann, Søre Lien, Ørsta ,   Hordaland",
      "Dyr    Nr      Navn                 Dato      O   -  MoV Slv  Kj   F MoS Frb   hv  slv  dtr",
      "Selv:123456789 Store-Jon Av Liabakk 15/03/23 gul  98  -3 105 899  97  88 120 1234   56   78",
      "Far :     1001 Blåkollen            19/02/00 131 120 101  99  98  97  96  95   10   20   30",
      "Mor :   004521                               007",
      "Farf:     1000 Gamle-Per            uten ind gul   0   0   0   0   0   0 gul    0    0    0",
      "Morf:" + NullLinje,
      "Kåring:      Høstvekt   O-ætt   Vektavvik Kropp Bein  Ullkval. Ullmengde  Sum",
      "             45,5        2,5      -1,5      08   07   09       06         31,0",
      "Ullanalyse:  Maks-my Middel-my  Stapel   Marg  Dyrehår  Ullv:   MidLamdato",
      "               1 500       32     12,5     03     12     4,5  02/10/2022",
      "----",
  };
  const std::vector<std::string> kaaret = {
      "     4711 Lille-Ola            Norsk kvit sau  Burd født:ukjent   Kåra i ring 12     ",
      "Født hos: Per, ,   Oslo",
      hoved[2],
      "Selv:     4711 Lille-Ola            uten ind   0   0   0   0   0   0   0   0    0    0    0",
      "Far :" + NullLinje,
      "Mor :   -000005                               1234",
      "Farf:" + NullLinje,
      "Morf:" + NullLinje,
      hoved[8],
      "             1 234,5        2,5       0,0      08   00   09       06          0,0",
      hoved[10],
      "                  0        0      0,0     00     00     0,0            ",
      "----",
  };
  for (const auto& [ver, ventet] : {std::pair{Hovedver(), hoved}, std::pair{Kaaret(), kaaret}}) {
    SCOPED_TRACE(+ver.Nummer);
    const std::vector<std::string> linjer = KatalogLinjer(ver, *r.reg, raser);
    ASSERT_EQ(linjer.size(), 13u);
    for (std::size_t i = 0; i < linjer.size(); ++i) EXPECT_EQ(U(linjer[i]), ventet[i]) << "linje " << i + 1;
  }

  // The head line's columns, 1-based: breed from 32, birth text 47-66 (the
  // blank that ends "einstaka " included), ring text from 67, label from 85.
  const std::string l = U(KatalogLinjer(Hovedver(), *r.reg, raser)[0]);
  const std::u32string u = QString::fromStdString(l).toStdU32String();
  EXPECT_EQ(u.substr(31, 7), U"Spælsau");
  EXPECT_EQ(u.substr(46, 20), U" Burd født:einstaka ");
  EXPECT_EQ(u.substr(66, 16), U"Granska i ring 7");
  EXPECT_EQ(u.substr(84), U" Semin");
}

TEST(Katalogtekst, FasteTeksterUtenforTabellene) {
  Register r({Hovedver()});
  const Trase raser;
  TVerPost p = Hovedver();
  p.Type = 4;
  p.BurdFodt = 6;
  p.Rase = 27;
  p.OIndeks = 899;
  const std::string l = U(KatalogLinjer(p, *r.reg, raser)[0]);
  EXPECT_EQ(l, "123456789 Store-Jon Av Liabakk Feil i rase 27  Burd født:         Granska i ring 7  ");
  for (int t : {0, 1, 2, 3}) EXPECT_FALSE(SeminMerke(t).empty());
  EXPECT_EQ(FodselsTekst(-1), "");
  TSkalMed felt{};
  felt[1] = felt[11] = true;
  EXPECT_EQ(TabellRad(p, *r.reg, felt), "123456789;;;");
}

// The file a text pass writes: every ram's 13 lines with CR LF, replacing the
// old file; an empty pass leaves an empty file.
TEST(Katalogtekst, VerKatFila) {
  Register r({Farfar(), Far(), Hovedver(), Kaaret()});
  const Trase raser;
  const fs::path fil = r.mappe / VerKatFilNavn;
  {
    TTekstKatalog ut(*r.reg, raser);
    EXPECT_EQ(ut.Fil(), fil);
    ut.Ta(Kaaret());
    ut.Ta(Hovedver());
    ut.Fullfor();
    EXPECT_EQ(ut.Antall(), 2);
  }
  std::string ventet;
  for (const TVerPost& p : {Kaaret(), Hovedver()})
    for (const std::string& l : KatalogLinjer(p, *r.reg, raser)) ventet += l + "\r\n";
  const std::string innhold = LesHeleFila(fil);
  EXPECT_EQ(innhold, ventet);
  EXPECT_NE(innhold.find(C("Kåring:")), std::string::npos);  // Windows-1252 on disk

  {
    TTekstKatalog ut(*r.reg, raser);
    ut.Fullfor();
  }
  EXPECT_EQ(LesHeleFila(fil), "");
  EXPECT_EQ(std::distance(fs::directory_iterator(r.mappe.Sti()), fs::directory_iterator()), 2);
}

// A pass of many parts: the text is made on several threads but written,
// and handed to the copy, in the order the rams were taken; a write that
// fails stops the pass with the failure, and nothing reaches the copy.
TEST(Katalogtekst, MangeDelerIRekkefolgeOgFeilSomStopper) {
  Register r({Farfar(), Far(), Hovedver(), Kaaret()});
  const Trase raser;
  std::vector<TVerPost> verer;
  for (int32_t i = 0; i < 20000; ++i) {
    TVerPost v = i % 2 == 0 ? Kaaret() : Hovedver();
    v.Nummer = 2000000 + i;
    v.Navn.Sett("Ver" + std::to_string(i));
    verer.push_back(v);
  }
  std::string ventet;
  for (const TVerPost& v : verer)
    for (const std::string& l : KatalogLinjer(v, *r.reg, raser)) ventet += l + "\r\n";

  std::string kopi;
  {
    TTekstKatalog ut(*r.reg, raser, {}, [&](std::string_view blokk) { kopi += blokk; });
    for (const TVerPost& v : verer) ut.Ta(v);
    ut.Fullfor();
  }
  EXPECT_TRUE(LesHeleFila(r.mappe / VerKatFilNavn) == ventet);
  EXPECT_TRUE(kopi == ventet);

  kopi.clear();
  const fs::path umulig = r.mappe / "finnes-ikke" / VerKatFilNavn;
  EXPECT_THROW(
      {
        TTekstKatalog ut(*r.reg, raser, umulig, [&](std::string_view blokk) { kopi += blokk; });
        for (const TVerPost& v : verer) ut.Ta(v);
        ut.Fullfor();
      },
      IoFeil);
  EXPECT_TRUE(kopi.empty());
  EXPECT_FALSE(fs::exists(umulig.parent_path()));
}

TSkalMed Alle() {
  TSkalMed s;
  s.fill(true);
  return s;
}

TEST(Katalogtabell, AlleFelterForEnVaer) {
  Register r({Farfar(), Far(), Hovedver(), Kaaret()});
  const std::string rad = U(TabellRad(Hovedver(), *r.reg, Alle()));
  const std::string ventet =
      "123456789;"
      "Store-Jon Av Liabakk;Spælsau;15/03/23;"
      " gul;98;-3;"
      "105;899;97;88;120;"
      "  Ola Nordmann, Søre Lien ;  Hordaland;"
      "8;7;9;6;einstaka ;3;"
      "1234;56;78;"
      "4521;7;"
      "1001;Blåkollen;131;120;101;99;98;97;96;95;"
      "1000;Gamle-Per; gul;0;0;0;0;0;0; gul;"
      "0;;0;0;0;0;0;0;0;0;"
      "7;"
      "1 500;12,5;03;12;4,5;"
      ";";  // "Innavl %" without the ewes' figures
  EXPECT_EQ(rad, ventet);
  EXPECT_EQ(DelRad(rad).size(), static_cast<std::size_t>(KatalogKolonner(Alle())));
  EXPECT_EQ(KatalogKolonner(Alle()), 62);
  EXPECT_EQ(DelRad(KatalogOverskrift(Alle())).size(), 62u);

  // Each entry alone: its own cells after the number, as many as its header has.
  const std::vector<std::string> celler = DelRad(ventet);
  std::size_t fra = 1;
  for (int felt = 0; felt < AntallTabellfelt; ++felt) {
    SCOPED_TRACE(felt);
    TSkalMed en{};
    en[felt] = true;
    const std::vector<std::string> egne = DelRad(U(TabellRad(Hovedver(), *r.reg, en)));
    const int n = TabellfeltKolonner(felt);
    ASSERT_EQ(egne.size(), static_cast<std::size_t>(1 + n));
    EXPECT_EQ(DelRad(TabellfeltOverskrift()[felt]).size(), static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k) EXPECT_EQ(egne[1 + k], celler[fra + k]);
    fra += n;
  }

  // The unknown sire: 0, an empty name, zeros.
  TSkalMed far{};
  far[17] = far[18] = far[19] = far[20] = far[21] = true;
  EXPECT_EQ(TabellRad(Kaaret(), *r.reg, far), "4711;0;;0;0;0;0;0;0;0;0;0;");
}

TEST(Katalogtabell, InnavlFeltetFraDetVinduetGir) {
  // Entry 31 takes its cell from the figures the caller hands in, by the
  // ram's number; the other fields stay as they were.
  Register r({Farfar(), Far(), Hovedver(), Kaaret()});
  EXPECT_EQ(TabellfeltNavn()[InnavlFelt], "Innavl %");
  EXPECT_EQ(TabellfeltOverskrift()[InnavlFelt], "Innavl %;");
  EXPECT_EQ(SkalMedNokkel(InnavlFelt), "SkalMed31");
  TSkalMed felt{};
  felt[0] = felt[InnavlFelt] = true;
  std::vector<int32_t> spurt;
  const TInnavlCelle celle = [&](int32_t nr) {
    spurt.push_back(nr);
    return nr == 4711 ? std::string("12,50") : std::string();
  };
  EXPECT_EQ(TabellRad(Kaaret(), *r.reg, felt, celle), "4711;Lille-Ola;12,50;");
  EXPECT_EQ(TabellRad(Hovedver(), *r.reg, felt, celle), "123456789;Store-Jon Av Liabakk;;");
  EXPECT_EQ(spurt, (std::vector<int32_t>{4711, 123456789}));
  EXPECT_EQ(KatalogOverskrift(felt), C("Værnr.;Navn;Innavl %;"));
  // Through the table output, where the table window sorts by it.
  TTabell t;
  TTabellKatalog ut(*r.reg, t, felt, "T", celle);
  ut.Ta(Kaaret());
  ut.Fullfor();
  EXPECT_EQ(t.Hoved().Rad(1), (std::vector<std::string>{"4711", "Lille-Ola", "12,50"}));
}

// Records the calling contract of a table.
struct Opptak : TTabellMottaker {
  std::vector<std::string> kall;
  void Oppsett(int antKol, int tittelStorrelse, int fasteKol, int fasteRader, int bunnRader, const std::string& tittel,
               TFarge farge1, TFarge farge2) override {
    kall.push_back("Oppsett " + std::to_string(antKol) + " " + std::to_string(tittelStorrelse) + " " +
                   std::to_string(fasteKol) + " " + std::to_string(fasteRader) + " " + std::to_string(bunnRader) + " " +
                   U(tittel) + " " + std::to_string(farge1) + " " + std::to_string(farge2));
  }
  void NyRad(std::string_view t) override { kall.push_back("NyRad " + U(std::string(t))); }
  void NyBunnRad(std::string_view t) override { kall.push_back("NyBunnRad " + std::string(t)); }
};

TEST(Katalogtabell, OppsettOverskriftOgBunn) {
  Register r({Farfar(), Far(), Hovedver(), Kaaret()});
  struct Fall {
    std::vector<int> felt;
    std::vector<std::string> kall;
  };
  const Fall fall[] = {
      {{}, {"Oppsett 1 12 0 1 1 T 16711680 255", "NyRad Værnr.;", "NyRad 4711;", "NyBunnRad ;"}},
      {{0, 16, 30},
       {"Oppsett 9 12 0 1 1 T 16711680 255", "NyRad Værnr.;Navn;Mornr;-Oind;Maks-my;Stapel;Marg;Dyreh;ullv;",
        "NyRad 4711;Lille-Ola;-5;1234;  0; 0,0;00;00;0,0;", "NyBunnRad ;;;;;;;;;"}},
  };
  for (const Fall& f : fall) {
    TSkalMed s{};
    for (int i : f.felt) s[i] = true;
    Opptak o;
    TTabellKatalog ut(*r.reg, o, s, "T");
    ut.Ta(Kaaret());
    ut.Fullfor();
    EXPECT_EQ(o.kall, f.kall);
    EXPECT_EQ(ut.Antall(), 1);
  }
  EXPECT_EQ(KatalogOverskrift(Alle()).substr(0, 40), C("Værnr.;Navn;Rase;IndDato;O;-;MorV;TilV;K"));
  EXPECT_EQ(SkalMedNokkel(0), "SkalMed0");
  EXPECT_EQ(SkalMedNokkel(30), "SkalMed30");
  EXPECT_EQ(U(TabellfeltNavn()[15]), "Ant døtre");
}

// Rows made later from the record indexes (the command-line tool's table)
// are the rows Ta gives, an own list's unknown number (index -1) too.
TEST(Katalogtabell, RaderLagetSenereSomTa) {
  Register r({Farfar(), Far(), Hovedver(), Kaaret()});
  TVerPost ukjent{};
  const std::vector<std::vector<int>> feltvalg = {{}, {0, 1, 16, 30}, {0, 17, 18, 19, 20, 21, InnavlFelt}};
  const std::vector<int32_t> indekser = {3, -1, 2, 0, 3};
  const TInnavlCelle celle = [](int32_t nr) { return nr == 4711 ? std::string("12,50") : std::string(); };
  for (const std::vector<int>& felt : feltvalg) {
    TSkalMed s{};
    for (int i : felt) s[static_cast<std::size_t>(i)] = true;
    Opptak naa, senere;
    TTabell tNaa, tSenere;
    TTabellKatalog a(*r.reg, naa, s, "T", celle), b(*r.reg, senere, s, "T", celle);
    TTabellKatalog c(*r.reg, tNaa, s, "T", celle), d(*r.reg, tSenere, s, "T", celle);
    for (int32_t i : indekser) {
      const TVerPost p = i >= 0 ? r.reg->ReadAt(i) : ukjent;
      a.Ta(p);
      b.TaSenere(p, i);
      c.Ta(p);
      d.TaSenere(p, i);
    }
    for (TTabellKatalog* k : {&a, &b, &c, &d}) k->Fullfor();
    EXPECT_EQ(senere.kall, naa.kall);
    EXPECT_EQ(b.Antall(), a.Antall());
    tNaa.MerkAlt();
    tSenere.MerkAlt();
    EXPECT_EQ(Eksporter(tSenere, TEksportType::Semikolon).linjer, Eksporter(tNaa, TEksportType::Semikolon).linjer);
    EXPECT_EQ(tSenere.Bredeste, tNaa.Bredeste);
    EXPECT_EQ(tSenere.Hoved().LagredeRader(), 1);
  }
}

TEST(Katalogtabell, Tittel) {
  const Trase raser;
  const std::vector<std::string> valg = RaseValg(raser);
  struct Fall {
    std::function<void(TUtvalg&)> sett;
    std::string tittel;
  };
  const Fall fall[] = {
      {[](TUtvalg& u) { u.fylker[0] = u.raser[0] = true; }, "1979-2024 kun granska  Alle fylker Alle raser"},
      {[](TUtvalg& u) {
         u.semin = u.utgSem = u.gkar = u.ugul = true;
         u.fylker[1] = u.fylker[13] = u.fylker[16] = true;
         u.raser[4] = u.raser[10] = true;
       },
       "1979-2024 semin utg.semin Gamle kårede kun granska uten gule  Østfold     Udefinert  Sør-Trøndel Spælsau Norsk "
       "kvit sau"},
      {[](TUtvalg& u) {
         u.egenListe = true;
         u.avkomgr = false;
       },
       "Egendefinert utplukk"},
  };
  for (const Fall& f : fall) {
    TUtvalg u = StartUtvalg(2025);
    f.sett(u);
    EXPECT_EQ(U(KatalogTittel(u, valg)), f.tittel);
  }
  EXPECT_EQ(valg.size(), 27u);
  EXPECT_EQ(valg[0], "Alle raser");
}

TEST(Utvalg, Startverdier) {
  const TUtvalg u = StartUtvalg(2025);
  EXPECT_EQ(u.fra, 1979);
  EXPECT_EQ(u.til, 2024);
  EXPECT_EQ(u.tilMaks, 2025);
  EXPECT_EQ(u.fraMaks, 2024);
  EXPECT_EQ(u.antall, 70);
  EXPECT_TRUE(u.avkomgr);
  EXPECT_FALSE(u.semin || u.utgSem || u.gkar || u.nykar || u.ugul || u.egenListe);
  EXPECT_EQ(u.fylker, std::vector<bool>(21, false));
  EXPECT_EQ(u.raser, std::vector<bool>(27, false));
  EXPECT_FALSE(KanVise(u));
}

// The test of one ram, one criterion at a time from a ram that every case
// starts from: county 3, breed 4, no insemination, total index 100, year 2010.
TEST(Utvalg, TestAvEnVaer) {
  struct Fall {
    const char* navn;
    std::function<void(TUtvalg&)> utvalg;
    std::function<void(TVerPost&)> ver;
    bool valgt;
  };
  const auto ingen = [](auto&) {};
  const Fall fall[] = {
      {"grunnfall", ingen, ingen, true},
      {"fylke ikke valgt", ingen, [](TVerPost& p) { p.Fylke = 4; }, false},
      {"fylke 0 uten Alle fylker", ingen, [](TVerPost& p) { p.Fylke = 0; }, false},
      {"fylke 0 med Alle fylker", [](TUtvalg& u) { u.fylker[0] = true; }, [](TVerPost& p) { p.Fylke = 0; }, true},
      {"fylke 21 med Alle fylker", [](TUtvalg& u) { u.fylker[0] = true; }, [](TVerPost& p) { p.Fylke = 21; }, false},
      {"rase ikke valgt", ingen, [](TVerPost& p) { p.Rase = 5; }, false},
      {"rase 0 uten Alle raser", ingen, [](TVerPost& p) { p.Rase = 0; }, false},
      {"negativ rase, bare enkeltraser", ingen, [](TVerPost& p) { p.Rase = -4; }, false},
      {"negativ rase, Alle raser", [](TUtvalg& u) { u.raser[0] = true; }, [](TVerPost& p) { p.Rase = -4; }, true},
      {"rase 27 med Alle raser", [](TUtvalg& u) { u.raser[0] = true; }, [](TVerPost& p) { p.Rase = 27; }, false},
      {"år etter til", ingen, [](TVerPost& p) { p.Aar = 2011; }, false},
      {"år før fra", ingen, [](TVerPost& p) { p.Aar = 1999; }, false},
      {"år lik fra", ingen, [](TVerPost& p) { p.Aar = 2000; }, true},
      {"indeks under minste", ingen, [](TVerPost& p) { p.OIndeks = 69; }, false},
      {"indeks lik minste", ingen, [](TVerPost& p) { p.OIndeks = 70; }, true},
      {"ingen art", [](TUtvalg& u) { u.avkomgr = false; }, ingen, false},
      {"semin utenfor årene og under indeksen",
       [](TUtvalg& u) {
         u.avkomgr = false;
         u.semin = true;
       },
       [](TVerPost& p) {
         p.Type = 1;
         p.Aar = 1950;
         p.OIndeks = 10;
       },
       true},
      {"semin tar ikke utgått",
       [](TUtvalg& u) {
         u.avkomgr = false;
         u.semin = true;
       },
       [](TVerPost& p) { p.Type = 2; }, false},
      {"utgått semin",
       [](TUtvalg& u) {
         u.avkomgr = false;
         u.utgSem = true;
       },
       [](TVerPost& p) {
         p.Type = 2;
         p.Aar = 1950;
       },
       true},
      {"utgått tar ikke semin",
       [](TUtvalg& u) {
         u.avkomgr = false;
         u.utgSem = true;
       },
       [](TVerPost& p) { p.Type = 1; }, false},
      {"gamle kårede uten indeks",
       [](TUtvalg& u) {
         u.avkomgr = false;
         u.gkar = true;
       },
       [](TVerPost& p) { p.OIndeks = 0; }, true},
      {"gamle kårede utenfor årene",
       [](TUtvalg& u) {
         u.avkomgr = false;
         u.gkar = true;
       },
       [](TVerPost& p) { p.Aar = 2011; }, false},
      {"gul 900 uten Unngå gule", ingen, [](TVerPost& p) { p.OIndeks = 900; }, true},
      {"gul 900 med Unngå gule", [](TUtvalg& u) { u.ugul = true; }, [](TVerPost& p) { p.OIndeks = 900; }, false},
      {"899 med Unngå gule", [](TUtvalg& u) { u.ugul = true; }, [](TVerPost& p) { p.OIndeks = 899; }, true},
      {"gul seminvær med Unngå gule",
       [](TUtvalg& u) {
         u.ugul = true;
         u.semin = true;
       },
       [](TVerPost& p) {
         p.Type = 1;
         p.OIndeks = 950;
       },
       false},
  };
  for (const Fall& f : fall) {
    SCOPED_TRACE(f.navn);
    TUtvalg u = StartUtvalg(2025);
    u.fylker[3] = true;
    u.raser[4] = true;
    u.fra = 2000;
    u.til = 2010;
    f.utvalg(u);
    TVerPost p = Ver(1);
    p.Fylke = 3;
    p.Rase = 4;
    p.OIndeks = 100;
    p.Aar = 2010;
    f.ver(p);
    EXPECT_EQ(VerValgt(u, p), f.valgt);
  }
}

// The coupling of the criteria: a click (the field set, then its handler) and
// the state it leaves.
TEST(Utvalg, KoblingAvKriteriene) {
  constexpr int aar = 2025;
  struct Tilstand {
    int fra, til, antall;
    bool semin, gkar, avkomgr;
  };
  struct Fall {
    const char* navn;
    std::vector<std::function<void(TUtvalg&)>> klikk;
    Tilstand ventet;
  };
  const auto nykar = [](TUtvalg& u) {
    u.nykar = !u.nykar;
    FylkerClick(u, true, aar);
  };
  const auto gkar = [](TUtvalg& u) {
    u.gkar = !u.gkar;
    GkarClick(u, aar);
  };
  const auto semin = [](TUtvalg& u) {
    u.semin = !u.semin;
    SeminClick(u, aar);
  };
  const auto avkomgr = [](TUtvalg& u) {
    u.avkomgr = !u.avkomgr;
    AvkomgrClick(u, aar);
  };
  const auto antall = [](int v) {
    return [v](TUtvalg& u) {
      u.antall = v;
      AntallClick(u, aar);
    };
  };
  const Fall fall[] = {
      {"Årets egne", {nykar}, {2025, 2025, 0, false, true, false}},
      {"Årets egne, så Alle kårede av", {nykar, gkar}, {2025, 2025, 0, false, false, false}},
      {"Semin etter Alle kårede", {gkar, semin}, {1979, 2024, 70, true, false, false}},
      {"Semin: 100 slår ikke på Avkomsgranska", {gkar, semin, antall(100)}, {1979, 2024, 100, true, false, false}},
      {"Semin: 0 slår ikke på Alle kårede", {semin, antall(0)}, {1979, 2024, 0, true, false, false}},
      {"75 uten Avkomsgranska blir 80", {avkomgr, antall(75)}, {1979, 2024, 80, false, false, true}},
      {"75 med Avkomsgranska blir stående", {antall(75)}, {1979, 2024, 75, false, false, true}},
      {"69 slår av Avkomsgranska", {antall(69)}, {1979, 2024, 69, false, false, false}},
      {"Alle kårede gir 0", {gkar}, {1979, 2024, 0, false, true, false}},
      {"Avkomsgranska etter Alle kårede gir 80", {gkar, avkomgr}, {1979, 2024, 80, false, false, true}},
      {"Semin på og av", {semin, semin}, {1979, 2024, 70, false, false, true}},
  };
  for (const Fall& f : fall) {
    SCOPED_TRACE(f.navn);
    TUtvalg u = StartUtvalg(aar);
    for (const auto& k : f.klikk) k(u);
    EXPECT_EQ(u.fra, f.ventet.fra);
    EXPECT_EQ(u.til, f.ventet.til);
    EXPECT_EQ(u.antall, f.ventet.antall);
    EXPECT_EQ(u.semin, f.ventet.semin);
    EXPECT_EQ(u.gkar, f.ventet.gkar);
    EXPECT_EQ(u.avkomgr, f.ventet.avkomgr);
  }

  // Årets egne and then Alle kårede off: the buttons stay enabled, the pass
  // does not run.
  TUtvalg u = StartUtvalg(aar);
  u.fylker[0] = u.raser[0] = true;
  nykar(u);
  gkar(u);
  EXPECT_TRUE(KanVise(u));
  EXPECT_FALSE(PassetKjorer(u));
  EXPECT_EQ(u.tilMin, 2025);
  EXPECT_EQ(u.fraMaks, 2025);
  u.raser[0] = false;
  EXPECT_FALSE(KanVise(u));
}

TEST(Utvalg, EgenListeFila) {
  TestMappe m;
  const fs::path fil = m / EgenListeFilNavn;
  EXPECT_TRUE(LesEgenListe(fil).empty());
  m.Skriv("egenverer.txt", "1001\r\n\r\nabc\n1000\r\n");  // other letter case
  EXPECT_EQ(LesEgenListe(fil), (std::vector<std::string>{"1001", "", "abc", "1000"}));
  m.Skriv("egenverer.txt", "12\r\n34");
  EXPECT_EQ(LesEgenListe(fil), (std::vector<std::string>{"12", "34"}));

  SkrivEgenListe({}, fil);
  EXPECT_EQ(LesHeleFila(m / "egenverer.txt"), "12\r\n34");
  SkrivEgenListe({"5", "6"}, fil);
  EXPECT_EQ(LesHeleFila(m / "egenverer.txt"), "5\r\n6\r\n");
}

std::vector<int32_t> Nummer(TProdusent& reg, const TUtvalg& u, const std::vector<std::string>& liste = {}) {
  std::vector<int32_t> n;
  Utplukk(reg, u, liste, [&](const TVerPost& p) { n.push_back(p.Nummer); });
  return n;
}

TEST(Utplukk, RegisterOgEgenListe) {
  std::vector<TVerPost> poster;
  for (int i = 1; i <= 6; ++i) {
    TVerPost p = Ver(100 + i);
    p.Fylke = static_cast<uint8_t>(i % 2 + 1);
    p.Rase = 4;
    p.OIndeks = static_cast<int16_t>(60 + 10 * i);  // 70 .. 120
    p.Aar = 2010;
    poster.push_back(p);
  }
  Register r(poster);
  TUtvalg u = StartUtvalg(2025);
  u.fylker[0] = true;
  u.raser[0] = true;
  EXPECT_EQ(Nummer(*r.reg, u), (std::vector<int32_t>{101, 102, 103, 104, 105, 106}));
  u.antall = 100;
  EXPECT_EQ(Nummer(*r.reg, u), (std::vector<int32_t>{104, 105, 106}));
  u.fylker[0] = false;
  u.fylker[1] = true;
  EXPECT_EQ(Nummer(*r.reg, u), (std::vector<int32_t>{104, 106}));

  // Only Årets egne and Unngå gule: no pass, nothing read.
  u.avkomgr = false;
  u.nykar = u.ugul = true;
  int lest = 0;
  EXPECT_EQ(Utplukk(
                *r.reg, u, {}, [](const TVerPost&) {}, [&](int64_t, int64_t) { return ++lest, true; }),
            0);
  EXPECT_EQ(lest, 0);

  // The own list: untested, in line order; unknown numbers and text give
  // all-zero records; blank lines are no entries; a list without entries
  // gives one; never more entries than the register has records.
  u.egenListe = true;
  EXPECT_EQ(Nummer(*r.reg, u, {"106", "999", "", "x", " \t", " 101 "}), (std::vector<int32_t>{106, 0, 0, 101}));
  EXPECT_EQ(Nummer(*r.reg, u, {}), (std::vector<int32_t>{0}));
  EXPECT_EQ(Nummer(*r.reg, u, {"", "  ", "\r"}), (std::vector<int32_t>{0}));
  EXPECT_EQ(Nummer(*r.reg, u, {"101", "102", "103", "104", "105", "106", "101", "102"}),
            (std::vector<int32_t>{101, 102, 103, 104, 105, 106}));

  // Progress after every record read; false ends the pass.
  u = StartUtvalg(2025);
  u.fylker[0] = u.raser[0] = true;
  std::vector<int64_t> framdrift;
  std::vector<int32_t> tatt;
  Utplukk(
      *r.reg, u, {}, [&](const TVerPost& p) { tatt.push_back(p.Nummer); },
      [&](int64_t l, int64_t t) {
        framdrift.push_back(l * 10 + t);
        return l < 3;
      });
  EXPECT_EQ(framdrift, (std::vector<int64_t>{16, 26, 36}));
  EXPECT_EQ(tatt, (std::vector<int32_t>{101, 102, 103}));
}

TEST(Utplukk, FremdriftOgKnapper) {
  EXPECT_EQ(Fremdriftsprosent(50, 99), 0);
  EXPECT_EQ(Fremdriftsprosent(99, 100), 99);
  EXPECT_EQ(Fremdriftsprosent(100, 100), 100);
  EXPECT_EQ(Fremdriftsprosent(299, 250), 100);
  EXPECT_EQ(Fremdriftsprosent(5, 1000), 0);
  EXPECT_EQ(Fremdriftsprosent(10, 1000), 1);
  EXPECT_EQ(Fremdriftsprosent(1999, 100000), 1);
  const TKnapper to = KnapperEtterPass(2);
  EXPECT_FALSE(to.skriv || to.lagre || to.ramvis);
  const TKnapper fire = KnapperEtterPass(4);
  EXPECT_TRUE(fire.ramvis);
  EXPECT_FALSE(fire.skriv);
  const TKnapper elleve = KnapperEtterPass(11);
  EXPECT_TRUE(elleve.skriv && !elleve.lagre);
  EXPECT_TRUE(KnapperEtterPass(13).lagre);
}

// --- The command-line tool ---

int DetteAar() { return DecodeDate(IDag())->aar; }

// The text listing of the logic for a selection, as the file holds it.
std::string Tekstliste(TProdusent& reg, const TUtvalg& u, const std::vector<std::string>& liste = {}) {
  const Trase raser;
  TTekstKatalog ut(reg, raser);
  Utplukk(reg, u, liste, [&](const TVerPost& p) { ut.Ta(p); });
  ut.Fullfor();
  return LesHeleFila(ut.Fil());
}

TEST(KatalogCli, TekstlistaSomLogikken) {
  TestMappe m;
  SkrivEksempeldata(400, 7, m.Sti(), true);
  TProdusent reg(m.Sti());
  reg.LoadRegister();
  ASSERT_GT(reg.RecordCount(), 300);
  const std::string cli = std::string(HS_CLI) + " --data '" + m.Sti().string() + "' katalog";
  m.Skriv("liste.txt", "1\r\n" + IntToText(reg.ReadAt(5).Nummer) + "\r\n");

  struct Fall {
    std::string flagg;
    std::function<void(TUtvalg&)> sett;
    std::vector<std::string> liste;
  };
  const Fall fall[] = {
      {"", [](TUtvalg&) {}, {}},
      {"--fylke 3 --fylke 12 --rase 10 --rase 4 --semin --unnga-gule",
       [](TUtvalg& u) {
         u.fylker.assign(21, false);
         u.raser.assign(27, false);
         u.fylker[3] = u.fylker[12] = u.raser[10] = u.raser[4] = true;
         u.avkomgr = false;
         u.semin = u.ugul = true;
       },
       {}},
      {"--alle-karede --utgatt-semin --fra 1990 --til 2000 --minste-indeks 0",
       [](TUtvalg& u) {
         u.avkomgr = false;
         u.gkar = u.utgSem = true;
         u.fra = 1990;
         u.til = 2000;
         u.antall = 0;
       },
       {}},
      {"--avkomsgransket --minste-indeks 120 --arets-egne",
       [](TUtvalg& u) {
         u.antall = 120;
         u.nykar = true;
       },
       {}},
      {"--egen liste.txt", [](TUtvalg& u) { u.egenListe = true; }, {"1", IntToText(reg.ReadAt(5).Nummer)}},
  };
  for (const Fall& f : fall) {
    SCOPED_TRACE(f.flagg);
    TUtvalg u = StartUtvalg(DetteAar());
    u.fylker[0] = u.raser[0] = true;
    f.sett(u);
    const std::string ventet = Tekstliste(reg, u, f.liste);
    EXPECT_GT(ventet.size(), 0u);
    fs::remove(m / VerKatFilNavn);
    const Svar s = Kjor(m, cli + " " + f.flagg);
    EXPECT_EQ(s.kode, 0) << s.feil;
    EXPECT_EQ(s.feil, "");
    EXPECT_EQ(LesHeleFila(m / VerKatFilNavn), ventet);
    std::string utf8 = U(ventet);
    for (std::size_t p = 0; (p = utf8.find("\r\n", p)) != std::string::npos;) utf8.erase(p, 1);
    EXPECT_EQ(s.ut, utf8);
  }
  EXPECT_NE(LesHeleFila(m / VerKatFilNavn).size(), 0u);
}

TEST(KatalogCli, TabellSomLogikken) {
  TestMappe m;
  SkrivEksempeldata(300, 11, m.Sti(), true);
  TProdusent reg(m.Sti());
  reg.LoadRegister();
  const std::string cli = std::string(HS_CLI) + " --data '" + m.Sti().string() + "' katalog --fylke 0 --rase 0 ";
  TUtvalg u = StartUtvalg(DetteAar());
  u.fylker[0] = u.raser[0] = true;
  TSkalMed s{};
  s[0] = s[3] = s[17] = s[30] = true;
  // Filled as the table window fills it: measured in the grid's font.
  TTabell t;
  t.SettSkrift(10);
  TTabellKatalog ut(reg, t, s, KatalogTittel(u, RaseValg(Trase())));
  Utplukk(reg, u, {}, [&](const TVerPost& p) { ut.Ta(p); });
  ut.Fullfor();
  t.ForsteLayout();
  t.MerkAlt();
  ASSERT_GT(t.Hoved().Rader(), 2);
  for (const auto& [navn, type] : {std::pair{"semikolon", TEksportType::Semikolon},
                                   std::pair{"excel", TEksportType::Regneark}, std::pair{"html", TEksportType::Html}}) {
    SCOPED_TRACE(navn);
    const TEksport e = Eksporter(t, type);
    const Svar svar = Kjor(m, cli + "--tabell 0,3,17,30 --format " + navn + " --ut ut.txt");
    EXPECT_EQ(svar.kode, 0) << svar.feil;
    EXPECT_EQ(LesHeleFila(m / "ut.txt"), e.Filinnhold());
  }
  std::string utf8;
  for (const std::string& l : Eksporter(t, TEksportType::Semikolon).linjer) utf8 += U(l) + "\n";
  EXPECT_EQ(Kjor(m, cli + "--tabell 0,3,17,30").ut, utf8);
  EXPECT_FALSE(fs::exists(m / VerKatFilNavn));
}

TEST(KatalogCli, RammerSomPdf) {
  TestMappe m;
  SkrivEksempeldata(300, 3, m.Sti(), true);
  const std::string cli = std::string(HS_CLI) + " --data '" + m.Sti().string() + "' katalog ";
  const Svar s = Kjor(m, cli + "--fylke 0 --rase 0 --semin --rammer sider.pdf");
  ASSERT_EQ(s.kode, 0) << s.feil;
  EXPECT_TRUE(fs::exists(m / "sider.pdf"));
  EXPECT_EQ(Kjor(m, "qpdf --check sider.pdf >/dev/null").kode, 0);
  const Svar info = Kjor(m, "pdfinfo sider.pdf");
  EXPECT_NE(info.ut.find("Creator:         Tuv-Sau"), std::string::npos) << info.ut;

  // A file that cannot be written: one line that names it, and the older
  // file stays as it was.
  m.Skriv("eldre.pdf", "eldre sider");
  fs::create_directories(m / "eldre.pdf.ny" / "opptatt");
  const Svar feil = Kjor(m, cli + "--fylke 0 --rase 0 --semin --rammer eldre.pdf");
  EXPECT_EQ(feil.kode, 1);
  EXPECT_NE(feil.feil.find("eldre.pdf"), std::string::npos) << feil.feil;
  EXPECT_EQ(feil.feil.find('\n'), feil.feil.size() - 1) << feil.feil;
  EXPECT_EQ(LesHeleFila(m / "eldre.pdf"), "eldre sider");
}

TEST(KatalogCli, Feil) {
  TestMappe m;
  SkrivEksempeldata(150, 3, m.Sti(), true);
  const std::string cli = std::string(HS_CLI) + " --data '" + m.Sti().string() + "' katalog ";
  struct Fall {
    std::string argumenter;
    std::string idel;
  };
  const Fall fall[] = {
      {"--fylke 21", "21"},
      {"--rase 27", "27"},
      {"--fra", "katalog"},
      {"--tabell 0,32", "32"},
      {"--tabell 0 --format csv", "csv"},
      {"--egen finnes-ikke.txt", "finnes-ikke.txt"},
      {"--minste-indeks x", "x"},
  };
  for (const Fall& f : fall) {
    SCOPED_TRACE(f.argumenter);
    const Svar s = Kjor(m, cli + f.argumenter);
    EXPECT_NE(s.kode, 0);
    EXPECT_EQ(s.ut, "");
    ASSERT_FALSE(s.feil.empty());
    EXPECT_EQ(s.feil.find('\n'), s.feil.size() - 1) << s.feil;
    EXPECT_NE(s.feil.find(f.idel), std::string::npos) << s.feil;
    EXPECT_FALSE(fs::exists(m / VerKatFilNavn));
  }
}

}  // namespace
