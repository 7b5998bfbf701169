#include "oppslag.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "cp1252.h"
#include "eksempeldata.h"
#include "filer.h"
#include "register.h"
#include "tekst.h"
#include "testmappe.h"
#include "trase.h"

namespace fs = std::filesystem;

namespace {

// Windows-1252 to UTF-8, so that expectations and failures read as text.
std::string U(const std::string& cp1252) { return Cp1252TilUtf8(cp1252); }
std::string C(const std::string& utf8) { return Utf8TilCp1252(utf8); }

TVerPost Ver(int32_t nummer, const std::string& navnUtf8 = "") {
  TVerPost p = TomVerPost();
  p.Nummer = nummer;
  p.Navn.Sett(C(navnUtf8));
  return p;
}

// A ram with every shown field set to a value of its own.
TVerPost FullVer() {
  TVerPost p = Ver(1203456, "KVITE HÅVARD");
  p.Rase = 4;
  p.Farnr = 1001234;  // in the register
  p.IndeksDato = IsoTextToDate("2023-03-15");
  p.OIndeks = 112;
  p.KIndeks = 98;
  p.MorevVaar = -3;
  p.Slakt = 105;
  p.Kjott = 101;
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
  p.Type = 0;
  p.MorFar = 1009999;  // not in the register
  p.AntHostvekt = 1234;
  p.AntSlakt = 56;
  p.AntDotre = 78;
  p.Mornr = 4521;
  p.MorIndeks = 104;
  p.BurdFodt = 2;
  p.Aar = 2021;
  p.Fylke = 12;
  p.Hostvekt = 45.5f;
  p.Fodebuskap.Sett(C("OLA NORDMANN, SØRE LIEN"));
  p.Fodested.Sett(C("ØRSTA"));
  return p;
}

// What the lookup shows for FullVer, as the command-line tool prints it.
const std::vector<std::string> FullVerLinjer = {
    "Spælsau / Kvite Håvard",
    "Fødebuskap:Ola Nordmann, Søre Lien",
    "Fødested:Ørsta i   Hordaland",  // the county text keeps the blanks after its number
    "Indeksdato\t15/03/2023",
    "O-indeks\t112",
    "K-indeks\t98",
    "Morev.Vår\t-3",
    "Slakt\t105",
    "Kjøtt\t101",
    "Fett\t97",
    "Morev.Sl\t88",
    "Fruktbarhet\t120",
    "Ant høstv.\t1234",
    "Ant slakt\t56",
    "Ant døtre\t78",
    "Farnr.\t1001234",
    "Far navn\tBlakk",
    "MorFar\t1009999",
    "MF navn\t",
    "Mornr.\t004521",
    "Morind.\t104",
    "Ring\t7",
    "Type\tAvkomsgransket",
    "Burd født\t2",
    "Høstvekt\t45.5",
    "O-ætt /O kåring\t2,5",
    "Vekt avv/p\t-1,5",
    "Kropp\t8,0",
    "Bein\t7,0",
    "Ullkvalitet\t9,0",
    "Ullmengde\t6,0",
    "Sum poeng\t31,0",
    "Ullvekt (kg)\t4,5",
    "Klippedato\t02/10/2022",
    "Fiberdiam.\t31,5",
    "Maks my\t1 500,0",
    "Stapel\t12,5",
    "Marg %\t  3",
    "Dyrehår\t 12",
};

// The register of the tests: a sire, a ram whose number is typed with stray
// letters, three rams that share a part of their names, a name too short for
// the name index, and the full ram; names that the integer reading takes for
// hexadecimal numbers ("Alexa" reads as 10, the number of TI); two rams that
// share one judging number.
std::vector<TVerPost> Rammer() {
  return {Ver(1001234, "BLAKK"),
          Ver(123, "KVITEN"),
          Ver(1100001, "FJELLKONG"),
          Ver(1100002, "STORFJELL"),
          Ver(1100003, "LITLFJELL"),
          Ver(1100004, "AB"),
          FullVer(),
          Ver(1005555, "STORM-KAREN"),
          Ver(10, "TI"),
          Ver(1300001, "XAVER"),
          Ver(1300002, "ALEXA"),
          Ver(1300003, "REXDAL"),
          Ver(1902505, "LYNGBJØRN"),
          Ver(1902505, "LYNGSTAD")};
}

// Record indexes in Rammer().
constexpr int32_t LyngbjornPost = 12;
constexpr int32_t LyngstadPost = 13;

std::vector<std::string> Linjer(const TVerVisning& v) {
  std::vector<std::string> l;
  for (const auto& t : v.rasnav) l.push_back(U(t));
  const auto grid = [&](const auto& titler, const auto& celler) {
    for (std::size_t i = 0; i < titler.size(); ++i) l.push_back(U(titler[i] + "\t" + celler[i]));
  };
  grid(VerindTitler(), v.verind);
  grid(SlektTitler(), v.slekt);
  grid(ScanTitler(), v.scan);
  grid(UllaTitler(), v.ulla);
  return l;
}

// A loaded register of Rammer() in a folder that is also the working
// directory, so that the breed names are the built-in ones.
class OppslagTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SkrivVerFil(mappe / VerFilNavn, Rammer());
    reg = std::make_unique<TProdusent>(mappe.Sti());
    reg->LoadRegister();
  }
  TVerVisning Vis(const TVerPost& p) { return LagVisning(p, raser, reg.get()); }

  TestMappe mappe;
  IMappe her{mappe.Sti()};
  Trase raser;
  std::unique_ptr<TProdusent> reg;
};

}  // namespace

