// hornstad-cli's commands run in the test's own process, their output and
// messages caught in memory: the reading of a command's arguments, the
// tool's own options, usage lines and exit codes, the tool's help and each
// command's own help made from the command table, failures a command
// throws, and what hent leaves behind.
// The runs of the real binary are in the tests of each job (oppslag_test,
// eksport_test, stamtre_test, katalog_test, innlesing_test, ...).
#include "kommando.h"

#include <gtest/gtest.h>
#include <pty.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <QString>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <new>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "eksempeldata.h"
#include "felles.h"
#include "filer.h"
#include "register.h"
#include "testmappe.h"
#include "verktoy.h"

namespace fs = std::filesystem;

namespace {

// A stream whose bytes stay in memory.
class Minnestrom {
 public:
  Minnestrom() : fil_(::open_memstream(&data_, &lengde_)) {}
  ~Minnestrom() {
    std::fclose(fil_);
    std::free(data_);
  }
  Minnestrom(const Minnestrom&) = delete;
  Minnestrom& operator=(const Minnestrom&) = delete;
  std::FILE* Fil() const { return fil_; }
  std::string Tekst() {
    std::fflush(fil_);
    return std::string(data_, lengde_);
  }

 private:
  char* data_ = nullptr;
  std::size_t lengde_ = 0;
  std::FILE* fil_;
};

struct Kjoring {
  int kode = -1;
  std::string ut, feil;
};

// A run of the tool, as `hornstad-cli ARGUMENTER` would be.
Kjoring Verktoy(const std::vector<std::string>& argumenter) {
  Minnestrom ut, feil;
  Kjoring k;
  k.kode = KjorVerktoy(argumenter, ut.Fil(), feil.Fil());
  k.ut = ut.Tekst();
  k.feil = feil.Tekst();
  return k;
}

// The parse shown compactly: each plain argument in brackets, a bar, then
// each option as " navn" or " navn=verdi"; "feil" on wrong use.
std::string Vis(const std::optional<TArgumenter>& a) {
  if (!a) return "feil";
  std::string s;
  for (const std::string& f : a->frie) s += "[" + f + "]";
  s += " |";
  for (const auto& [navn, verdi] : a->valg) s += " " + navn + (verdi.empty() ? "" : "=" + verdi);
  return s;
}

TVerPost Ver(int32_t nummer, const char* navn, int32_t farnr = 0) {
  TVerPost p = TomVerPost();
  p.Nummer = nummer;
  p.Navn.Sett(navn);
  p.Farnr = farnr;
  p.OIndeks = 100;
  return p;
}

// A data folder with a register of three rams: a sire and his two sons.
class KommandoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SkrivVerFil(mappe / VerFilNavn,
                {Ver(1001234, "BLAKKEN"), Ver(1100001, "SVARTEN", 1001234), Ver(1100002, "KVITEN", 1001234)});
  }
  std::vector<std::string> Med(std::vector<std::string> argumenter) const {
    argumenter.insert(argumenter.begin(), {"--data", mappe.Sti().string()});
    return argumenter;
  }
  TestMappe mappe;
};

}  // namespace

TEST(LesArgumenter, ValgIRekkefolgeOgBytesSomGitt) {
  const std::vector<TValg> valg = {{"semin"}, {"fylke", "N"}, {"ut", "FIL"}};
  const struct {
    std::vector<std::string> argumenter;
    std::vector<TValg> valg;
    const char* ventet;
  } tilfeller[] = {
      // Options before and after plain arguments, repeated ones in their order.
      {{"--fylke", "3", "x", "--semin", "--fylke", "5"}, valg, "[x] | fylke=3 semin fylke=5"},
      // A value is the next argument, whatever it looks like.
      {{"--ut", "--semin"}, valg, " | ut=--semin"},
      {{"--ut", "-h"}, valg, " | ut=-h"},
      // Bytes come back as given, in UTF-8 or not.
      {{"--ut", "\xC3\xA6r \xC3\xB8.txt", "\xE6r"}, valg, "[\xE6r] | ut=\xC3\xA6r \xC3\xB8.txt"},
      // The parser's conventions: a value after "=", and "--" ending the options.
      {{"x", "--ut=a.pdf"}, valg, "[x] | ut=a.pdf"},
      {{"--", "--semin", "-5"}, valg, "[--semin][-5] |"},
      {{"-"}, valg, "[-] |"},
      // Wrong use: an option not declared, a missing value, a value to a switch.
      {{"--tull"}, valg, "feil"},
      {{"x", "--fylke"}, valg, "feil"},
      {{"--semin=1"}, valg, "feil"},
      {{"-5"}, valg, "feil"},
      // Without declared options every argument is plain, as given.
      {{"--x", "-5", "--", ""}, {}, "[--x][-5][--][] |"},
  };
  for (const auto& t : tilfeller) {
    std::string navn;
    for (const std::string& a : t.argumenter) navn += "'" + a + "' ";
    EXPECT_EQ(Vis(LesArgumenter(t.argumenter, t.valg)), t.ventet) << navn;
  }

  TArgumenter a;
  a.valg = {{"ut", "a"}, {"semin", ""}, {"ut", "b"}};
  EXPECT_TRUE(a.Har("semin"));
  EXPECT_FALSE(a.Har("fylke"));
  EXPECT_EQ(a.Verdi("ut"), "b");
  EXPECT_EQ(a.Verdi("fylke"), "");
}

