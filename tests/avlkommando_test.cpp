// hornstad-cli slektskap, innavl and paringsplan, run in the test's own
// process on a small register whose figures are worked by hand.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "eksempeldata.h"
#include "filer.h"
#include "kjorcli.h"
#include "register.h"
#include "tabell.h"
#include "tekst.h"
#include "testmappe.h"
#include "verktoy.h"

namespace {

using Kjoring = Svar;

// `hornstad-cli --data MAPPE ARGUMENTER`, its output caught in memory.
Kjoring KjorAvl(const TestMappe& m, std::vector<std::string> argumenter) { return KjorCli(m, std::move(argumenter)); }

TVerPost Ver(int32_t nummer, const char* navn, int32_t farnr = 0) {
  TVerPost p = TomVerPost();
  p.Nummer = nummer;
  p.Navn.Sett(navn);
  p.Farnr = farnr;
  p.OIndeks = 100;
  return p;
}

std::string ForsteLinje(const std::string& t) { return t.substr(0, t.find('\n')); }

// BLAKKEN and his two sons SVARTEN and KVITEN; the dams are unknown.
class AvlKommando : public ::testing::Test {
 protected:
  void SetUp() override {
    SkrivVerFil(m / VerFilNavn,
                {Ver(1001234, "BLAKKEN"), Ver(1100001, "SVARTEN", 1001234), Ver(1100002, "KVITEN", 1001234)});
  }
  TestMappe m;
};

}  // namespace

// The known matings: his own daughter, a daughter of his sire, a ewe whose
// dam's sire is his sire, and a ewe of no known kin.
TEST_F(AvlKommando, SlektskapGirLammetsInnavlForst) {
  const struct {
    std::vector<std::string> argumenter;
    const char* forste;
  } tilfeller[] = {
      {{"slektskap", "1100001", "--far", "1100001"}, "Innavlsgrad for lammet: 25,00 %"},
      {{"slektskap", "1100001", "--far", "1001234"}, "Innavlsgrad for lammet: 12,50 %"},
      {{"slektskap", "1100001", "--morfar", "1001234"}, "Innavlsgrad for lammet: 6,25 %"},
      // A daughter of his half-brother.
      {{"slektskap", "1100001", "--far", "1100002", "--morfar", "0"}, "Innavlsgrad for lammet: 6,25 %"},
      {{"slektskap", "1100001"}, "Innavlsgrad for lammet: 0,00 %"},
      // A ewe whose dam's dam is his daughter, or a daughter of his sire.
      {{"slektskap", "1100001", "--mormorfar", "1100001"}, "Innavlsgrad for lammet: 6,25 %"},
      {{"slektskap", "1100001", "--mormorfar", "1001234"}, "Innavlsgrad for lammet: 3,13 %"},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(t.argumenter[3 < t.argumenter.size() ? 3 : 1]);
    const Kjoring k = KjorAvl(m, t.argumenter);
    EXPECT_EQ(k.kode, 0) << k.feil;
    EXPECT_EQ(ForsteLinje(k.ut), t.forste) << k.ut;
    EXPECT_EQ(k.feil, "");
  }
  // Then the ram's own figure, the completeness and the shared ancestors.
  const Kjoring k = KjorAvl(m, {"slektskap", "1100001", "--far", "1001234"});
  EXPECT_NE(k.ut.find("av 62"), std::string::npos) << k.ut;
  EXPECT_NE(k.ut.find("1001234"), std::string::npos) << k.ut;

  const Kjoring ukjent = KjorAvl(m, {"slektskap", "999"});
  EXPECT_EQ(ukjent.kode, 1);
  EXPECT_EQ(ukjent.feil, "Fant ingen vær med kåringsnummer 999.\n");
  const Kjoring galt = KjorAvl(m, {"slektskap", "1100001", "--far", "x"});
  EXPECT_EQ(galt.kode, 2);
  EXPECT_EQ(galt.feil, "Ugyldig tall for --far: x\n");
  const Kjoring galtMormorfar = KjorAvl(m, {"slektskap", "1100001", "--mormorfar", "x"});
  EXPECT_EQ(galtMormorfar.kode, 2);
  EXPECT_EQ(galtMormorfar.feil, "Ugyldig tall for --mormorfar: x\n");
  EXPECT_EQ(KjorAvl(m, {"slektskap"}).kode, 2);
}