TEST_F(OppslagTest, FullVerFyllerOverskriftOgAlleRutenett) {
  const TVerVisning v = Vis(FullVer());
  EXPECT_TRUE(v.vist);
  EXPECT_EQ(Linjer(v), FullVerLinjer);
}

TEST_F(OppslagTest, TomPostGirTomTilstand) {
  const std::vector<std::string> ventet = {"Rase/navn", "Fødebuskap:", "Fødested:",
                                           // Verind
                                           "Indeksdato\tIngen dato", "O-indeks\t0", "K-indeks\t0", "Morev.Vår\t0",
                                           "Slakt\t0", "Kjøtt\t0", "Fett\t0", "Morev.Sl\t0", "Fruktbarhet\t0",
                                           "Ant høstv.\t0", "Ant slakt\t0", "Ant døtre\t0",
                                           // Slekt
                                           "Farnr.\t0", "Far navn\t", "MorFar\t0", "MF navn\t", "Mornr.\t000000",
                                           "Morind.\t0", "Ring\t0", "Type\tKåra", "Burd født\t0", "Høstvekt\t----",
                                           // Scan
                                           "O-ætt /O kåring\t0,0", "Vekt avv/p\t0,0", "Kropp\t0,0", "Bein\t0,0",
                                           "Ullkvalitet\t0,0", "Ullmengde\t0,0", "Sum poeng\t^^^",
                                           // Ulla
                                           "Ullvekt (kg)\t0,0", "Klippedato\tIngen dato", "Fiberdiam.\t0,0",
                                           "Maks my\t0,0", "Stapel\t0,0", "Marg %\t  0", "Dyrehår\t  0"};
  // With the register, and before there is one.
  for (TProdusent* r : {reg.get(), static_cast<TProdusent*>(nullptr)}) {
    SCOPED_TRACE(r ? "register" : "uten register");
    const TVerVisning v = LagVisning(TomVerPost(), raser, r);
    EXPECT_FALSE(v.vist);
    EXPECT_EQ(Linjer(v), ventet);
  }
}

TEST_F(OppslagTest, TypeTekst) {
  struct Tilfelle {
    uint8_t type;
    int16_t oIndeks;
    const char* ventet;
  };
  const Tilfelle tilfeller[] = {
      {0, 30, "Kåra"},        {0, 31, "Avkomsgransket"}, {0, -40, "Kåra"}, {1, 10, "Semin"},          {1, 120, "Semin"},
      {2, 120, "Utg. semin"}, {3, 31, "Avkomsgransket"}, {3, 30, "Kåra"},  {4, 31, "Avkomsgransket"},
  };
  for (const auto& c : tilfeller) {
    SCOPED_TRACE(testing::Message() << "Type " << +c.type << ", OIndeks " << c.oIndeks);
    TVerPost p = FullVer();
    p.Type = c.type;
    p.OIndeks = c.oIndeks;
    EXPECT_EQ(U(Vis(p).slekt[7]), c.ventet);
  }
}