TEST_F(KommandoTest, VerktoyetsEgneValg) {
  const std::string hjelp = Hjelpetekst();
  const std::string status = FinnKommando("status")->Hjelp();
  const std::string avkom = FinnKommando("avkom")->Hjelp();
  const std::string data = mappe.Sti().string();
  const struct {
    std::vector<std::string> argumenter;
    int kode;
    std::string ut, feil;
  } tilfeller[] = {
      {{"--help"}, 0, hjelp, ""},
      {{"-h"}, 0, hjelp, ""},
      // After a command its own help, anywhere, also where an option's value
      // stands; before the command, or after a word that is no command, the
      // tool's.
      {{"status", "--help"}, 0, status, ""},
      {{"--data", data, "avkom", "-h"}, 0, avkom, ""},
      {{"avkom", "1", "--ut", "-h"}, 0, avkom, ""},
      {{"avkom", "--tull", "--help"}, 0, avkom, ""},
      {{"--help", "avkom"}, 0, hjelp, ""},
      {{"tull", "--help"}, 0, hjelp, ""},
      {{"--data", "-h"}, 2, "", hjelp},  // -h is the folder; no command follows
      {{}, 2, "", hjelp},
      {{"--data"}, 2, "", "Valget --data trenger en mappe.\n"},
      {{"status", "--data"}, 2, "", "Valget --data trenger en mappe.\n"},
      {{"--data", data, "tull"}, 2, "", "Ukjent kommando: tull (se hornstad-cli --help)\n"},
      {{"--data", data, "--tull"}, 2, "", "Ukjent kommando: --tull (se hornstad-cli --help)\n"},
      // --data anywhere, the last one wins.
      {{"status", "--data", data}, 0, "Datamappe: " + data + "\n3 værer\n", ""},
      {{"--data", "/finnes/ikke", "status", "--data", data}, 0, "Datamappe: " + data + "\n3 værer\n", ""},
  };
  for (const auto& t : tilfeller) {
    std::string navn;
    for (const std::string& a : t.argumenter) navn += a + " ";
    SCOPED_TRACE(navn);
    const Kjoring k = Verktoy(t.argumenter);
    EXPECT_EQ(k.kode, t.kode);
    EXPECT_EQ(k.ut.substr(0, t.ut.size()), t.ut);
    EXPECT_EQ(k.feil, t.feil);
  }
}

