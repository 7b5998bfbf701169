// The breeder's ewe list: Soyer.Txt, a spreadsheet's CSV, the checks of the
// list window, and the limit in Hornstad.Ini.
#include "soyer.h"

#include <gtest/gtest.h>

#include <QSettings>
#include <string>
#include <vector>

#include "cp1252.h"
#include "felt.h"
#include "filer.h"
#include "inifil.h"
#include "register.h"
#include "slektskap.h"
#include "testmappe.h"

namespace {

std::string C(const std::string& utf8) { return Utf8TilCp1252(utf8); }

std::string Hoppet(int linje, const std::string& fil, const std::string& hvaUtf8) {
  return C("Linje " + std::to_string(linje) + " i " + fil + ": " + hvaUtf8 + "; linja er hoppet over.");
}

TEST(Soyer, LinjerSomLesesOgLinjerSomHoppesOver) {
  const std::string tekst =
      "# mine søyer\r\n"           // 1
      "\r\n"                       // 2
      "   \r\n"                    // 3
      "101;2000;1001\r\n"          // 4
      "102;;\r\n"                  // 5: both unknown
      "103;abc;1\r\n"              // 6
      "104;1;x\r\n"                // 7
      " ;1;2\r\n"                  // 8
      "105\r\n"                    // 9
      "101;3;4\r\n"                // 10: the same ewe again
      " 106 ; 1 234 ;5\r\n"        // 11: blanks around and inside numbers
      "107;1;2;3;merknad\r\n"      // 12: the dam's dam's sire; a fifth field is ignored
      "108;-5;1\r\n"               // 13
      "109;2147483648;1\r\n"       // 14: beyond 32 bits
      "  # innrykket kommentar\n"  // 15
      "0101;0;0\n"                 // 16: the same number as 101
      "Kvit \xE5r;7;8\r\n"         // 17: Windows-1252 letters
      "110;1;2;merknad\r\n"        // 18: a fourth field that is not a number
      "111;1;2;\r\n"               // 19: a blank fourth field is unknown
      "112;1;2;-3";                // 20: no line end at the end
  const TSoyeLesing les = TolkSoyer(tekst);
  const std::vector<TSoye> venter = {{"101", 2000, 1001}, {"102", 0, 0},        {"106", 1234, 5},
                                     {"107", 1, 2, 3},    {"Kvit \xE5r", 7, 8}, {"111", 1, 2, 0}};
  EXPECT_EQ(les.soyer, venter);
  const std::vector<std::string> meldinger = {
      Hoppet(6, "Soyer.Txt", "farens kåringsnummer «abc» er ikke et tall"),
      Hoppet(7, "Soyer.Txt", "morfarens kåringsnummer «x» er ikke et tall"),
      Hoppet(8, "Soyer.Txt", "søyenummeret mangler"),
      Hoppet(9, "Soyer.Txt", "venter søyenummer;far;morfar"),
      Hoppet(10, "Soyer.Txt", "søye 101 står allerede på linje 4"),
      Hoppet(13, "Soyer.Txt", "farens kåringsnummer «-5» er ikke et tall"),
      Hoppet(14, "Soyer.Txt", "farens kåringsnummer «2147483648» er ikke et tall"),
      Hoppet(16, "Soyer.Txt", "søye 0101 står allerede på linje 4"),
      Hoppet(18, "Soyer.Txt", "mormorsfarens kåringsnummer «merknad» er ikke et tall"),
      Hoppet(20, "Soyer.Txt", "mormorsfarens kåringsnummer «-3» er ikke et tall"),
  };
  EXPECT_EQ(les.meldinger, meldinger);
}

TEST(Soyer, SkrivesTryggtOgLesesLikt) {
  TestMappe m;
  const std::vector<TSoye> soyer = {{"12", 1900001, 0}, {"\xC5se 3", 0, 1900002}};
  SkrivSoyer(m / SoyeFilNavn, soyer);
  const std::string fil = LesHeleFila(m / SoyeFilNavn);
  EXPECT_EQ(fil, C("# Søyenummer;farens kåringsnummer;morfarens kåringsnummer\r\n") +
                     "12;1900001;0\r\n\xC5se 3;0;1900002\r\n");
  const TSoyeLesing les = LesSoyer(m / SoyeFilNavn);
  EXPECT_EQ(les.soyer, soyer);
  EXPECT_TRUE(les.meldinger.empty());
  // With a dam's dam's sire, every line gets the fourth field, and so does the header.
  const std::vector<TSoye> fire = {{"12", 1900001, 0}, {"13", 0, 1900002, 1900003}};
  SkrivSoyer(m / SoyeFilNavn, fire);
  EXPECT_EQ(LesHeleFila(m / SoyeFilNavn),
            C("# Søyenummer;farens kåringsnummer;morfarens kåringsnummer;mormorsfarens kåringsnummer\r\n") +
                "12;1900001;0;0\r\n13;0;1900002;1900003\r\n");
  EXPECT_EQ(LesSoyer(m / SoyeFilNavn).soyer, fire);
  SkrivSoyer(m / SoyeFilNavn, soyer);
  // No file: no ewes and no message. Found in the data folder whatever its letter case.
  EXPECT_TRUE(LesSoyer(m / "finnes-ikke.txt").soyer.empty());
  std::filesystem::rename(m / SoyeFilNavn, m / "SOYER.TXT");
  EXPECT_EQ(LesSoyer(SoyeFil(m.Sti())).soyer, soyer);
}

TEST(Soyer, RegnearkCsv) {
  struct Tilfelle {
    const char* hva;
    std::string tekst;
    std::vector<TSoye> soyer;
    std::vector<std::string> meldinger;
  };
  const Tilfelle tilfeller[] = {
      {"overskrift, anførselstegn og tomme celler",
       "\"Søye\";\"Far\";\"Morfar\"\r\n\"12\";\"1900001\";\r\n;;\r\n\"1\"\"3\";;1900002\r\n14;1 900 003;0;;merk\r\n",
       {{"12", 1900001, 0}, {"1\"3", 0, 1900002}, {"14", 1900003, 0}},
       {}},
      {"uten overskrift", "12;1;2\n13;3;4\n", {{"12", 1, 2}, {"13", 3, 4}}, {}},
      {"fire kolonner med overskrift",
       "S\xF8ye;Far;Morfar;Mormors far\r\n12;1;2;3\r\n13;4;;1 900 005\r\n",
       {{"12", 1, 2, 3}, {"13", 4, 0, 1900005}},
       {}},
      {"fire kolonner uten overskrift", "12;1;2;3\r\n", {{"12", 1, 2, 3}}, {}},
      {"UTF-8 med byte order mark", "\xEF\xBB\xBFS\xC3\xB8ye;Far;Morfar\r\n\xC3\x85se;5;6\r\n", {{"\xC5se", 5, 6}}, {}},
      {"UTF-8 uten byte order mark", "\xC3\x85se;5;6\r\n", {{"\xC5se", 5, 6}}, {}},
      {"Windows-1252", "\xC5se;5;6\r\n", {{"\xC5se", 5, 6}}, {}},
      {"feil i cellene",
       "S\xF8ye;Far;Morfar\r\n\"12;3\";1;2\r\n\"13;1;2\r\n#14;1;2\r\n15;1\r\n16;a;1\r\n17;1;2\r\n",
       {{"17", 1, 2}},
       {Hoppet(2, "liste.csv", "søyenummeret kan ikke inneholde semikolon"),
        Hoppet(3, "liste.csv", "et felt i anførselstegn slutter ikke"),
        Hoppet(4, "liste.csv", "søyenummeret kan ikke begynne med #"),
        Hoppet(5, "liste.csv", "venter søyenummer;far;morfar"),
        Hoppet(6, "liste.csv", "farens kåringsnummer «a» er ikke et tall")}},
      {"fjerde celle som ikke er et tall",
       "12;1;2;3\r\n13;1;2;x\r\n",
       {{"12", 1, 2, 3}},
       {Hoppet(2, "liste.csv", "mormorsfarens kåringsnummer «x» er ikke et tall")}},
  };
  for (const Tilfelle& t : tilfeller) {
    SCOPED_TRACE(t.hva);
    const TSoyeLesing les = TolkSoyeCsv(t.tekst, "liste.csv");
    EXPECT_EQ(les.soyer, t.soyer);
    EXPECT_EQ(les.meldinger, t.meldinger);
  }
}

TEST(Soyer, KontrollerIListevinduet) {
  const std::vector<TSoye> soyer = {{"12", 1, 2}, {"13", 0, 0}};
  struct Tilfelle {
    TSoye soye;
    int unntak;
    std::string feil;
  };
  const Tilfelle tilfeller[] = {
      {{"14", 1, 2}, -1, ""},
      {{" 14 ", 0, 0}, -1, ""},
      {{"", 1, 2}, -1, "Søyenummeret mangler."},
      {{"  ", 1, 2}, -1, "Søyenummeret mangler."},
      {{"012", 1, 2}, -1, "Søye 012 står allerede i lista."},
      {{"12", 5, 5}, 0, ""},  // changing the ewe itself
      {{"12", 5, 5}, 1, "Søye 12 står allerede i lista."},
      {{"#1", 0, 0}, -1, "Søyenummeret kan ikke begynne med #."},
      {{"1;2", 0, 0}, -1, "Søyenummeret kan ikke inneholde semikolon."},
      {{"15", -1, 0}, -1, "Et kåringsnummer kan ikke være negativt."},
      {{"15", 0, 0, -1}, -1, "Et kåringsnummer kan ikke være negativt."},
  };
  for (const Tilfelle& t : tilfeller) EXPECT_EQ(SoyeFeil(t.soye, soyer, t.unntak), C(t.feil)) << t.soye.nummer;
  EXPECT_EQ(FinnSoye(soyer, "0013"), &soyer[1]);
  EXPECT_EQ(FinnSoye(soyer, " 12"), &soyer[0]);
  EXPECT_EQ(FinnSoye(soyer, "1"), nullptr);
}

TEST(Soyer, RegnearkFlettesInnILista) {
  // A ewe already in the list (her number written otherwise too) takes the
  // sires read and keeps her number; the new ones come last, in order.
  std::vector<TSoye> liste = {{"101", 2000, 0}, {"0102", 1000, 0}, {"103", 5, 6}, {"104", 7, 8}};
  const TFletting f =
      FlettSoyer(liste, {{"201", 1, 2}, {"102", 3000, 4000}, {"103", 5, 6}, {"202", 0, 0}, {"104", 7, 8, 9}});
  EXPECT_EQ(f.nye, 2);
  EXPECT_EQ(f.endret, 2);
  EXPECT_EQ(
      liste,
      (std::vector<TSoye>{
          {"101", 2000, 0}, {"0102", 3000, 4000}, {"103", 5, 6}, {"104", 7, 8, 9}, {"201", 1, 2}, {"202", 0, 0}}));
}

TEST(Soyer, KandidatvereneSomSkrives) {
  struct Tilfelle {
    const char* tekst;
    std::vector<int32_t> verer;
    const char* feil;
  };
  const Tilfelle tilfeller[] = {
      {"2000, 3000 555", {2000, 3000, 555}, ""},
      {" 1958008;1958258\t1924015\n", {1958008, 1958258, 1924015}, ""},
      {",,2000,,", {2000}, ""},
      {"", {}, ""},
      {"2000, 20x0", {}, "«20x0» er ikke et kåringsnummer."},
      {"0", {}, "«0» er ikke et kåringsnummer."},
      {"-5", {}, "«-5» er ikke et kåringsnummer."},
      {"2147483648", {}, "«2147483648» er ikke et kåringsnummer."},
  };
  for (const Tilfelle& t : tilfeller) {
    SCOPED_TRACE(t.tekst);
    std::vector<int32_t> verer;
    const std::string feil = TolkNummerliste(t.tekst, verer);
    EXPECT_EQ(feil, C(t.feil));
    if (feil.empty()) {
      EXPECT_EQ(verer, t.verer);
    }
  }
}

TEST(Soyer, GrensaIHornstadIni) {
  TestMappe m;
  struct Tilfelle {
    const char* linje;
    double grense;
  };
  const Tilfelle tilfeller[] = {
      {"", 6.25},
      {"Grense=5\n", 5.0},
      {"Grense=6,5\n", 6.5},
      {"Grense=\"7,5\"\n", 7.5},
      {"Grense=8.5\n", 8.5},
      {"Grense=abc\n", 6.25},
      {"Grense=-1\n", 6.25},
  };
  int i = 0;
  for (const Tilfelle& t : tilfeller) {
    // A file of its own for each case: QSettings keeps a file it has read.
    const std::string navn = "Hornstad" + std::to_string(++i) + ".Ini";
    m.Skriv(navn, std::string("[Avl]\n") + t.linje);
    const QSettings ini(QString::fromStdString((m / navn).string()), InnstillingsFormat());
    EXPECT_EQ(LesGrense(ini), t.grense) << t.linje;
  }
}

}  // namespace