TEST_F(OppslagTest, PoengsumOgKarakterer) {
  struct Tilfelle {
    uint8_t kropp, bein, kvalitet, mengde;
    float avvik, aett;
    const char* sum;
  };
  const Tilfelle tilfeller[] = {
      {5, 6, 7, 8, 1.5f, 2.0f, "29,5"},
      {5, 0, 7, 8, 1.5f, 2.0f, "^^^"},  // no legs score: no sum, whatever the rest
      {0, 1, 0, 0, 0.0f, 0.0f, " 1,0"},
      {5, 6, 7, 8, -2.5f, 0.0f, "23,5"},
      // 26 + 0.05f added in single precision would give 26.049999 and "26,0".
      {5, 6, 7, 8, 0.05f, 0.0f, "26,1"},
      {5, 6, 7, 8, 0.0f, 1000.0f, "1 026,0"},
  };
  for (const auto& c : tilfeller) {
    SCOPED_TRACE(c.sum);
    TVerPost p = TomVerPost();
    p.Nummer = 1;
    p.Kropp = c.kropp;
    p.Bein = c.bein;
    p.Ullkvalitet = c.kvalitet;
    p.Ullmengde = c.mengde;
    p.VektAvvik = c.avvik;
    p.OAett = c.aett;
    EXPECT_EQ(U(Vis(p).scan[6]), c.sum);
  }
  // The scores themselves are shown as decimals, with or without a sum.
  TVerPost p = TomVerPost();
  p.Kropp = 5;
  const TVerVisning v = Vis(p);
  EXPECT_EQ(v.scan[2], "5,0");
  EXPECT_EQ(v.scan[3], "0,0");
  EXPECT_EQ(v.scan[6], "^^^");
}

TEST_F(OppslagTest, MornrOgHostvekt) {
  struct Mor {
    int32_t mornr;
    const char* ventet;
  };
  for (const Mor& c :
       {Mor{0, "000000"}, Mor{4521, "004521"}, Mor{7, "000007"}, Mor{1234567, "1234567"}, Mor{-45, "-000045"}}) {
    TVerPost p = FullVer();
    p.Mornr = c.mornr;
    EXPECT_EQ(Vis(p).slekt[4], c.ventet) << c.mornr;
  }
  struct Vekt {
    float hostvekt;
    const char* ventet;
  };
  // Width 4 with one decimal and a decimal point; a weight that does not fit
  // with its decimal loses it.
  for (const Vekt& c : {Vekt{0.0f, "----"}, Vekt{45.5f, "45.5"}, Vekt{8.0f, "8.0"}, Vekt{120.0f, "120"}}) {
    TVerPost p = FullVer();
    p.Hostvekt = c.hostvekt;
    EXPECT_EQ(Vis(p).slekt[9], c.ventet) << c.hostvekt;
  }
}

TEST_F(OppslagTest, UllTallMedTusenskilleOgBredde) {
  TVerPost p = FullVer();
  p.Ullvekt = 12345.5f;
  p.Fiberdiameter = 0.5f;
  p.MaksMy = -1000.0f;
  p.Stapel = 999.96f;  // rounds up into the next thousand
  p.Marg = 255;
  p.Dyrehaar = 0;
  const TVerVisning v = Vis(p);
  EXPECT_EQ(v.ulla[0], "12 345,5");
  EXPECT_EQ(v.ulla[2], "0,5");
  EXPECT_EQ(v.ulla[3], "-1 000,0");
  EXPECT_EQ(v.ulla[4], "1 000,0");
  EXPECT_EQ(v.ulla[5], "255");
  EXPECT_EQ(v.ulla[6], "  0");
}