// Wrong use gives the command's usage line or a line on the value and 2; a
// failure one line and 1; nothing on stdout either way, and no file.
TEST_F(KommandoTest, BrukslinjerOgFeilkoder) {
  const std::string avkom = "Bruk: hornstad-cli avkom NUMMER [--format semikolon|tab|excel|html|pdf] [--ut FIL]\n";
  const std::string stamtre = "Bruk: hornstad-cli stamtre NUMMER --ut FIL.pdf|FIL.png|FIL.svg\n";
  const std::string katalog =
      "Bruk: hornstad-cli katalog [UTVALG] [--tabell FELT,... [--format F] [--ut FIL]] (se --help)\n";
  const std::string ut = (mappe / "ut.txt").string();
  const struct {
    std::vector<std::string> argumenter;
    int kode;
    std::string feil;
  } tilfeller[] = {
      {{"importer"}, 2, "Bruk: hornstad-cli importer FIL\n"},
      {{"importer", "a", "b"}, 2, "Bruk: hornstad-cli importer FIL\n"},
      {{"importer", (mappe / "finnes-ikke.tex").string()},
       1,
       "Finner ikke fila " + (mappe / "finnes-ikke.tex").string() + ".\n"},
      {{"hent", "x"}, 2, "Bruk: hornstad-cli hent [--adresse URL] [--ca FIL]\n"},
      {{"hent", "--adresse"}, 2, "Bruk: hornstad-cli hent [--adresse URL] [--ca FIL]\n"},
      {{"oppslag"}, 2, "Bruk: hornstad-cli oppslag NUMMER|NAVN\n"},
      {{"oppslag", "a", "b"}, 2, "Bruk: hornstad-cli oppslag NUMMER|NAVN\n"},
      {{"oppslag", "999"}, 1, "Fant ingen vær med kåringsnummer 999.\n"},
      {{"oppslag", "--zzz"}, 1, "Fant ingen vær med «--zzz» i navnet.\n"},
      {{"oppslag", "ab"}, 1, "Skriv et kåringsnummer, eller minst tre tegn av et navn.\n"},
      {{"avkom"}, 2, avkom},
      {{"avkom", ""}, 2, avkom},
      {{"avkom", "1", "2"}, 2, avkom},
      {{"avkom", "1001234", "--tull"}, 2, avkom},
      {{"avkom", "1001234", "--format"}, 2, avkom},
      {{"avkom", "1001234", "--format", ""}, 2, "Ukjent format:  (semikolon, tab, excel, html eller pdf)\n"},
      {{"avkom", "1001234", "--format", "word", "--ut", ut},
       2,
       "Ukjent format: word (semikolon, tab, excel, html eller pdf)\n"},
      {{"avkom", "1001234", "--format", "pdf"}, 2, "Formatet pdf trenger --ut FIL.\n"},
      {{"avkom", "999", "--ut", ut}, 1, "Fant ingen vær med kåringsnummer 999.\n"},
      {{"stamtre"}, 2, stamtre},
      {{"stamtre", "1001234"}, 2, stamtre},
      {{"stamtre", "1001234", "--ut", ""}, 2, stamtre},
      {{"stamtre", "1001234", "--ut", (mappe / "tre.jpg").string()},
       2,
       "Kan ikke skrive stamtreet som «tre.jpg»; fila må slutte på .pdf, .png eller .svg.\n"},
      {{"stamtre", "999", "--ut", (mappe / "tre.pdf").string()}, 1, "Fant ingen vær med kåringsnummer 999.\n"},
      {{"katalog", "x"}, 2, katalog},
      {{"katalog", "--tull"}, 2, katalog},
      {{"katalog", "--fylke"}, 2, katalog},
      {{"katalog", "--fylke", "x"}, 2, "Ugyldig tall for --fylke: x\n"},
      {{"katalog", "--minste-indeks", ""}, 2, "Ugyldig tall for --minste-indeks: \n"},
      {{"katalog", "--fylke", "21"}, 2, "Fylke 21 finnes ikke (0 til 20).\n"},
      {{"katalog", "--rase", "-1"}, 2, "Rase -1 finnes ikke (0 til 26).\n"},
      // The values are checked in the order given.
      {{"katalog", "--fylke", "1", "--fra", "x", "--fylke", "99"}, 2, "Ugyldig tall for --fra: x\n"},
      {{"katalog", "--fylke", "99", "--fra", "x"}, 2, "Fylke 99 finnes ikke (0 til 20).\n"},
      {{"katalog", "--format", "tab"}, 2, "Valgene --format og --ut gjelder bare sammen med --tabell.\n"},
      // The framed pages are the text listing's; a table has none.
      {{"katalog", "--tabell", "0", "--rammer", (mappe / "r.pdf").string()},
       2,
       "Valget --rammer gjelder bare uten --tabell.\n"},
      {{"katalog", "--tabell", "0,32"}, 2, "Tabellfelt 32 finnes ikke (0 til 31).\n"},
      {{"katalog", "--tabell", "0,,1"}, 2, "Ugyldig tall for --tabell: \n"},
      {{"katalog", "--tabell", "0", "--format", "pdf"}, 2, "Formatet pdf trenger --ut FIL.\n"},
      {{"katalog", "--egen", (mappe / "liste.txt").string()},
       1,
       "Finner ikke fila " + (mappe / "liste.txt").string() + ".\n"},
      {{"slektskap"}, 2, "Bruk: hornstad-cli slektskap NUMMER [--far N] [--morfar N] [--mormorfar N]\n"},
      {{"innavl", "x"}, 2, "Bruk: hornstad-cli innavl [--format semikolon|tab|excel|html|pdf] [--ut FIL]\n"},
      {{"paringsplan"},
       2,
       "Bruk: hornstad-cli paringsplan [--soyer FIL] --verer N,N,... [--format semikolon|tab|excel|html|pdf] "
       "[--ut FIL]\n"},
      {{"paringsforslag", "--verer", "1", "--liste", "L"},
       2,
       "Bruk: hornstad-cli paringsforslag (--verer N,N,... | --liste NAVN) [--kapasitet K] [--grense P] [--vekt V] "
       "[--format semikolon|tab|excel|html|pdf] [--ut FIL]\n"},
      {{"liste"}, 2, "Bruk: hornstad-cli liste NAVN [--legg-til N,...] [--fjern N,...] [--format F] [--ut FIL]\n"},
      {{"endringer", "x"}, 2, "Bruk: hornstad-cli endringer [--format semikolon|tab|excel|html|pdf] [--ut FIL]\n"},
      {{"sammenlign", "--tull"},
       2,
       "Bruk: hornstad-cli sammenlign N N ... [--format semikolon|tab|excel|html|pdf] [--ut FIL]\n"},
      {{"statistikk", "x"},
       2,
       "Bruk: hornstad-cli statistikk [--rase N ...] [--format semikolon|tab|excel|html|pdf] "
       "[--ut FIL|FIL.png|FIL.svg|FIL.pdf]\n"},
  };
  for (const auto& t : tilfeller) {
    std::string navn;
    for (const std::string& a : t.argumenter) navn += "'" + a + "' ";
    SCOPED_TRACE(navn);
    const Kjoring k = Verktoy(Med(t.argumenter));
    EXPECT_EQ(k.kode, t.kode);
    EXPECT_EQ(k.ut, "");
    EXPECT_EQ(k.feil, t.feil);
  }
  std::set<fs::path> filer;
  for (const auto& f : fs::directory_iterator(mappe.Sti())) filer.insert(f.path().filename());
  EXPECT_EQ(filer, std::set<fs::path>{VerFilNavn});
}