// The whole output: the common ancestors as a breeder reads them (his own
// daughter gives SVARTEN alone, not his sire), and a sire or dam's sire not
// in the register told instead of a figure that only looks right.
TEST_F(AvlKommando, SlektskapListerFellesAnerOgSierFraOmUkjenteForeldre) {
  const std::string hode = "Værens egen innavlsgrad: 0,00 % (kjente aner i fem ledd: 1 av 62)\n";
  const struct {
    std::vector<std::string> argumenter;
    int kode;
    std::string ut, feil;
  } tilfeller[] = {
      {{"slektskap", "1100001", "--far", "1100001"},
       0,
       "Innavlsgrad for lammet: 25,00 %\n" + hode +
           "Kjente aner i fem ledd for lammet: 5 av 62\n"
           "Felles aner (andel av lammets innavlsgrad):\n"
           "  1100001 Svarten: 25,00 %\n",
       ""},
      // Two paths to BLAKKEN: through her sire and through her dam.
      {{"slektskap", "1100001", "--far", "1100002", "--morfar", "1001234"},
       0,
       "Innavlsgrad for lammet: 12,50 %\n" + hode +
           "Kjente aner i fem ledd for lammet: 7 av 62\n"
           "Felles aner (andel av lammets innavlsgrad):\n"
           "  1001234 Blakken: 12,50 %\n",
       ""},
      {{"slektskap", "1100001", "--far", "999"}, 1, "", "Far 999 finnes ikke i registeret.\n"},
      {{"slektskap", "1100001", "--far", "1001234", "--morfar", "888"},
       1,
       "",
       "Morfar 888 finnes ikke i registeret.\n"},
      // And the dam's dam his daughter: SVARTEN by a path of three generations on her side.
      {{"slektskap", "1100001", "--far", "1100002", "--morfar", "1001234", "--mormorfar", "1100001"},
       0,
       "Innavlsgrad for lammet: 18,75 %\n" + hode +
           "Kjente aner i fem ledd for lammet: 10 av 62\n"
           "Felles aner (andel av lammets innavlsgrad):\n"
           "  1001234 Blakken: 12,50 %\n"
           "  1100001 Svarten: 6,25 %\n",
       ""},
      {{"slektskap", "1100001", "--far", "1001234", "--mormorfar", "777"},
       1,
       "",
       "Mormors far 777 finnes ikke i registeret.\n"},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(t.argumenter.back());
    const Kjoring k = KjorAvl(m, t.argumenter);
    EXPECT_EQ(k.kode, t.kode);
    EXPECT_EQ(k.ut, t.ut);
    EXPECT_EQ(k.feil, t.feil);
  }
}

TEST_F(AvlKommando, InnavlHarNummerNavnOgEgenInnavlForst) {
  // SVARTEN's son out of his half-sister: 12,5 % inbred.
  SkrivVerFil(m / VerFilNavn,
              {Ver(1001234, "BLAKKEN"), Ver(1100001, "SVARTEN", 1001234), Ver(1100002, "KVITEN", 1001234), [] {
                 TVerPost p = Ver(1200001, "INNAVLET", 1100001);
                 p.Mornr = 55;
                 p.MorFar = 1001234;
                 return p;
               }()});
  const Kjoring k = KjorAvl(m, {"innavl"});
  ASSERT_EQ(k.kode, 0) << k.feil;
  // The data rows as the table window's semicolon export writes them.
  EXPECT_EQ(k.ut,
            "1001234;Blakken;0,00;0\n"
            "1100001;Svarten;0,00;1\n"
            "1100002;Kviten;0,00;1\n"
            "1200001;Innavlet;12,50;4\n");
  EXPECT_EQ(KjorAvl(m, {"innavl", "--format", "tull"}).kode, 2);
}