TEST_F(OppslagTest, Overskrift) {
  struct Tilfelle {
    int32_t nummer;
    int8_t rase;
    uint8_t fylke;
    const char *navn, *buskap, *sted;
    const char* ventet[3];
  };
  const Tilfelle tilfeller[] = {
      {5,
       1,
       1,
       "OLA-PER O'NEILL",
       "per/paal",
       "bø.nord",
       {"Dala    / Ola-Per O'neill", "Fødebuskap:Per/Paal", "Fødested:Bø.Nord i   Østfold           "}},
      {5, -3, 20, "blakk", "", "Ukjent", {"^Sjeviot / Blakk", "Fødebuskap:", "Fødested:Ukjent i   Finnmark"}},
      {5, 27, 0, "X", "", "", {"Feil i rase 27 / X", "Fødebuskap:", "Fødested: i "}},
      {5, -128, 13, "", "", "", {"Feil i rase -128 / ", "Fødebuskap:", "Fødested: i  Udefinert"}},
      // A negative number is not a shown ram.
      {-5, 1, 1, "BLAKK", "X", "Y", {"Rase/navn", "Fødebuskap:", "Fødested:"}},
  };
  for (const auto& c : tilfeller) {
    SCOPED_TRACE(c.navn);
    TVerPost p = TomVerPost();
    p.Nummer = c.nummer;
    p.Rase = c.rase;
    p.Fylke = c.fylke;
    p.Navn.Sett(C(c.navn));
    p.Fodebuskap.Sett(C(c.buskap));
    p.Fodested.Sett(C(c.sted));
    const TVerVisning v = Vis(p);
    EXPECT_EQ(v.vist, c.nummer > 0);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(U(v.rasnav[i]), c.ventet[i]) << "linje " << i + 1;
  }
}

TEST_F(OppslagTest, NavnPaaFarOgMorfar) {
  struct Tilfelle {
    int32_t farnr, morfar;
    const char *farNavn, *mfNavn;
  };
  const Tilfelle tilfeller[] = {
      {1001234, 1005555, "Blakk", "Storm-Karen"},
      {1009999, 1001234, "", "Blakk"},
      {0, 0, "", ""},
      {1100004, 123, "Ab", "Kviten"},  // a two-letter name is still found by its number
  };
  for (const auto& c : tilfeller) {
    SCOPED_TRACE(testing::Message() << c.farnr << " / " << c.morfar);
    TVerPost p = FullVer();
    p.Farnr = c.farnr;
    p.MorFar = c.morfar;
    const TVerVisning v = Vis(p);
    EXPECT_EQ(v.slekt[1], c.farNavn);
    EXPECT_EQ(v.slekt[3], c.mfNavn);
  }
  // Without a register the names stay empty.
  EXPECT_EQ(LagVisning(FullVer(), raser, nullptr).slekt[1], "");
}

TEST(OppslagStilTest, RadtitlerOgFargerPaaIndeksrutenettet) {
  // The titles are Windows-1252 bytes.
  EXPECT_EQ(VerindTitler()[3], "Morev.V\xE5r");
  EXPECT_EQ(VerindTitler()[9], "Ant h\xF8stv.");
  EXPECT_EQ(SlektTitler()[8],
            "Burd f\xF8"
            "dt");
  EXPECT_EQ(ScanTitler()[0], "O-\xE6tt /O k\xE5ring");
  EXPECT_EQ(UllaTitler()[6], "Dyreh\xE5r");

  for (int rad = 0; rad < 12; ++rad) {
    SCOPED_TRACE(rad);
    const TVerindStil s = VerindStil(rad);
    EXPECT_EQ(s.fet, rad == 0);
    const TVerindFarge ventet = rad == 0 ? TVerindFarge::Standard : rad <= 8 ? TVerindFarge::Svart : TVerindFarge::Blaa;
    EXPECT_EQ(s.farge, ventet);
  }
}