namespace {

// The words of a help text: its blanks, line breaks and no-break spaces
// part them.
std::vector<std::string> Ord(std::string tekst) {
  for (std::size_t i; (i = tekst.find("\xC2\xA0")) != std::string::npos;) tekst.replace(i, 2, " ");
  std::vector<std::string> ord;
  for (std::size_t a = 0; a < tekst.size();) {
    const std::size_t b = std::min(tekst.find_first_of(" \n", a), tekst.size());
    if (b > a) ord.push_back(tekst.substr(a, b - a));
    a = b + 1;
  }
  return ord;
}

std::vector<std::string> Ord(std::string_view tekst) { return Ord(std::string(tekst)); }

// The lines of a text that fit no terminal of 80 columns.
std::vector<std::string> ForLange(const std::string& tekst) {
  std::vector<std::string> lange;
  for (std::size_t a = 0, b; (b = tekst.find('\n', a)) != std::string::npos; a = b + 1)
    if (QString::fromStdString(tekst.substr(a, b - a)).size() > 80) lange.push_back(tekst.substr(a, b - a));
  return lange;
}

}  // namespace

// The help is the tool's part and each command's paragraph in the table's
// order: its word and call, then its description word for word; a command's
// usage line has the shape wrong use needs.
TEST(Kommandotabell, HjelpOgBrukFraHverKommando) {
  std::vector<std::string> navn;
  for (const TKommando* k : Kommandoer()) navn.emplace_back(k->Navn());
  EXPECT_EQ(navn, (std::vector<std::string>{"importer", "hent", "oppslag", "avkom", "stamtre", "katalog", "status",
                                            "slektskap", "innavl", "paringsplan", "paringsforslag", "liste",
                                            "endringer", "sammenlign", "statistikk", "lommekatalog"}));

  const std::string hjelp = Hjelpetekst();
  EXPECT_EQ(hjelp.rfind("Bruk: hornstad-cli [--data MAPPE] KOMMANDO ...\n", 0), 0u);
  EXPECT_EQ(ForLange(hjelp), std::vector<std::string>{});
  std::size_t pos = hjelp.find("\nKommandoer:\n");
  ASSERT_NE(pos, std::string::npos);
  pos += 13;
  for (const TKommando* k : Kommandoer()) {
    const std::string n(k->Navn());
    SCOPED_TRACE(n);
    EXPECT_EQ(FinnKommando(n), k);
    const std::string avsnitt = k->Avsnitt();
    EXPECT_EQ(hjelp.compare(pos, avsnitt.size(), avsnitt), 0) << "in the table's order";
    pos += avsnitt.size();
    ASSERT_EQ(avsnitt.back(), '\n');
    std::vector<std::string> ventet = Ord("  " + n + " " + std::string(k->Kall()));
    for (const std::string& o : Ord(k->Omtale())) ventet.push_back(o);
    EXPECT_EQ(Ord(avsnitt), ventet);
    EXPECT_EQ(avsnitt.rfind("  " + n + (k->Kall().empty() ? "" : " " + std::string(k->Kall())), 0), 0u) << avsnitt;

    const std::string bruk = k->Bruk();
    EXPECT_EQ(bruk.rfind("Bruk: hornstad-cli " + n, 0), 0u) << bruk;
    EXPECT_NE(std::string(" \n").find(bruk.at(std::string("Bruk: hornstad-cli ").size() + n.size())), std::string::npos)
        << bruk;
    EXPECT_EQ(bruk.find('\n'), bruk.size() - 1) << "one line";
  }
  EXPECT_EQ(pos, hjelp.size()) << "nothing after the last command";
  EXPECT_EQ(FinnKommando("tull"), nullptr);
}