TEST_F(AvlKommando, ParingsplanForSoyeneMedSnittSist) {
  SkrivTrygt(m / "Soyer.Txt", "# søyer\r\n7;1100001;0\r\n8;0;1001234\r\n");
  const Kjoring k = KjorAvl(m, {"paringsplan", "--verer", "1100001,1100002,42"});
  ASSERT_EQ(k.kode, 0) << k.feil;
  // His daughter and his half-brother's; a ewe out of his half-sister.
  EXPECT_EQ(k.ut,
            "7;1100001;;25,00;6,25\n"
            "8;;1001234;6,25;6,25\n"
            "Snitt;;;15,63;6,25\n");
  EXPECT_EQ(k.feil, "Kåringsnummer 42 finnes ikke i registeret.\n");

  // Another list of ewes, with a line that does not read.
  SkrivTrygt(m / "andre.txt", "9;1001234;0\r\ntull\r\n");
  const Kjoring andre = KjorAvl(m, {"paringsplan", "--soyer", (m / "andre.txt").string(), "--verer", "1100002"});
  ASSERT_EQ(andre.kode, 0) << andre.feil;
  EXPECT_EQ(andre.ut, "9;1001234;;12,50\nSnitt;;;12,50\n");
  EXPECT_NE(andre.feil.find("2"), std::string::npos) << "the line is named: " << andre.feil;

  // No ewes: nothing to plan, and the user is told where they go.
  std::filesystem::remove(m / "Soyer.Txt");
  const Kjoring ingen = KjorAvl(m, {"paringsplan", "--verer", "1100001"});
  EXPECT_EQ(ingen.kode, 1);
  EXPECT_NE(ingen.feil.find("Fant ingen søyer"), std::string::npos) << ingen.feil;
  EXPECT_EQ(KjorAvl(m, {"paringsplan"}).kode, 2);
  EXPECT_EQ(KjorAvl(m, {"paringsplan", "--verer", "1,x"}).kode, 2);
}

// A ram that is its own ancestor: the figures still come, with a line on
// the message stream.
TEST_F(AvlKommando, SloyferMeldesPaaFeilstrommen) {
  SkrivVerFil(m / VerFilNavn, {Ver(1001234, "BLAKKEN", 1100001), Ver(1100001, "SVARTEN", 1001234)});
  const Kjoring k = KjorAvl(m, {"slektskap", "1100001"});
  EXPECT_EQ(k.kode, 0) << k.feil;
  EXPECT_EQ(ForsteLinje(k.ut), "Innavlsgrad for lammet: 0,00 %");
  EXPECT_NE(k.feil.find("sin egen stamfar"), std::string::npos) << k.feil;
}

// ---- lists, the change report, comparison and statistics ----

TEST_F(AvlKommando, ListeLagesEndresOgVises) {
  Kjoring k = KjorAvl(m, {"liste", "Mine værer", "--legg-til", "1100002,1100001,1100002"});
  ASSERT_EQ(k.kode, 0) << k.feil;
  // The name, the breed and O, - and MorV when no table field was ever chosen.
  EXPECT_EQ(k.ut, "1100002;Kviten;Ukjent rase;100;0;0\n1100001;Svarten;Ukjent rase;100;0;0\n");
  EXPECT_EQ(LesHeleFila(m / "Lister.Txt").find("[Mine v\xE6rer]\r\n1100002\r\n1100001\r\n") != std::string::npos, true);

  k = KjorAvl(m, {"liste", "mine VÆRER", "--fjern", "1100002", "--legg-til", "42"});
  ASSERT_EQ(k.kode, 0) << k.feil;
  EXPECT_EQ(k.ut, "1100001;Svarten;Ukjent rase;100;0;0\n42;(ikke i registeret);;;;\n");

  const Kjoring ingen = KjorAvl(m, {"liste", "Reserve"});
  EXPECT_EQ(ingen.kode, 1);
  EXPECT_NE(ingen.feil.find("Reserve"), std::string::npos) << ingen.feil;
  EXPECT_EQ(KjorAvl(m, {"liste", "Reserve", "--legg-til", "12x"}).kode, 2);
  EXPECT_EQ(KjorAvl(m, {"liste"}).kode, 2);
}