TEST_F(OppslagTest, SoekEtterNummerEllerNavn) {
  using U_ = TSoekResultat::Utfall;
  struct Tilfelle {
    const char* felt;
    const char* navnesoek;
    U_ utfall;
    bool navn;
    int32_t ver;        // Nummer of the resulting ram
    int32_t feltverdi;  // -1: the field is left as it is
    std::size_t kandidater;
  };
  const Tilfelle tilfeller[] = {
      {"1001234", "", U_::Ver, false, 1001234, -1, 0},
      {"12ab3", "12ab3", U_::Ver, false, 123, -1, 0},      // stray letters are dropped
      {"999", "999", U_::Ver, false, 0, -1, 0},            // unknown number: the empty record
      {"lak", "lak", U_::Ver, true, 1001234, 1001234, 0},  // one match, lower case, mid-name
      {"0", "Blakk", U_::Ver, true, 1001234, 1001234, 0},  // the field rewritten to 0 after leaving it
      {"", "Blakk", U_::Ver, true, 1001234, 1001234, 0},   // the field emptied
      {"fjell", "fjell", U_::Kandidater, true, 0, -1, 3},
      {"zzz", "zzz", U_::Ingenting, true, 0, -1, 0},
      {"ab", "ab", U_::Ver, false, 0, -1, 0},  // too short for a name: number 0, nothing shown
      {"AB", "AB", U_::Ver, false, 0, -1, 0},
      {"abc1", "abc1", U_::Ver, false, 0, -1, 0},            // reads as number 1
      {"1001234", "fjell", U_::Ver, false, 1001234, -1, 0},  // a number wins over the name text
      // A name without digits is a name, though the integer reading would take
      // it for a hexadecimal number (Xaver 174, Alexa 10, Rexdal 218).
      {"Xaver", "Xaver", U_::Ver, true, 1300001, 1300001, 0},
      {"alexa", "alexa", U_::Ver, true, 1300002, 1300002, 0},
      {"Rexdal", "Rexdal", U_::Ver, true, 1300003, 1300003, 0},
      {"xa", "xa", U_::Ver, false, 0, -1, 0},  // too short for a name, and no number
      {"$a", "$a", U_::Ver, false, 0, -1, 0},
      {"0xa", "0xa", U_::Ver, false, 10, -1, 0},  // with a digit the number reading stands
  };
  for (const auto& c : tilfeller) {
    SCOPED_TRACE(testing::Message() << "felt '" << c.felt << "', navn '" << c.navnesoek << "'");
    const TSoekResultat r = Soek(c.felt, c.navnesoek, reg.get());
    EXPECT_EQ(r.utfall, c.utfall);
    EXPECT_EQ(r.navnesoek, c.navn);
    EXPECT_EQ(+r.ver.Nummer, c.ver);
    EXPECT_EQ(r.feltverdi.value_or(-1), c.feltverdi);
    EXPECT_EQ(r.kandidater.size(), c.kandidater);
  }
}

TEST_F(OppslagTest, FlereTreffGirKandidaterIRegisterrekkefolge) {
  const TSoekResultat r = Soek("", "Fjell", reg.get());
  ASSERT_EQ(r.utfall, TSoekResultat::Utfall::Kandidater);
  ASSERT_EQ(r.kandidater.size(), 3u);
  EXPECT_EQ(r.kandidater[0].tekst, "1100001 FJELLKONG");
  EXPECT_EQ(r.kandidater[1].tekst, "1100002 STORFJELL");
  EXPECT_EQ(r.kandidater[2].tekst, "1100003 LITLFJELL");
  EXPECT_EQ(r.kandidater[2].nummer, 1100003);
  EXPECT_EQ(+r.ver.Nummer, 0) << "the current ram is not replaced";

  // A name with a letter outside ASCII, typed in lower case.
  const TSoekResultat h = Soek("", C("håvard"), reg.get());
  EXPECT_EQ(h.utfall, TSoekResultat::Utfall::Ver);
  EXPECT_EQ(+h.ver.Nummer, 1203456);
}