// `hornstad-cli KOMMANDO --help` for every command: its usage and
// description, then each option it declares, in its order, with its
// description word for word; on stdout with 0, and the command does not run.
TEST_F(KommandoTest, HverKommandosHjelpNavnerAlleValgene) {
  for (const TKommando* k : Kommandoer()) {
    const std::string n(k->Navn());
    SCOPED_TRACE(n);
    const Kjoring kjoring = Verktoy(Med({n, "--help"}));
    EXPECT_EQ(kjoring.kode, 0);
    EXPECT_EQ(kjoring.feil, "");
    const std::string& hjelp = kjoring.ut;
    EXPECT_EQ(hjelp, k->Hjelp());
    EXPECT_EQ(ForLange(hjelp), std::vector<std::string>{});
    EXPECT_EQ(hjelp.rfind("Bruk: hornstad-cli " + n, 0), 0u) << hjelp;

    // The usage, a blank line, the description up to the next blank line.
    const std::size_t tom = hjelp.find("\n\n");
    ASSERT_NE(tom, std::string::npos) << hjelp;
    std::vector<std::string> ventet = Ord("Bruk: hornstad-cli " + n + " " + std::string(k->Kall()));
    EXPECT_EQ(Ord(hjelp.substr(0, tom)), ventet);
    const std::size_t valgStart = hjelp.find("\n\nValg:\n", tom + 2);
    // The description as sentences: a capital first letter, a full stop.
    std::string setning(k->Omtale());
    setning[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(setning[0])));
    if (!setning.ends_with(".")) setning += '.';
    EXPECT_EQ(Ord(hjelp.substr(tom + 2, valgStart == std::string::npos ? std::string::npos : valgStart - tom - 2)),
              Ord(setning));

    // "Valg:" and each option on a line of its own, "  --navn VERDI", with
    // its description beside and under it.
    const std::vector<TValg> valg = k->Valg();
    ASSERT_EQ(valg.empty(), valgStart == std::string::npos) << hjelp;
    if (valg.empty()) continue;
    std::vector<std::vector<std::string>> lest, ventede;
    for (std::size_t a = valgStart + 8, b; (b = hjelp.find('\n', a)) != std::string::npos; a = b + 1) {
      const std::string linje = hjelp.substr(a, b - a);
      if (linje.starts_with("  --"))
        lest.push_back(Ord(linje));
      else if (!lest.empty() && linje.starts_with("   "))
        for (const std::string& o : Ord(linje)) lest.back().push_back(o);
      else
        ADD_FAILURE() << "not an option's line: " << linje;
    }
    for (const TValg& v : valg) {
      std::vector<std::string> ord{"--" + std::string(v.navn)};
      if (v.MedVerdi()) ord.emplace_back(v.verdi);
      for (const std::string& o : Ord(v.omtale)) ord.push_back(o);
      EXPECT_GT(v.omtale.size(), 0u) << v.navn;
      ventede.push_back(ord);
    }
    EXPECT_EQ(lest, ventede) << hjelp;
  }
  // Asking for help ran nothing: no listing, no file.
  std::set<fs::path> filer;
  for (const auto& f : fs::directory_iterator(mappe.Sti())) filer.insert(f.path().filename());
  EXPECT_EQ(filer, std::set<fs::path>{VerFilNavn});
}

// The layout of the help: wrapping at the width in characters (not bytes),
// the name beside its description or above it, forced line breaks, words
// held together, and a word longer than a line left whole.
TEST(Hjelpeoppsett, OppstiltOgValgliste) {
  const std::string a74(74, 'a'), ae36 = [] {
    std::string s;
    for (int i = 0; i < 36; ++i) s += "\xC3\xA6";
    return s;
  }();
  const std::string innrykk(17, ' ');
  const struct {
    std::string hode, tekst;
    int kolonne;
    std::string ventet;
  } tilfeller[] = {
      {"  --ut FIL", "fila", 17, "  --ut FIL       fila\n"},
      // Two blanks at least between the name and its description.
      {"  --alle-karede", "x", 17, "  --alle-karede  x\n"},
      {"  --utgatt-semin", "x", 17, "  --utgatt-semin\n" + innrykk + "x\n"},
      {"  status", "", 17, "  status\n"},
      {"", "", 0, ""},
      // 75 characters fill a line; one more breaks it.
      {"", std::string(75, 'a'), 0, std::string(75, 'a') + "\n"},
      {"", a74 + " b", 0, a74 + "\nb\n"},
      {"", ae36 + " " + std::string(38, 'a'), 0, ae36 + " " + std::string(38, 'a') + "\n"},
      {"  x", std::string(58, 'a') + " b c", 17,
       "  x" + std::string(14, ' ') + std::string(58, 'a') + "\n" + innrykk + "b c\n"},
      // A no-break space holds two words on one line and comes out as a blank.
      {"", std::string(72, 'a') + " b\xC2\xA0%", 0, std::string(72, 'a') + "\nb %\n"},
      {"", "a\nb  c", 0, "a\nb c\n"},
      {"  x", "a\nb", 17, "  x              a\n" + innrykk + "b\n"},
      {"", "a " + std::string(80, 'b') + " c", 0, "a\n" + std::string(80, 'b') + "\nc\n"},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(t.hode + "|" + t.tekst);
    EXPECT_EQ(Oppstilt(t.hode, t.tekst, t.kolonne), t.ventet);
  }

  // The widest name sets the column, up to a limit; a longer one has its
  // description on the next line.
  EXPECT_EQ(Valgliste({{"semin", "", "seminværer"}, {"minste-indeks", "N", "minst"}}),
            "  --semin            seminværer\n"
            "  --minste-indeks N  minst\n");
  EXPECT_EQ(Valgliste({{"a", "", "x"}, {"b", "FIL", "y"}}),
            "  --a            x\n"
            "  --b FIL        y\n");
  EXPECT_EQ(Valgliste({{"a", "", "x"}, {"et-svaert-langt-valg", "VERDI", "y"}}),
            "  --a                    x\n"
            "  --et-svaert-langt-valg VERDI\n"
            "                         y\n");
}