// An import compares the listed rams of the old register with the new and
// keeps the report; without lists no report is kept.
TEST_F(AvlKommando, InnlesingLagerEndringerForVereneIListene) {
  // An export, and the same with ram 10's O-indeks (column 28) raised by 7
  // and ram 20 gone.
  const std::string gammel = LagEksport(300, 9), ny = EndretEksport(gammel, 10, 7, 20);
  SkrivTrygt(m / "gamle.Tex", gammel);
  SkrivTrygt(m / "nye.Tex", ny);
  const std::vector<TVerPost> gamle = KonverterEksport(gammel), nye = KonverterEksport(ny);
  ASSERT_EQ(gamle[10].Nummer, nye[10].Nummer);
  ASSERT_EQ(gamle[10].OIndeks + 7, nye[10].OIndeks);
  ASSERT_EQ(gamle[21].Nummer, nye[20].Nummer);
  ASSERT_EQ(KjorAvl(m, {"importer", (m / "gamle.Tex").string()}).kode, 0);
  EXPECT_FALSE(std::filesystem::exists(m / "Endringer.Txt")) << "no lists, no report";

  const std::string a = std::to_string(gamle[10].Nummer), b = std::to_string(gamle[20].Nummer);
  ASSERT_EQ(KjorAvl(m, {"liste", "Mine værer", "--legg-til", a + "," + b}).kode, 0);
  const Kjoring inn = KjorAvl(m, {"importer", (m / "nye.Tex").string()});
  ASSERT_EQ(inn.kode, 0) << inn.feil;
  EXPECT_NE(inn.ut.find("2 værer på listene er endret ved innlesingen"), std::string::npos) << inn.ut;

  const Kjoring e = KjorAvl(m, {"endringer"});
  ASSERT_EQ(e.kode, 0) << e.feil;
  EXPECT_NE(e.ut.find("Mine værer;" + a + ";"), std::string::npos) << e.ut;
  EXPECT_NE(e.ut.find(";O-indeks;" + std::to_string(gamle[10].OIndeks) + ";" + std::to_string(nye[10].OIndeks)),
            std::string::npos)
      << e.ut;
  EXPECT_NE(e.ut.find("Mine værer;" + b + ";"), std::string::npos) << e.ut;
  EXPECT_NE(e.ut.find("Ikke lenger i registeret"), std::string::npos) << e.ut;

  // The same export again: nothing changed, and the report says so.
  ASSERT_EQ(KjorAvl(m, {"importer", (m / "nye.Tex").string()}).kode, 0);
  const Kjoring uendret = KjorAvl(m, {"endringer"});
  EXPECT_EQ(uendret.kode, 0);
  EXPECT_EQ(uendret.ut.rfind("Ingen endringer for værer på listene, innlest ", 0), 0u) << uendret.ut;
}

TEST_F(AvlKommando, SammenlignOgStatistikk) {
  Kjoring k = KjorAvl(m, {"sammenlign", "1100001", "1100002"});
  ASSERT_EQ(k.kode, 0) << k.feil;
  // The rams' breed and year first; two rams of O-indeks 100 in one group.
  EXPECT_EQ(k.ut.rfind("Rase;Ukjent rase;Ukjent rase\n", 0), 0u) << k.ut;
  EXPECT_NE(k.ut.find("\nO-indeks;100 (50 %);100 (50 %)\n"), std::string::npos) << k.ut;
  EXPECT_NE(k.ut.find("\nK-indeks;–;–\n"), std::string::npos) << k.ut;

  k = KjorAvl(m, {"sammenlign", "1100001", "42"});
  EXPECT_EQ(k.kode, 1);
  EXPECT_NE(k.feil.find("Kåringsnummer 42 finnes ikke i registeret."), std::string::npos) << k.feil;
  EXPECT_EQ(KjorAvl(m, {"sammenlign", "1100001"}).kode, 2);
  EXPECT_EQ(KjorAvl(m, {"sammenlign", "1", "2", "3", "4", "5", "6", "7"}).kode, 2);

  k = KjorAvl(m, {"statistikk"});
  ASSERT_EQ(k.kode, 0) << k.feil;
  EXPECT_EQ(k.ut, "0;Ukjent rase;3;100,0\n");
  EXPECT_EQ(KjorAvl(m, {"statistikk", "--rase", "x"}).kode, 2);
}

// The catalogue's table field 31: each ram's mean expected inbreeding with
// the ewes of Soyer.Txt; empty cells without ewes.
TEST_F(AvlKommando, KatalogtabellensInnavlsfelt) {
  const std::vector<std::string> katalog = {"katalog", "--alle-karede",   "--fra", "0",        "--til",
                                            "3000",    "--minste-indeks", "0",     "--tabell", "0,31"};
  Kjoring k = KjorAvl(m, katalog);
  ASSERT_EQ(k.kode, 0) << k.feil;
  EXPECT_EQ(k.ut, "1001234;Blakken;\n1100001;Svarten;\n1100002;Kviten;\n");

  // One ewe, a daughter of SVARTEN: his sire's granddaughter, his own
  // daughter, his half-brother's daughter.
  SkrivTrygt(m / "Soyer.Txt", "7;1100001;0\r\n");
  k = KjorAvl(m, katalog);
  ASSERT_EQ(k.kode, 0) << k.feil;
  EXPECT_EQ(k.ut, "1001234;Blakken;12,50\n1100001;Svarten;25,00\n1100002;Kviten;6,25\n");
}