TEST_F(OppslagTest, ToVererMedSammeNummerHolderesFraHverandre) {
  // One name match is the record whose name matched, not the later record
  // with its number.
  for (const auto& [soek, navn, post] :
       {std::tuple{"lyngbj", "LYNGBJØRN", LyngbjornPost}, std::tuple{"lyngst", "LYNGSTAD", LyngstadPost}}) {
    SCOPED_TRACE(soek);
    const TSoekResultat r = Soek(soek, soek, reg.get());
    ASSERT_EQ(r.utfall, TSoekResultat::Utfall::Ver);
    EXPECT_EQ(U(r.ver.Navn.Verdi()), navn);
    EXPECT_EQ(r.indeks, post);
    EXPECT_EQ(r.feltverdi, 1902505);
  }
  // Each candidate carries its record, and picking it gives that record.
  const TSoekResultat r = Soek("", "lyng", reg.get());
  ASSERT_EQ(r.kandidater.size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    int32_t indeks = -1;
    const TVerPost p = KandidatVer(*reg, r.kandidater[i], indeks);
    EXPECT_EQ(r.kandidater[i].tekst, "1902505 " + p.Navn.Verdi());
    EXPECT_EQ(indeks, i == 0 ? LyngbjornPost : LyngstadPost);
  }
  // A number search gives the later record, and tells which one it read.
  const TSoekResultat n = Soek("1902505", "", reg.get());
  EXPECT_EQ(n.indeks, LyngstadPost);
  // A candidate whose record no longer holds its number falls back on the number.
  TTekstElement gammel = r.kandidater[0];
  gammel.indeks = 0;
  int32_t indeks = -1;
  EXPECT_EQ(U(KandidatVer(*reg, gammel, indeks).Navn.Verdi()), "LYNGSTAD");
  EXPECT_EQ(indeks, LyngstadPost);
}

TEST_F(OppslagTest, EnterOgSoekUtenRegister) {
  EXPECT_FALSE(EnterStarterSoek(""));
  EXPECT_FALSE(EnterStarterSoek("ab"));
  EXPECT_TRUE(EnterStarterSoek("abc"));
  EXPECT_TRUE(EnterStarterSoek("123"));
  // Before the register object exists nothing happens, whatever is typed.
  for (const char* t : {"1001234", "Blakk"}) {
    const TSoekResultat r = Soek(t, t, nullptr);
    EXPECT_EQ(r.utfall, TSoekResultat::Utfall::Ingenting) << t;
  }
}

TEST_F(OppslagTest, DobbeltklikkPaaFarenViserFaren) {
  const TVerVisning v = Vis(FullVer());
  struct Tilfelle {
    int kolonne, rad;
    std::optional<int32_t> ventet;
  };
  const Tilfelle tilfeller[] = {
      {1, 0, 1001234},       // "Farnr."
      {1, 1, 0},             // "Far navn": a name without digits reads as 0
      {1, 2, std::nullopt},  // "MorFar" does not react
      {1, 3, std::nullopt},
      {1, 4, std::nullopt},
      {0, 0, std::nullopt},  // the row titles do not react
      {0, 1, std::nullopt},
  };
  for (const auto& c : tilfeller) {
    SCOPED_TRACE(testing::Message() << "kolonne " << c.kolonne << ", rad " << c.rad);
    const std::string celle = c.kolonne == 0 ? SlektTitler()[c.rad] : v.slekt[c.rad];
    EXPECT_EQ(SlektDobbeltklikk(c.kolonne, c.rad, celle), c.ventet);
  }
  EXPECT_EQ(SlektDobbeltklikk(1, 1, "Blakk 2"), 2);

  // The value goes into the field, and the search shows the sire.
  const auto verdi = SlektDobbeltklikk(1, 0, v.slekt[0]);
  ASSERT_TRUE(verdi);
  const TSoekResultat r = Soek(IntToText(*verdi), "", reg.get());
  EXPECT_EQ(+r.ver.Nummer, 1001234);
  EXPECT_EQ(U(Vis(r.ver).rasnav[0]), "Ukjent rase / Blakk");
}