namespace {

// A command whose table is given.
class TProve : public TKommando {
 public:
  TProve(std::string_view kall, std::vector<TValg> valg) : kall_(kall), valg_(std::move(valg)) {}
  std::string_view Navn() const override { return "prove"; }
  std::string_view Kall() const override { return kall_; }
  std::string_view Omtale() const override { return "gjør noe; --x som for avkom"; }
  std::vector<TValg> Valg() const override { return valg_; }
  int Kjor(const TKontekst&, const TArgumenter&) const override { return 0; }

 private:
  std::string_view kall_;
  std::vector<TValg> valg_;
};

}  // namespace

// One table gives the usage line, the paragraph of the tool's help and the
// command's own help; a long usage breaks between its bracketed parts.
TEST(Hjelpeoppsett, KommandoensTeksterFraTabellen) {
  const TProve enkel("", {});
  EXPECT_EQ(enkel.Bruk(), "Bruk: hornstad-cli prove\n");
  EXPECT_EQ(enkel.Avsnitt(), "  prove          gjør noe; --x som for avkom\n");
  EXPECT_EQ(enkel.Hjelp(),
            "Bruk: hornstad-cli prove\n"
            "\n"
            "Gjør noe; --x som for avkom.\n");

  const TProve lang("NUMMER [--format semikolon|tab|excel|html|pdf] [--x N [--y FIL] [--z]] [--ut FIL]",
                    {{"x", "N", "tallet"}, {"z", "", "et bryter-valg"}});
  EXPECT_EQ(lang.Bruk(),
            "Bruk: hornstad-cli prove NUMMER [--format semikolon|tab|excel|html|pdf] [--x N [--y FIL] [--z]] "
            "[--ut FIL]\n");
  EXPECT_EQ(lang.Avsnitt(),
            "  prove NUMMER [--format semikolon|tab|excel|html|pdf] [--x N [--y FIL] [--z]] [--ut FIL]\n"
            "                 gjør noe; --x som for avkom\n");
  EXPECT_EQ(lang.Hjelp(),
            "Bruk: hornstad-cli prove NUMMER [--format semikolon|tab|excel|html|pdf]\n"
            "                   [--x N [--y FIL] [--z]] [--ut FIL]\n"
            "\n"
            "Gjør noe; --x som for avkom.\n"
            "\n"
            "Valg:\n"
            "  --x N          tallet\n"
            "  --z            et bryter-valg\n");
}

// The help, word for word, of a few commands and the start of the tool's.
TEST_F(KommandoTest, HjelpetekstenOrdForOrd) {
  const struct {
    std::vector<std::string> argumenter;
    std::string ut;
  } tilfeller[] = {
      {{"status", "--help"},
       "Bruk: hornstad-cli status\n"
       "\n"
       "Antall værer i registeret og de første værene.\n"},
      {{"slektskap", "-h"},
       "Bruk: hornstad-cli slektskap NUMMER [--far N] [--morfar N] [--mormorfar N]\n"
       "\n"
       "Forventet innavlsgrad for et lam etter væren med kåringsnummeret og en søye\n"
       "etter faren --far og med morfaren --morfar og mormors far --mormorfar (0\n"
       "eller utelatt: ukjent); så værens egen innavlsgrad, hvor mange aner som er\n"
       "kjent i fem ledd (av 62) og de felles anene med sin del av tallet.\n"
       "\n"
       "Valg:\n"
       "  --far N        kåringsnummeret til søyas far (0 eller utelatt: ukjent)\n"
       "  --morfar N     kåringsnummeret til søyas morfar (0 eller utelatt: ukjent)\n"
       "  --mormorfar N  kåringsnummeret til faren til søyas mormor (0 eller\n"
       "                 utelatt: ukjent)\n"},
      {{"paringsplan", "--help"},
       "Bruk: hornstad-cli paringsplan [--soyer FIL] --verer N,N,... [--format F]\n"
       "                   [--ut FIL]\n"
       "\n"
       "Forventet innavlsgrad for lam av hver søye i Soyer.Txt i datamappa (eller\n"
       "FIL) med hver av værene, og snittet per vær; celler ved eller over grensa\n"
       "[Avl] Grense i Hornstad.Ini er røde i html og pdf; --format og --ut som for\n"
       "avkom (i en tekstfil er snittet siste rad, «Snitt»).\n"
       "\n"
       "Valg:\n"
       "  --soyer FIL      søyene fra fila (søyenummer;far;morfar, eventuelt\n"
       "                   ;mormors far, på hver linje) i stedet for Soyer.Txt\n"
       "  --verer N,N,...  kåringsnumrene til værene, skilt med komma; må gis\n"
       "  --format F       tabellens format: semikolon (standard), tab, excel\n"
       "                   (tabulatorskilt med anførselstegn og overskriftslinje),\n"
       "                   html eller pdf (A4-sider som tabellvinduet skriver dem;\n"
       "                   trenger --ut)\n"
       "  --ut FIL         fila tabellen lagres i, slik vinduet lagrer den\n"
       "                   (Windows-1252, CR LF); uten valget skrives teksten ut\n"},
      {{"--help"},
       "Bruk: hornstad-cli [--data MAPPE] KOMMANDO ...\n"
       "\n"
       "Kjører Hornstads jobber uten vinduer, på værregisteret i datamappa.\n"
       "\n"
       "Valg:\n"
       "  --data MAPPE   datamappa (der Verene.Dat ligger); uten dette valget\n"
       "                 programmets egen mappe når den er skrivbar, ellers\n"
       "                 ~/.local/share/Hornstad\n"
       "  --help         viser denne teksten; hornstad-cli KOMMANDO --help viser\n"
       "                 hjelpen til kommandoen med alle valgene\n"
       "\n"
       "Kommandoer:\n"
       "  importer FIL   leser inn en væreksport (Vedder2.Tex) eller et zip-arkiv\n"
       "                 som holder en, som nytt værregister\n"
       "  hent [--adresse URL] [--ca FIL]\n"
       "                 henter væreksporten fra nettet og leser den inn; uten\n"
       "                 --adresse fra tjeneren i [Nett] Adresse i Hornstad.Ini\n"},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(t.argumenter[0]);
    const Kjoring k = Verktoy(Med(t.argumenter));
    EXPECT_EQ(k.kode, 0);
    EXPECT_EQ(k.feil, "");
    EXPECT_EQ(t.argumenter[0] == "--help" ? k.ut.substr(0, t.ut.size()) : k.ut, t.ut);
  }
}