// ---- the mating suggestion ----

namespace {

// BLAKKEN's sons SVARTEN (O-indeks 120) and KVITEN (90); ewe 7 is SVARTEN's
// daughter (25 % with him, 6,25 % with his half-brother), ewe 8's dam is
// BLAKKEN's daughter (6,25 % with either son), ewes 9 and 10 are of no
// known kin.
class Paringsforslag : public AvlKommando {
 protected:
  void SetUp() override {
    TVerPost svarten = Ver(1100001, "SVARTEN", 1001234), kviten = Ver(1100002, "KVITEN", 1001234);
    svarten.OIndeks = 120;
    kviten.OIndeks = 90;
    SkrivVerFil(m / VerFilNavn, {Ver(1001234, "BLAKKEN"), svarten, kviten});
    SkrivTrygt(m / "Soyer.Txt", "7;1100001;0\r\n8;0;1001234\r\n9;0;0\r\n");
  }
};

}  // namespace

// Every ewe a row in the file's order, the summary last; a limit high
// enough for every pair, and two places a ram: SVARTEN goes where he costs
// least inbreeding per index point gained.
TEST_F(Paringsforslag, KommandoenGirEnRadPerSoyeOgSammendragetSist) {
  const std::string alle =
      "7;1100002;Kviten;6,25;90;\n"
      "8;1100001;Svarten;6,25;120;\n"
      "9;1100001;Svarten;0,00;120;\n"
      "Søyer med vær;3 av 3;;;;\n"
      "Snitt;;;4,17;110,0;\n"
      "Høyest;;;6,25;;\n"
      "Vær;1100001;Svarten;;;2 av 2\n"
      "Vær;1100002;Kviten;;;1 av 2\n";
  SkrivTrygt(m / "Lister.Txt", "[Mine v\xE6rer]\r\n1100001\r\n1100002\r\n");
  const struct {
    std::vector<std::string> argumenter;
    std::string ut;
  } tilfeller[] = {
      {{"--verer", "1100001,1100002", "--grense", "30", "--kapasitet", "2"}, alle},
      {{"--liste", "mine værer", "--grense", "30,0", "--kapasitet", "2", "--vekt", "1"}, alle},
      // The limit with a point or a comma; a pair at it is not suggested.
      {{"--verer", "1100001,1100002", "--grense", "6.25"},
       "7;;;;;ingen vær under grensen\n"
       "8;;;;;ingen vær under grensen\n"
       "9;1100001;Svarten;0,00;120;\n"
       "Søyer med vær;1 av 3;;;;\n"
       "Snitt;;;0,00;120,0;\n"
       "Høyest;;;0,00;;\n"
       "Vær;1100001;Svarten;;;1 av 40\n"
       "Vær;1100002;Kviten;;;0 av 40\n"},
      // No room: ewe 9 has rams under the limit, all full.
      {{"--verer", "1100001", "--grense", "6,25", "--kapasitet", "0"},
       "7;;;;;ingen vær under grensen\n"
       "8;;;;;ingen vær under grensen\n"
       "9;;;;;ingen ledig plass\n"
       "Søyer med vær;0 av 3;;;;\n"
       "Snitt;;;;;\n"
       "Høyest;;;;;\n"
       "Vær;1100001;Svarten;;;0 av 0\n"},
      // Just over the limit, no limit to a ram, and inbreeding not weighed:
      // each ewe the ram of the highest index she may have.
      {{"--verer", "1100002,1100001", "--grense", "6,26", "--kapasitet", "ingen", "--vekt", "0"},
       "7;1100002;Kviten;6,25;90;\n"
       "8;1100001;Svarten;6,25;120;\n"
       "9;1100001;Svarten;0,00;120;\n"
       "Søyer med vær;3 av 3;;;;\n"
       "Snitt;;;4,17;110,0;\n"
       "Høyest;;;6,25;;\n"
       "Vær;1100002;Kviten;;;1 av ubegrenset\n"
       "Vær;1100001;Svarten;;;2 av ubegrenset\n"},
  };
  for (const auto& t : tilfeller) {
    std::vector<std::string> argumenter = t.argumenter;
    argumenter.insert(argumenter.begin(), "paringsforslag");
    SCOPED_TRACE(argumenter[2] + " " + argumenter[4]);
    const Kjoring k = KjorAvl(m, argumenter);
    EXPECT_EQ(k.kode, 0) << k.feil;
    EXPECT_EQ(k.ut, t.ut);
    EXPECT_EQ(k.feil, "");
  }
}