TEST(OppslagBreddeTest, BredesteNavnEtRegisterKanHolde) {
  // Widths of characters as shown: 5 pixels unless the case says otherwise.
  // Where several names are as wide, the width tells; where one is, the name.
  struct Tilfelle {
    const char* navn;
    std::map<unsigned char, int> bredder;
    int bredde;
    std::string ventet;
  };
  const Tilfelle tilfeller[] = {
      {"stor M først, så små", {{'M', 10}, {'m', 9}}, 181, "M" + std::string(19, 'm')},
      {"et tegn uten store og små bokstaver", {{'M', 10}, {'m', 9}, {'@', 11}}, 220, std::string(20, '@')},
      {"bare den store er bred: ordskille gir nye store", {{'W', 10}, {'-', 6}}, 160, ""},
      {"Æ etter blank er bredere enn æ", {{0xC6, 12}, {0xE6, 6}}, 10 * 12 + 9 * 5 + 6, ""},
      {"et udefinert tegn lagres ikke", {{0x81, 50}, {'x', 6}}, 5 + 19 * 6, ""},
  };
  for (const Tilfelle& t : tilfeller) {
    SCOPED_TRACE(t.navn);
    const auto bredde = [&](unsigned char c) {
      const auto b = t.bredder.find(c);
      return b == t.bredder.end() ? 5 : b->second;
    };
    const std::string r = BredesteNavn(20, bredde);
    ASSERT_EQ(r.size(), 20u);
    EXPECT_EQ(NameCase(r), r) << "as the window shows a name";
    int sum = 0;
    for (const char c : r) sum += bredde(static_cast<unsigned char>(c));
    EXPECT_EQ(sum, t.bredde) << r;
    if (!t.ventet.empty()) {
      EXPECT_EQ(r, t.ventet);
    }
  }
}

namespace {

// Runs `hornstad-cli --data MAPPE oppslag ARG` in the folder.
Svar Oppslag(const TestMappe& mappe, const std::string& arg) {
  const auto sitat = [](const std::string& s) { return "'" + s + "'"; };
  return Kjor(mappe, std::string(HS_CLI) + " --data " + sitat(mappe.Sti().string()) + " oppslag " + sitat(arg));
}

std::string Tekst(const std::vector<std::string>& linjer) {
  std::string t;
  for (const auto& l : linjer) t += l + "\n";
  return t;
}

}  // namespace

TEST(OppslagCliTest, NummerNavnOgIngenTreff) {
  TestMappe mappe;
  SkrivVerFil(mappe / VerFilNavn, Rammer());

  // By number, with stray letters, and by a name with one match (in UTF-8 on
  // the command line): the same ram, line for line.
  for (const char* arg : {"1203456", "12034x56", "håvard"}) {
    SCOPED_TRACE(arg);
    const Svar s = Oppslag(mappe, arg);
    EXPECT_EQ(s.kode, 0) << s.feil;
    EXPECT_EQ(s.ut, Tekst(FullVerLinjer));
    EXPECT_EQ(s.feil, "");
  }

  // A name that the integer reading takes for hexadecimal is searched as a name.
  for (const char* arg : {"Xaver", "Alexa", "rexdal"}) {
    SCOPED_TRACE(arg);
    const Svar s = Oppslag(mappe, arg);
    EXPECT_EQ(s.kode, 0) << s.feil;
    EXPECT_EQ(s.ut.substr(0, s.ut.find('\n')),
              std::string("Ukjent rase / ") + static_cast<char>(std::toupper(arg[0])) + std::string(arg + 1));
  }

  const Svar flere = Oppslag(mappe, "Fjell");
  EXPECT_EQ(flere.kode, 0) << flere.feil;
  EXPECT_EQ(flere.ut, "1100001 FJELLKONG\n1100002 STORFJELL\n1100003 LITLFJELL\n");

  // Nothing found: one line on stderr that names what was looked for, nothing
  // on stdout, exit code 1.
  struct Ingen {
    const char* arg;
    const char* imelding;
  };
  for (const Ingen& c : {Ingen{"999", "999"}, Ingen{"zzz", "zzz"}, Ingen{"ab", "tre tegn"}}) {
    SCOPED_TRACE(c.arg);
    const Svar s = Oppslag(mappe, c.arg);
    EXPECT_EQ(s.kode, 1);
    EXPECT_EQ(s.ut, "");
    ASSERT_FALSE(s.feil.empty());
    EXPECT_EQ(s.feil.find('\n'), s.feil.size() - 1) << s.feil;
    EXPECT_NE(s.feil.find(c.imelding), std::string::npos) << s.feil;
  }
}