// Fonts only for a run that lays out or draws text; anything the tool cannot
// read starts with them, so that Qt takes out its own options.
TEST(Kommandotabell, SkriftBareNaarTekstLeggesUtEllerTegnes) {
  const struct {
    std::vector<std::string> argumenter;
    bool skrift;
  } tilfeller[] = {
      {{}, false},
      {{"--help"}, false},
      {{"--data"}, false},
      {{"status"}, false},
      {{"--data", "d", "importer", "f"}, false},
      {{"hent", "--adresse", "http://x"}, false},
      {{"oppslag", "Bo"}, false},
      {{"katalog", "--fylke", "2"}, false},
      {{"katalog", "--rammer", ""}, false},
      // A table as delimited text is not laid out; html and pdf are.
      {{"avkom", "1"}, false},
      {{"avkom", "1", "--format", "tab"}, false},
      {{"avkom", "1", "--format", "html"}, true},
      {{"avkom", "1", "--format", "pdf", "--ut", "a.pdf"}, true},
      {{"stamtre", "1", "--ut", "t.png"}, true},
      {{"katalog", "--tabell", "0"}, false},
      {{"katalog", "--tabell", "0", "--format", "html"}, true},
      {{"katalog", "--rammer", "r.pdf"}, true},
      {{"slektskap", "1", "--far", "2"}, false},
      {{"innavl"}, false},
      {{"innavl", "--format", "pdf", "--ut", "i.pdf"}, true},
      {{"paringsplan", "--verer", "1"}, false},
      {{"paringsforslag", "--verer", "1", "--format", "pdf", "--ut", "p.pdf"}, true},
      {{"statistikk", "--format", "excel"}, false},
      {{"tull"}, true},
      {{"-platform", "offscreen", "status"}, true},
      {{"importer", "f", "-reverse"}, true},
      {{"katalog", "--tull"}, true},
  };
  for (const auto& t : tilfeller) {
    std::string navn;
    for (const std::string& a : t.argumenter) navn += "'" + a + "' ";
    EXPECT_EQ(TrengerSkrift(t.argumenter), t.skrift) << navn;
  }
}

namespace {

// A command that throws what it is given.
class TKaster : public TKommando {
 public:
  explicit TKaster(std::function<void()> kast) : kast_(std::move(kast)) {}
  std::string_view Navn() const override { return "kast"; }
  std::string_view Omtale() const override { return "kaster"; }
  int AntallFrie() const override { return 0; }
  int Kjor(const TKontekst& k, const TArgumenter&) const override {
    std::fputs("før\n", k.ut);
    kast_();
    return 0;
  }

 private:
  std::function<void()> kast_;
};

}  // namespace