// A ewe whose dam's dam is SVARTEN's daughter: 1/16 of his kinship with
// each ram, so SVARTEN is at the limit with her and KVITEN, his half-brother,
// under it.
TEST_F(Paringsforslag, MormorsFarTellerMed) {
  SkrivTrygt(m / "Soyer.Txt", "7;1100001;0\r\n8;0;1001234\r\n9;0;0;1100001\r\n");
  const Kjoring k = KjorAvl(m, {"paringsforslag", "--verer", "1100001,1100002", "--grense", "6,25"});
  ASSERT_EQ(k.kode, 0) << k.feil;
  EXPECT_EQ(k.ut,
            "7;;;;;ingen vær under grensen\n"
            "8;;;;;ingen vær under grensen\n"
            "9;1100002;Kviten;1,56;90;\n"
            "Søyer med vær;1 av 3;;;;\n"
            "Snitt;;;1,56;90,0;\n"
            "Høyest;;;1,56;;\n"
            "Vær;1100001;Svarten;;;0 av 40\n"
            "Vær;1100002;Kviten;;;1 av 40\n");
  // The plan shows her dam's dam's sire in a column of its own.
  const Kjoring plan = KjorAvl(m, {"paringsplan", "--verer", "1100001,1100002"});
  ASSERT_EQ(plan.kode, 0) << plan.feil;
  EXPECT_EQ(plan.ut,
            "7;1100001;;;25,00;6,25\n"
            "8;;1001234;;6,25;6,25\n"
            "9;;;1100001;6,25;1,56\n"
            "Snitt;;;;12,50;4,69\n");

  // A dam's dam's sire that is no ancestor of the rams or of the ewes' other
  // sires (SVARTEN's son): the figures of the rams' pedigree alone must take him in.
  TVerPost svarten = Ver(1100001, "SVARTEN", 1001234), kviten = Ver(1100002, "KVITEN", 1001234);
  svarten.OIndeks = 120;
  kviten.OIndeks = 90;
  SkrivVerFil(m / VerFilNavn, {Ver(1001234, "BLAKKEN"), svarten, kviten, Ver(1200001, "SONN", 1100001)});
  SkrivTrygt(m / "Soyer.Txt", "10;0;0;1200001\r\n");
  const Kjoring sonn = KjorAvl(m, {"paringsplan", "--verer", "1100001,1100002"});
  EXPECT_EQ(sonn.ut, "10;;;1200001;3,13;0,78\nSnitt;;;;3,13;0,78\n") << sonn.feil;
  const Kjoring forslag = KjorAvl(m, {"paringsforslag", "--verer", "1100002", "--grense", "6,25"});
  EXPECT_EQ(ForsteLinje(forslag.ut), "10;1100002;Kviten;0,78;90;") << forslag.feil;
  const Kjoring en = KjorAvl(m, {"slektskap", "1100001", "--mormorfar", "1200001"});
  EXPECT_EQ(ForsteLinje(en.ut), "Innavlsgrad for lammet: 3,13 %") << en.feil;
}

// Without options the limit, the capacity and the weight of Hornstad.Ini
// (a decimal comma there as the user writes it).
TEST_F(Paringsforslag, InnstillingeneFraHornstadIni) {
  SkrivTrygt(m / "Hornstad.Ini", "[Avl]\r\nGrense=30,5\r\nKapasitet=1\r\nVekt=0,0\r\n");
  const Kjoring k = KjorAvl(m, {"paringsforslag", "--verer", "1100001,1100002"});
  ASSERT_EQ(k.kode, 0) << k.feil;
  // One ewe a ram: SVARTEN's 120 to a ewe, KVITEN's 90 to another.
  EXPECT_NE(k.ut.find("Søyer med vær;2 av 3;"), std::string::npos) << k.ut;
  EXPECT_NE(k.ut.find("Vær;1100001;Svarten;;;1 av 1\n"), std::string::npos) << k.ut;
  EXPECT_NE(k.ut.find(";;;;;ingen ledig plass\n"), std::string::npos) << k.ut;
}

TEST_F(Paringsforslag, FeilBrukOgIngentingAaForeslaa) {
  const struct {
    std::vector<std::string> argumenter;
    int kode;
    const char* feil;
  } tilfeller[] = {
      {{}, 2, "Bruk: hornstad-cli paringsforslag"},
      {{"--verer", "1100001", "--liste", "Mine værer"}, 2, "Bruk: hornstad-cli paringsforslag"},
      {{"--verer", "1100001", "--grense", "x"}, 2, "Ugyldig tall for --grense: x"},
      {{"--verer", "1100001", "--grense", "-1"}, 2, "Ugyldig tall for --grense: -1"},
      {{"--verer", "1100001", "--grense", "100,5"}, 2, "Ugyldig tall for --grense: 100,5 (fra 0 til 100)"},
      {{"--verer", "1100001", "--vekt", "1001"}, 2, "Ugyldig tall for --vekt: 1001"},
      {{"--verer", "1100001", "--kapasitet", "-1"}, 2, "Ugyldig tall for --kapasitet: -1"},
      {{"--verer", "1100001", "--kapasitet", "2,5"}, 2, "Ugyldig tall for --kapasitet: 2,5"},
      {{"--verer", "1100001", "--format", "tull"}, 2, "tull"},
      {{"--verer", "1,x"}, 2, "x"},
      {{"--verer", "42"}, 1, "Kåringsnummer 42 finnes ikke i registeret.\nFant ingen kandidatvær i registeret"},
      {{"--liste", "Reserve"}, 1, "Det finnes ingen liste som heter «Reserve»"},
  };
  for (const auto& t : tilfeller) {
    std::vector<std::string> argumenter = t.argumenter;
    argumenter.insert(argumenter.begin(), "paringsforslag");
    SCOPED_TRACE(argumenter.back());
    const Kjoring k = KjorAvl(m, argumenter);
    EXPECT_EQ(k.kode, t.kode) << k.feil;
    EXPECT_NE(k.feil.find(t.feil), std::string::npos) << k.feil;
    EXPECT_EQ(k.ut, "");
  }
  std::filesystem::remove(m / "Soyer.Txt");
  const Kjoring ingen = KjorAvl(m, {"paringsforslag", "--verer", "1100001"});
  EXPECT_EQ(ingen.kode, 1);
  EXPECT_NE(ingen.feil.find("Fant ingen søyer"), std::string::npos) << ingen.feil;
}

// In html and pdf the columns are as wide as their widest text in the
// table's font: a short name of wide letters is not cut because a longer
// one of narrow letters has more of them (the table commands measured by the
// number of letters before the font was known).
TEST_F(Paringsforslag, KolonneneRommerDetBredesteNavnet) {
  SkrivVerFil(m / VerFilNavn,
              {Ver(1300000, "FAR"), Ver(1300001, "WWWWWW", 1300000), Ver(1300002, "IIIIIIIIIIII", 1300000)});
  const std::vector<std::string> tilfeller[] = {
      {"paringsforslag", "--verer", "1300001,1300002", "--kapasitet", "2"},
      {"innavl"},
      {"liste", "Mine værer", "--legg-til", "1300002,1300001"},
      {"avkom", "1300000"},
  };
  for (std::vector<std::string> argumenter : tilfeller) {
    SCOPED_TRACE(argumenter[0]);
    argumenter.insert(argumenter.end(), {"--format", "html"});
    const Kjoring k = KjorAvl(m, argumenter);
    ASSERT_EQ(k.kode, 0) << k.feil;
    // The width of the header cell "Navn": the html takes the column's width
    // (the text's and 6) less 4.
    const std::size_t navn = k.ut.find("<small>Navn</small>");
    ASSERT_NE(navn, std::string::npos) << k.ut;
    const std::size_t pos = k.ut.rfind("WIDTH=\"", navn) + 7;
    EXPECT_GE(std::stoi(k.ut.substr(pos)), Tabellmaal(10)("Wwwwww") + 2) << k.ut.substr(0, 900);
  }
}