TEST(KjorKommando, FeilSomKastesBlirEnLinje) {
  const struct {
    const char* navn;
    std::function<void()> kast;
    int kode;
    const char* feil;
  } tilfeller[] = {
      {"ingenting", [] {}, 0, ""},
      {"IoFeil", [] { throw IoFeil("Kan ikke skrive fila x: Disken er full"); }, 1,
       "Kan ikke skrive fila x: Disken er full\n"},
      {"minne", [] { throw std::bad_alloc(); }, 1,
       "Det er ikke nok minne til dette. Lukk andre programmer og prøv igjen.\n"},
      {"annet", [] { throw std::runtime_error("noe gikk galt"); }, 1,
       "Uventet feil (noe gikk galt). Ingen filer er endret; prøv igjen.\n"},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(t.navn);
    Minnestrom ut, feil;
    TKontekst k;
    k.ut = ut.Fil();
    k.feil = feil.Fil();
    EXPECT_EQ(KjorKommando(TKaster(t.kast), k, {}), t.kode);
    EXPECT_EQ(ut.Tekst(), "før\n");
    EXPECT_EQ(feil.Tekst(), t.feil);
  }
  // Wrong use never reaches the run.
  Minnestrom ut, feil;
  TKontekst k;
  k.ut = ut.Fil();
  k.feil = feil.Fil();
  EXPECT_EQ(KjorKommando(TKaster([] { throw std::runtime_error("kjørt"); }), k, {"x"}), 2);
  EXPECT_EQ(ut.Tekst(), "");
  EXPECT_EQ(feil.Tekst(), "Bruk: hornstad-cli kast\n");
}

TEST_F(KommandoTest, StatusViserDeForsteTi) {
  for (const int antall : {3, 12}) {
    SCOPED_TRACE(antall);
    std::vector<TVerPost> rammer;
    for (int i = 0; i < antall; ++i) rammer.push_back(Ver(1100001 + i, "NAVN"));
    SkrivVerFil(mappe / VerFilNavn, rammer);
    const Kjoring k = Verktoy(Med({"status", "overses"}));
    EXPECT_EQ(k.kode, 0);
    EXPECT_EQ(k.feil, "");
    const std::string hode = "Datamappe: " + mappe.Sti().string() + "\n" + std::to_string(antall) + " værer\n";
    ASSERT_EQ(k.ut.substr(0, hode.size()), hode);
    const std::string rest = k.ut.substr(hode.size());
    EXPECT_EQ(std::count(rest.begin(), rest.end(), '\n'), std::min(antall, 10) + (antall > 10 ? 1 : 0)) << rest;
    EXPECT_EQ(rest.rfind("  1100001  Navn ", 0), 0u) << rest;
    EXPECT_EQ(rest.ends_with("...\n"), antall > 10) << rest;
  }
}

// The bar is drawn only on a terminal, once per per cent, and its line ends
// when it goes.
TEST(Fremdriftslinje, BareIEnTerminal) {
  Minnestrom fil;
  TKontekst k;
  k.feil = fil.Fil();
  {
    TFremdriftslinje linje(k, "Leser");
    EXPECT_TRUE(linje(50, 100));
  }
  EXPECT_EQ(fil.Tekst(), "");

  int hoved = -1, terminal = -1;
  ASSERT_EQ(::openpty(&hoved, &terminal, nullptr, nullptr, nullptr), 0);
  termios t{};
  ::tcgetattr(terminal, &t);
  ::cfmakeraw(&t);
  ::tcsetattr(terminal, TCSANOW, &t);
  std::FILE* strom = ::fdopen(terminal, "w");
  k.feil = strom;
  {
    TFremdriftslinje linje(k, "Leser");
    for (const int64_t gjort : {0, 1, 100, 101, 200}) EXPECT_TRUE(linje(gjort, 200));
  }
  std::fclose(strom);
  std::string lest;
  char buf[512];
  for (ssize_t n; (n = ::read(hoved, buf, sizeof buf)) > 0;) lest.append(buf, static_cast<std::size_t>(n));
  ::close(hoved);
  const auto bar = [](int prosent) {
    const int fylt = prosent * 40 / 100;
    char tall[8];
    std::snprintf(tall, sizeof tall, "%3d", prosent);
    return "\rLeser [" + std::string(fylt, '#') + std::string(40 - fylt, '.') + "] " + tall + " %";
  };
  EXPECT_EQ(lest, bar(0) + bar(50) + bar(100) + "\n");
}

// A fetch that fails says so in one line; Ctrl+C is its own only while it runs.
TEST_F(KommandoTest, HentGirTilbakeSignalene) {
  struct sigaction foerInt {
  }, foerTerm{};
  sigaction(SIGINT, nullptr, &foerInt);
  sigaction(SIGTERM, nullptr, &foerTerm);
  const Kjoring k = Verktoy(Med({"hent", "--adresse", "http://127.0.0.1:1/x.zip"}));
  EXPECT_EQ(k.kode, 1);
  EXPECT_EQ(k.feil.rfind("Kunne ikke hente http://127.0.0.1:1/x.zip: ", 0), 0u) << k.feil;
  EXPECT_TRUE(k.feil.ends_with(" Værregisteret er uendret.\n")) << k.feil;
  EXPECT_EQ(std::count(k.feil.begin(), k.feil.end(), '\n'), 1) << k.feil;
  struct sigaction etter {};
  sigaction(SIGINT, nullptr, &etter);
  EXPECT_EQ(etter.sa_handler, foerInt.sa_handler);
  sigaction(SIGTERM, nullptr, &etter);
  EXPECT_EQ(etter.sa_handler, foerTerm.sa_handler);
}
